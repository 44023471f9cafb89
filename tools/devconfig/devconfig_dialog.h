#pragma once
// The one dialog of the device configuration program, "devconfig v1.0": a screen list and
// a keyboard list, each with its "Change" button, "Info" and "Exit". The buttons only set a
// command word; the program's loop acts on it between pumps.
#include "ui/dialog_template.h"

namespace corvan {
class Clock;
class RegistryStore;
namespace ui {
class Screen;
}
}  // namespace corvan

namespace corvan::devconfig {

inline constexpr int kScreenListId = 101;
inline constexpr int kScreenChangeId = 102;
inline constexpr int kKeyboardListId = 111;
inline constexpr int kKeyboardChangeId = 112;
inline constexpr int kInfoId = 121;
inline constexpr int kExitId = 122;

ui::DialogTemplate devconfigTemplate();

// Shows the dialog and runs it until "Exit" or the close box.
void runDevconfig(ui::Screen& screen, Clock& clock, RegistryStore& store);

}  // namespace corvan::devconfig
