#pragma once
// What the shell works with: the screens, the clock, the device file system and the starting
// of other programs. The program wires the real ones; tests wire the headless screen, the
// virtual clock and a starter that records what it is asked to start.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {
class Clock;
class DeviceRoot;
class ProcessStarter;
namespace ui {
class Screen;
}
}  // namespace corvan

namespace corvan::shell {

// The full path of an executable found on the search path; empty when there is none.
std::string searchPath(std::string_view name);

// Device programs that have no file in the installation but a counterpart on this host.
struct HostPrograms {
    std::function<std::string(std::string_view)> findOnPath = searchPath;
    // "\Windows\iexplore.exe": the desktop's default opener of documents.
    std::string browser = "xdg-open";
    // "Calibrate.exe" when the flash folder lacks it: a touch-screen calibration program.
    std::string calibration = "xinput_calibrator";
};

struct ShellHost {
    ui::Screen* screen = nullptr;
    Clock* clock = nullptr;
    const DeviceRoot* root = nullptr;
    ProcessStarter* starter = nullptr;
    HostPrograms programs;
    // Host options put before the command line when the engine is started (the device root,
    // and in scripted runs the engine's own script); the command line itself stays one word.
    std::vector<std::string> engineOptions;
    // Host options of the utilities of the installation (the box test program and the
    // device configuration): the device root; their command line stays empty.
    std::vector<std::string> utilityOptions;
    // Version text of the installation shown in the About box.
    std::string installedVersion;
};

}  // namespace corvan::shell
