#pragma once
// One control of a dialog template, as the coding modules lay out their screens.
#include <string>
#include <utility>

#include "ui/dialog_template.h"

namespace corvan::coding {

inline ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string text = {}) {
    return ui::makeControl(id, kind, rect, std::move(text));
}

// The technician's entries of the key coding: the PIN (a secret field: it shows one '*' per
// character) and the number of keys (digits only).
inline ui::ControlSpec pinField(int id, ui::Rect rect) {
    ui::ControlSpec c = control(id, ui::ControlKind::Edit, rect);
    c.secret = true;
    return c;
}
inline ui::ControlSpec keysField(int id, ui::Rect rect) {
    ui::ControlSpec c = control(id, ui::ControlKind::Edit, rect);
    c.digitsOnly = true;
    return c;
}

}  // namespace corvan::coding
