#pragma once
// The screen of a device tool: Qt windows when a display is there (or with --qt, then
// offscreen), the headless screen otherwise (or with --headless), worked by a technician
// script when one is given. The headless screen runs on the virtual clock unless the tool
// talks to real hardware.
//
//     ToolScreenOptions options;
//     addToolScreenOptions(app, options);
//     return runOnScreen(argc, argv, "devconfig", options, root, false,
//                        [&](ui::Screen& screen, Clock& clock) { ...; return 0; });
#include <filesystem>
#include <functional>
#include <string>

namespace CLI {
class App;
}

namespace corvan {
class Clock;
class DeviceRoot;
namespace ui {
class Screen;
}
}  // namespace corvan

namespace corvan::tools {

struct ToolScreenOptions {
    bool headless = false;
    bool qt = false;
    int scale = 0;                      // Qt: device pixels x N; 0 automatic
    std::filesystem::path technician;   // script working the screens
    std::filesystem::path screens;      // screen dump of a headless or scripted run
    std::filesystem::path screenshots;  // Qt: a PNG of every screen
};

void addToolScreenOptions(CLI::App& app, ToolScreenOptions& options);

using ToolBody = std::function<int(ui::Screen& screen, Clock& clock)>;

// Runs `body` on the chosen screen and returns its status; 2 when the options cannot be
// served (an unreadable or bad script, a dump that cannot be written, no Qt in this build).
// `realTime`: the headless screen waits in real time too (a real serial port). Problems of a
// script run go to standard error, prefixed with `program`.
int runOnScreen(int& argc, char** argv, const std::string& program,
                const ToolScreenOptions& options, const DeviceRoot& root, bool realTime,
                const ToolBody& body);

}  // namespace corvan::tools
