// launcher: the start-up loader. Shows "Cargando CORVANDATA ..." until the shell's program
// file "\STORAGE CARD\CORVANDATA\ECORVANDATA.EXE" can be reached, starts it and ends.
//
//   launcher [--root DIR] [--headless | --qt] [--screens FILE]
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <memory>

#include "platform/clock.h"
#include "platform/command_line_exit.h"
#include "platform/default_root.h"
#include "platform/device_root.h"
#include "platform/process.h"
#include "tools/launcher/loader.h"
#include "tools/launcher/shell_wait.h"
#include "ui/headless_screen.h"

#ifdef CORVAN_WITH_QT
#include "ui/qt/qt_front_end.h"
#endif

int main(int argc, char** argv) {
    using namespace corvan;
    CLI::App app{"The start-up loader: waits for the storage card, then starts the shell"};
    std::filesystem::path root = defaultDeviceRoot(), screens;
    bool headless = false, qt = false;
    app.add_option("--root", root, "Device root (default: this build's sample installation)");
    app.add_flag("--headless", headless, "No window: the headless screen");
    app.add_flag("--qt", qt, "The Qt window even without a display (offscreen)");
    app.add_option("--screens", screens, "Screen dump of a headless run");
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    const DeviceRoot deviceRoot(std::filesystem::absolute(root));
    PosixProcessStarter starter;
    RealClock dialogClock, workerClock;
    launcher::LoaderHost host;
    host.dialogClock = &dialogClock;
    host.workerClock = &workerClock;
    host.starter = &starter;
    host.probe = [&deviceRoot] { return launcher::probeShell(deviceRoot); };
    host.shellProgram = [&deviceRoot] { return launcher::shellFile(deviceRoot).string(); };
    // No command line; the device root is this host's own option.
    host.shellOptions = {"--root", deviceRoot.hostRoot().string()};

#ifdef CORVAN_WITH_QT
    if (!headless && screens.empty() && (qt || ui::qt::displayAvailable())) {
        ui::qt::QtFrontEndOptions options;
        options.offscreen = !ui::qt::displayAvailable();
        ui::qt::QtFrontEnd front(argc, argv, std::move(options));
        host.screen = &front.screen();
        return launcher::runLoader(host) ? 0 : 1;
    }
#else
    (void)qt, (void)headless;
#endif
    ui::HeadlessScreen screen;
    std::ofstream dump;
    if (!screens.empty()) {
        dump.open(screens, std::ios::binary);
        screen.setDumpStream(dump);
    }
    host.screen = &screen;
    return launcher::runLoader(host) ? 0 : 1;
}
