#pragma once
// How the program runs the shell: on the headless screen (scripts, dumps; the virtual clock
// for its idle waits) or in Qt windows (a person, or a script; the real clock).
#include <filesystem>
#include <optional>
#include <string>

#include "ui/technician_script.h"

namespace corvan {
class DeviceRoot;
}

namespace corvan::shell {

struct ShellHost;

struct RunOptions {
    std::optional<ui::TechnicianScript> script;
    std::filesystem::path screens;      // the screen dump of a scripted or headless run
    std::filesystem::path screenshots;  // Qt: a PNG per screen shown
    int scale = 0;                      // Qt: device pixels x N; 0 automatic
};

// Both return the program's exit status; problems of a script run go to standard error.
int runHeadless(ShellHost& host, const RunOptions& options);
int runWithQt(int& argc, char** argv, ShellHost& host, const RunOptions& options);

// Whether Qt can show windows here (a display, or a platform other than offscreen).
bool qtDisplayAvailable();
bool qtBuilt();

// The installed version shown in the About box: the first line of "Datos\Version.txt" in
// the data folder, "-" without one.
std::string installedVersion(const DeviceRoot& root);

}  // namespace corvan::shell
