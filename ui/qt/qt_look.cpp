#include "ui/qt/qt_look.h"

#include <QFontDatabase>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>
#include <algorithm>

namespace corvan::ui::qt {

namespace {

const QString kDeviceFamily = QStringLiteral("Tahoma");

class ScaledStyle : public QProxyStyle {
  public:
    ScaledStyle(QStyle* base, int scale) : QProxyStyle(base), scale_(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        // Negative values mean "use the default" and must stay as they are.
        return value > 0 ? value * scale_ : value;
    }

  private:
    int scale_;
};

}  // namespace

const QStringList& deviceFontFallbacks() {
    // Narrow sans-serifs first: the device font is narrower than the common wide ones, and
    // column texts were fitted to its widths.
    static const QStringList fallbacks{
        QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")};
    return fallbacks;
}

void installFontSubstitutions() {
    if (QFontDatabase::hasFamily(kDeviceFamily) || !QFont::substitutes(kDeviceFamily).isEmpty())
        return;
    QFont::insertSubstitutions(kDeviceFamily, deviceFontFallbacks());
}

QFont deviceFont(const FontSpec& spec, int scale) {
    const QString family =
        spec.family.empty() ? kDeviceFamily : QString::fromStdString(spec.family);
    QFont font(family);
    // QFont::setFamily alone leaves the choice of a stand-in to fontconfig; listing the
    // fallbacks pins it, so screens and screenshots look the same on every host.
    QStringList families{family};
    if (family.compare(kDeviceFamily, Qt::CaseInsensitive) == 0 &&
        !QFontDatabase::hasFamily(kDeviceFamily))
        families += deviceFontFallbacks();
    else
        families += QFont::substitutes(family);
    font.setFamilies(families);
    font.setPixelSize(std::max(
        1, (spec.pixelHeight > 0 ? spec.pixelHeight : kSystemFontPixels) * std::max(1, scale)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 100, 900)));
    font.setItalic(spec.italic);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int automaticScale(QSize available) {
    const int fit = std::min(available.width() / 320, available.height() / 240);
    // One step of margin so the window, its frame and the desktop's panels still fit.
    return std::clamp(fit - 1, 1, 4);
}

QStyle* createScaledStyle(int scale, const QString& baseStyle) {
    QStyle* base = nullptr;
    if (!baseStyle.isEmpty()) base = QStyleFactory::create(baseStyle);
    if (!base) base = QStyleFactory::create(QStringLiteral("Windows"));
    if (!base) base = QStyleFactory::create(QStringLiteral("Fusion"));
    return new ScaledStyle(base, std::max(1, scale));
}

}  // namespace corvan::ui::qt
