#pragma once
// One control of a VAG function's window template.
#include <string>

#include "ui/dialog_template.h"

namespace corvan::vagkline {

inline ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string text = {}) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::move(text);
    return c;
}

}  // namespace corvan::vagkline
