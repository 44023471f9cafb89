#include "ui/qt/qt_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QValidator>
#include <algorithm>

#include "ui/qt/qt_graph.h"
#include "ui/qt/qt_list_view.h"
#include "ui/qt/qt_look.h"

namespace corvan::ui::qt {

namespace {

// Edit fields that take digits only or turn letters to capitals as they are typed; the
// device's edit styles do both while the technician types, not afterwards.
class EditValidator : public QValidator {
  public:
    EditValidator(bool digitsOnly, bool upperCase, QObject* parent)
        : QValidator(parent), digitsOnly_(digitsOnly), upperCase_(upperCase) {}

    State validate(QString& input, int&) const override {
        if (upperCase_) input = input.toUpper();
        if (digitsOnly_ &&
            std::any_of(input.begin(), input.end(), [](QChar c) { return !c.isDigit(); }))
            return Invalid;
        return Acceptable;
    }

  private:
    bool digitsOnly_, upperCase_;
};

QRect scaled(const Rect& r, int s) {
    return QRect(r.x * s, r.y * s, r.w * s, r.h * s);
}

QWidget* createEdit(const ControlSpec& spec, QWidget* parent) {
    if (spec.multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(spec.readOnly);
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(spec.readOnly);
    if (spec.maxLength > 0) edit->setMaxLength(spec.maxLength);
    if (spec.digitsOnly || spec.upperCase)
        edit->setValidator(new EditValidator(spec.digitsOnly, spec.upperCase, edit));
    return edit;
}

QWidget* createButton(const ControlSpec& spec, const ControlContext& ctx) {
    auto* button = new QPushButton(QString::fromStdString(spec.text), ctx.parent);
    button->setAutoDefault(false);
    if (!spec.bitmap.empty()) {
        const QString file =
            ctx.bitmapFile ? ctx.bitmapFile(spec.bitmap) : QString::fromStdString(spec.bitmap);
        const QPixmap picture = loadPicture(file, ctx.scale);
        if (!picture.isNull()) {
            button->setIcon(QIcon(picture));
            button->setIconSize(picture.size());
        } else if (spec.text.empty()) {
            button->setText(QString::fromStdString(spec.toolTip));
        }
        button->setProperty("bitmap", file);
    }
    button->setToolTip(QString::fromStdString(spec.toolTip));
    return button;
}

QWidget* createWidget(const ControlSpec& spec, const ControlContext& ctx) {
    const QString text = QString::fromStdString(spec.text);
    switch (spec.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, ctx.parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Button:
            return createButton(spec, ctx);
        case ControlKind::Edit:
            return createEdit(spec, ctx.parent);
        case ControlKind::CheckBox:
            return new QCheckBox(text, ctx.parent);
        case ControlKind::Radio:
            return new QRadioButton(text, ctx.parent);
        case ControlKind::ComboBox:
            return new QComboBox(ctx.parent);
        case ControlKind::ListView:
            return createListView(spec, ctx.scale, ctx.parent);
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(ctx.parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(ctx.parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return picture;
        }
        case ControlKind::Graph:
            return new GraphWidget(ctx.scale, ctx.parent);
    }
    return new QWidget(ctx.parent);
}

}  // namespace

QWidget* createControl(const ControlSpec& spec, const ControlContext& ctx) {
    QWidget* widget = createWidget(spec, ctx);
    widget->setObjectName(QString::number(spec.id));
    if (spec.kind != ControlKind::ListView) widget->setFont(deviceFont(spec.font, ctx.scale));
    QRect area = scaled(spec.rect, ctx.scale);
    // A drop-down's template height includes its open list; closed it is one line high.
    if (spec.kind == ControlKind::ComboBox)
        area.setHeight(std::min(area.height(), widget->sizeHint().height()));
    widget->setGeometry(area);
    if (!spec.visible) widget->hide();
    return widget;
}

bool kindHasText(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::Edit:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::ComboBox:
            return true;
        default:
            return false;
    }
}

void setControlText(QWidget* widget, ControlKind kind, const QString& text) {
    switch (kind) {
        case ControlKind::Label:
            static_cast<QLabel*>(widget)->setText(text);
            break;
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            static_cast<QAbstractButton*>(widget)->setText(text);
            break;
        case ControlKind::Edit:
            if (auto* line = qobject_cast<QLineEdit*>(widget))
                line->setText(text);
            else if (auto* area = qobject_cast<QPlainTextEdit*>(widget))
                area->setPlainText(text);
            break;
        case ControlKind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(widget);
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
            break;
        }
        default:
            break;
    }
}

QString controlText(const QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return static_cast<const QLabel*>(widget)->text();
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            return static_cast<const QAbstractButton*>(widget)->text();
        case ControlKind::Edit:
            if (auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
            if (auto* area = qobject_cast<const QPlainTextEdit*>(widget))
                return area->toPlainText();
            return {};
        case ControlKind::ComboBox:
            return static_cast<const QComboBox*>(widget)->currentText();
        default:
            return {};
    }
}

QPixmap loadPicture(const QString& file, int scale) {
    QImage image(file);
    if (image.isNull()) return {};
    if (scale > 1)
        image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return QPixmap::fromImage(image);
}

}  // namespace corvan::ui::qt
