#include "ui/qt/qt_screenshots.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <system_error>

#include "ui/qt/qt_look.h"

namespace corvan::ui::qt {

std::string fileSlug(const std::string& text) {
    std::string slug;
    bool gap = false;
    for (unsigned char c : text) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool upper = c >= 'A' && c <= 'Z';
        if (keep || upper) {
            if (gap && !slug.empty()) slug += '-';
            slug += upper ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
            gap = false;
        } else {
            gap = true;
        }
        if (slug.size() >= 40) break;
    }
    return slug.empty() ? std::string("screen") : slug;
}

namespace {

// The caption bar of a window on the device: title left, close box right.
void paintCaption(QPainter& p, const QRect& bar, const QString& title, int scale) {
    p.fillRect(bar, QColor(0, 0, 128));
    FontSpec spec;
    spec.weight = 700;
    p.setFont(deviceFont(spec, scale));
    p.setPen(Qt::white);
    const int pad = 3 * scale;
    const int box = bar.height() - 2 * pad;
    const QRect closeBox(bar.right() - pad - box, bar.top() + pad, box, box);
    p.drawText(bar.adjusted(pad, 0, -(box + 2 * pad), 0), Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(title, Qt::ElideRight, bar.width() - box - 3 * pad));
    p.fillRect(closeBox, QColor(192, 192, 192));
    p.setPen(QPen(Qt::black, scale));
    const int inset = box / 4;
    p.drawLine(closeBox.topLeft() + QPoint(inset, inset),
               closeBox.bottomRight() - QPoint(inset, inset));
    p.drawLine(closeBox.topRight() + QPoint(-inset, inset),
               closeBox.bottomLeft() + QPoint(inset, -inset));
}

}  // namespace

std::filesystem::path ScreenshotWriter::save(QWidget* window, const std::string& subject,
                                             const std::string& event, const QString& title,
                                             bool caption, int scale) {
    if (!enabled() || !window) return {};
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (ec) return {};

    // On a high-density display the grab holds more pixels than the widget has points; the
    // picture keeps every pixel and the caption grows to match.
    QPixmap body = window->grab();
    scale = std::max(1, qRound(scale * body.devicePixelRatio()));
    body.setDevicePixelRatio(1.0);
    const int bar = caption ? kCaptionPixels * scale : 0;
    QImage picture(body.width(), body.height() + bar, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        if (caption) paintCaption(p, QRect(0, 0, body.width(), bar), title, scale);
        p.drawPixmap(0, bar, body);
    }

    char number[16];
    std::snprintf(number, sizeof number, "%04d", ++sequence_);
    const auto file = dir_ / (std::string(number) + "-" + fileSlug(subject) + "-" + event + ".png");
    if (!picture.save(QString::fromStdString(file.string()), "PNG")) return {};
    return file;
}

}  // namespace corvan::ui::qt
