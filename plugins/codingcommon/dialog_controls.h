#pragma once
// One control of a dialog template, as the coding modules lay out their screens.
#include <string>
#include <utility>

#include "ui/dialog_template.h"

namespace corvan::coding {

inline ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string text = {}) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::move(text);
    return c;
}

}  // namespace corvan::coding
