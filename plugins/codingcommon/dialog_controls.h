#pragma once
// The entry fields the key coding modules share.
#include "ui/dialog_template.h"

namespace corvan::coding {

// The technician's entries of the key coding: the PIN (a secret field: it shows one '*' per
// character) and the number of keys (digits only).
inline ui::ControlSpec pinField(int id, ui::Rect rect) {
    ui::ControlSpec c = ui::makeControl(id, ui::ControlKind::Edit, rect);
    c.secret = true;
    return c;
}
inline ui::ControlSpec keysField(int id, ui::Rect rect) {
    ui::ControlSpec c = ui::makeControl(id, ui::ControlKind::Edit, rect);
    c.digitsOnly = true;
    return c;
}

}  // namespace corvan::coding
