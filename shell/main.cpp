// eCorvanData: the navigation shell. Shows the picture menus of the installation and starts
// the engine for the chosen variant.
//
//   eCorvanData [--root DIR] [--headless | --qt] [--technician FILE] [--screens FILE]
//               [--screenshots DIR] [--scale N] [--engine-options TEXT]
//
// See docs/shell.md.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>

#include "platform/command_line_exit.h"
#include "platform/default_root.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/process.h"
#include "shell/shell_host.h"
#include "shell/shell_run.h"

int main(int argc, char** argv) {
    using namespace corvan;
    CLI::App app{"eCorvanData: picture menus of the installation; starts the engine"};
    std::filesystem::path root = defaultDeviceRoot(), technician, screens, screenshots;
    std::string engineOptions, utilityOptions;
    int scale = 0;
    bool headless = false, qt = false;
    app.add_option("--root", root, "Device root (default: this build's sample installation)");
    app.add_flag("--headless", headless, "No window: the headless screen");
    app.add_flag("--qt", qt, "Qt windows even without a display (offscreen)");
    app.add_option("--technician", technician, "Technician script working the screens");
    app.add_option("--screens", screens, "Screen dump of a headless or scripted run");
    app.add_option("--screenshots", screenshots, "Qt: a PNG of every screen into this folder");
    app.add_option("--scale", scale, "Qt: device pixels x N (0: automatic)")
        ->check(CLI::Range(0, 8));
    app.add_option("--engine-options", engineOptions,
                   "Options put before the engine's command line (blanks separate words)");
    app.add_option("--utility-options", utilityOptions,
                   "Options put before the utilities' empty command line (blanks separate words)");
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;
    if (headless && qt) {
        std::fprintf(stderr, "eCorvanData: --headless and --qt exclude each other\n");
        return 1;
    }

    shell::RunOptions options;
    options.screens = screens;
    options.screenshots = screenshots;
    options.scale = scale;
    if (!technician.empty()) {
        const auto text = readWholeFile(technician);
        if (!text) {
            std::fprintf(stderr, "eCorvanData: cannot read %s\n", technician.c_str());
            return 1;
        }
        auto parsed = ui::parseTechnicianScript(*text);
        if (!parsed.ok()) {
            std::fprintf(stderr, "eCorvanData: %s: %s\n", technician.c_str(), parsed.error.c_str());
            return 1;
        }
        options.script = std::move(parsed.script);
    }

    const DeviceRoot deviceRoot(std::filesystem::absolute(root));
    PosixProcessStarter starter;
    shell::ShellHost host;
    host.root = &deviceRoot;
    host.starter = &starter;
    // The engine works on the same device root as the shell.
    host.engineOptions = {"--root", deviceRoot.hostRoot().string()};
    host.utilityOptions = {"--root", deviceRoot.hostRoot().string()};
    // The engine's and the utilities' windows take the shell's scale, so all look alike on
    // the same screen.
    if (scale > 0) {
        for (auto* options : {&host.engineOptions, &host.utilityOptions}) {
            options->push_back("--scale");
            options->push_back(std::to_string(scale));
        }
    }
    for (std::string& word : splitCommandLine(engineOptions))
        host.engineOptions.push_back(std::move(word));
    for (std::string& word : splitCommandLine(utilityOptions))
        host.utilityOptions.push_back(std::move(word));
    host.installedVersion = shell::installedVersion(deviceRoot);

    const bool scripted = options.script || !screens.empty();
    const bool useQt =
        !headless && shell::qtBuilt() && (qt || (!scripted && shell::qtDisplayAvailable()));
    if (useQt) return shell::runWithQt(argc, argv, host, options);
    return shell::runHeadless(host, options);
}
