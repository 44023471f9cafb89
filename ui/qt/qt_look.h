#pragma once
// How the device's screens look on a Qt display: the device fonts with their fallbacks,
// the integer scale of a desktop screen and a style whose metrics grow with that scale.
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

#include "ui/dialog_template.h"

class QStyle;

namespace corvan::ui::qt {

// Installed families that stand in for "Tahoma", best first.
const QStringList& deviceFontFallbacks();

// The device draws its screens in "Tahoma"; hosts without it get the closest installed
// sans-serif of similar width. Safe to call more than once.
void installFontSubstitutions();

// Qt font for a control's font description at a scale. An empty family is the device's system
// font, itself "Tahoma"; a zero pixel height its default size.
QFont deviceFont(const FontSpec& spec, int scale);

// Pixel height of the device's system font.
constexpr int kSystemFontPixels = 12;

// The integer scale for a screen with this much room: 1 up to VGA, then as large as fits
// with a margin, at most 4.
int automaticScale(QSize available);

// A style (the classic Windows look when the host has it, else Fusion) whose sizes - check
// marks, scroll bars, frames, icons - are multiplied by the scale, so a scaled screen keeps
// the proportions of the device. The caller owns the result (QApplication::setStyle takes it).
QStyle* createScaledStyle(int scale, const QString& baseStyle = {});

}  // namespace corvan::ui::qt
