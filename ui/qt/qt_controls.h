#pragma once
// One Qt widget per control of a dialog template, placed from the template's layout hints
// (device pixels times the scale), and the text of each kind read and written one way.
#include <QPixmap>
#include <QString>
#include <functional>

#include "ui/dialog_template.h"

class QWidget;

namespace corvan::ui::qt {

struct ControlContext {
    QWidget* parent = nullptr;
    int scale = 1;
    // Host file of a bitmap named in a template (a device path); unset: the name is a host path.
    std::function<QString(const std::string&)> bitmapFile;
};

// The widget for `spec`, a child of ctx.parent, object name = the control id in decimal.
QWidget* createControl(const ControlSpec& spec, const ControlContext& ctx);

// Text of label, button, check box, radio choice, edit field and drop-down (its current
// item); other kinds have none and ignore it.
void setControlText(QWidget* widget, ControlKind kind, const QString& text);
QString controlText(const QWidget* widget, ControlKind kind);
bool kindHasText(ControlKind kind);

// A BMP (or any image Qt reads) enlarged by the scale with hard pixel edges, as the device's
// pictures are pixel art; null when the file cannot be read.
QPixmap loadPicture(const QString& file, int scale);

}  // namespace corvan::ui::qt
