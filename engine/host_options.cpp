#include "engine/host_options.h"

#include <CLI/CLI.hpp>

#include "platform/device_root.h"
#include "platform/text_codec.h"

#ifndef CORVAN_DEFAULT_ROOT
#define CORVAN_DEFAULT_ROOT "sample-root"
#endif

namespace corvan::engine {

std::filesystem::path defaultRoot() {
    return CORVAN_DEFAULT_ROOT;
}

void addHostOptions(CLI::App& app, HostOptions& o) {
    app.add_option("--root", o.root, "Device root folder (default: the built sample installation)");
    app.add_option("--technician", o.technician, "Technician script for a headless run");
    app.add_option("--trace", o.trace, "Write the wire trace to this file");
    app.add_option("--screens", o.screens, "Write the screen dump to this file (headless)");
    app.add_option("--sim", o.sim, "Use the simulated box with this scenario file");
    app.add_option("--port", o.port, "Use this serial device instead of PORT= of iCor.cfg");
    app.add_flag("--real-time", o.realTime, "Run the simulated box in real time");
    app.add_flag("--pacing", o.pacing, "The simulated box's bytes take their time at 9600 baud");
}

std::optional<PortChoice> choosePort(const HostOptions& o, const InstallConfig& config,
                                     std::string* error) {
    PortChoice choice;
    if (!o.sim.empty()) {
        choice.scenarioFile = o.sim;
    } else if (!o.port.empty()) {
        choice.device = o.port;
    } else if (equalsIgnoreCase(config.port, kSimulatorPort)) {
        const DeviceRoot root(o.root);
        choice.scenarioFile = root.toHost(installFile(config.installPath, "SIM\\vehicle.json"));
    } else if (!config.port.empty()) {
        choice.device = config.port;
    } else {
        if (error)
            *error = "no port: PORT= of iCor.cfg is empty and neither --port nor --sim is given";
        return std::nullopt;
    }
    return choice;
}

std::optional<HostSetup> hostSetup(const HostOptions& o, const InstallConfig& config,
                                   std::string* error) {
    auto port = choosePort(o, config, error);
    if (!port) return std::nullopt;
    HostSetup setup;
    setup.root = o.root;
    setup.installPath = config.installPath;
    setup.port = std::move(*port);
    setup.technicianScript = o.technician;
    setup.traceFile = o.trace;
    setup.screensFile = o.screens;
    setup.realTime = o.realTime;
    setup.pacing = o.pacing;
    return setup;
}

}  // namespace corvan::engine
