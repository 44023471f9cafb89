#include "engine/host_options.h"

#include <CLI/CLI.hpp>

#include "platform/default_root.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/port_names.h"
#include "platform/text_codec.h"
#include "ui/technician_script.h"

namespace corvan::engine {

std::filesystem::path defaultRoot() {
    return defaultDeviceRoot();
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

std::optional<PortChoice> choosePort(const HostOptions& o, const InstallConfig& config, bool demo,
                                     std::string* error) {
    PortChoice choice;
    auto device = [&](const std::string& setting) {
        const HostPort port = hostPortFor(setting, config.text);
        choice.setting = port.setting;
        choice.device = port.device;
        if (choice.device.empty()) choice.unmapped = true;
    };
    if (demo) {
        choice.none = true;
    } else if (!o.sim.empty()) {
        choice.scenarioFile = o.sim;
    } else if (!o.port.empty()) {
        device(o.port);
    } else if (equalsIgnoreCase(config.port, kSimulatorPort)) {
        const DeviceRoot root(o.root);
        choice.scenarioFile = root.toHost(installFile(config.installPath, "SIM\\vehicle.json"));
    } else if (!config.port.empty()) {
        device(config.port);
    } else {
        if (error)
            *error = "no port: PORT= of iCor.cfg is empty and neither --port nor --sim is given";
        return std::nullopt;
    }
    return choice;
}

std::optional<HostSetup> hostSetup(const HostOptions& o, const InstallConfig& config, bool demo,
                                   std::string* error) {
    auto port = choosePort(o, config, demo, error);
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

namespace corvan::engine {

bool checkTechnicianScript(const std::filesystem::path& file, std::string* error) {
    if (file.empty()) return true;
    const auto text = readWholeFile(file);
    if (!text) {
        if (error) *error = "cannot read the technician script " + file.string();
        return false;
    }
    const auto parsed = ui::parseTechnicianScript(*text);
    if (!parsed.ok()) {
        if (error) *error = "technician script " + file.string() + ": " + parsed.error;
        return false;
    }
    return true;
}

}  // namespace corvan::engine
