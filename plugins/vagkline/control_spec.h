#pragma once
// One control of a VAG function's window template.
#include <string>
#include <utility>

#include "ui/dialog_template.h"

namespace corvan::vagkline {

inline ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string text = {}) {
    return ui::makeControl(id, kind, rect, std::move(text));
}

}  // namespace corvan::vagkline
