#pragma once
// The shell's small windows: the modal loop they share, the connection picture window of
// the system page, the About box, and the full-screen picture behind which the shell waits
// while the engine runs.
#include <memory>
#include <string>

#include "ui/screen.h"

namespace corvan::shell {

struct ShellHost;
struct ShellSettings;

// Pumps until a handler of `dialog` sets a command word, and returns it (cleared). An idle
// pump rests 1 ms on the host's clock.
std::string runModal(ShellHost& host, ui::Dialog& dialog);

// The connection picture ("Imagenes\Conexiones\" + name + ".bmp") centred at the top of the
// frame, with an "OK" button.
void showConnectionPicture(ShellHost& host, const ShellSettings& settings,
                           const std::string& pictureName);

// Program icon, name and version, and the installed version in the language.
void showAboutBox(ShellHost& host, const ShellSettings& settings);

// A borderless window covering the frame, showing "Imagenes\Fondo-KELM_ZUL.bmp".
std::unique_ptr<ui::Dialog> showBackground(ShellHost& host, const ShellSettings& settings);

// The program's own name and version line of the About box.
std::string programVersionLine();

}  // namespace corvan::shell
