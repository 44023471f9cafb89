// Test_KELM_ZUL: the box service program. Reads "PORT=" from the iCor.cfg beside the program
// and offers the service commands for the Varbox and the Bluetooth link.
//
//   Test_KELM_ZUL [--root DIR] [--program DEVICEPATH] [--port DEVICE] [--sim FILE]
//                 [--pacing] [--real-time] [--headless | --qt] [--technician FILE]
//                 [--screens FILE] [--screenshots DIR] [--scale N]
//
// See docs/device-tools.md.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/command_line_exit.h"
#include "platform/default_root.h"
#include "platform/config_text.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "sim/scenario_loader.h"
#include "tools/boxservice/service_app.h"
#include "tools/boxservice/service_ports.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_setup.h"
#include "tools/toolfront/tool_front.h"

namespace {

// Where the running program lies on the device: its own file when it lies in the device
// root (as the shell starts it), else where the installation keeps it.
std::string programDevicePath(const corvan::DeviceRoot& root) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string inside = ec ? std::string() : root.toDevice(self);
    return inside.empty() ? corvan::boxservice::ServiceHost{}.programPath : inside;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvan;
    CLI::App app{"Test_KELM_ZUL: service commands for the Varbox and the Bluetooth link"};
    std::filesystem::path root = corvan::defaultDeviceRoot(), scenarioFile;
    std::string program, port;
    bool pacing = false, realTime = false;
    tools::ToolScreenOptions screen;
    app.add_option("--root", root, "Device root (default: this build's sample installation)");
    app.add_option("--program", program,
                   "The program's device path (its folder holds iCor.cfg; default: its own file)");
    app.add_option("--port", port, "This serial device instead of PORT= of iCor.cfg");
    app.add_option("--sim", scenarioFile,
                   "The simulated box and Bluetooth module of this scenario");
    app.add_flag("--pacing", pacing, "The simulated line carries bytes at 9600 baud");
    app.add_flag("--real-time", realTime, "The headless screen waits in real time");
    tools::addToolScreenOptions(app, screen);
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    const DeviceRoot deviceRoot(std::filesystem::absolute(root));
    boxservice::ServiceHost host;
    host.root = &deviceRoot;
    host.programPath = program.empty() ? programDevicePath(deviceRoot) : program;

    // The simulator stands behind "PORT=SIM": the installation's scenario, unless given.
    const auto config =
        readWholeFile(deviceRoot.toHost(boxservice::configBesideProgram(host.programPath)));
    const std::string portWord = cp1252ToUtf8(configValue(config.value_or(""), "PORT="));
    if (scenarioFile.empty() && port.empty() && equalsIgnoreCase(portWord, "SIM")) {
        const std::string installPath = cp1252ToUtf8(configValue(config.value_or(""), "PATH="));
        scenarioFile = deviceRoot.toHost("\\" + installPath + "\\SIM\\vehicle.json");
    }
    std::optional<sim::Scenario> scenario;
    if (!scenarioFile.empty()) {
        auto loaded = sim::loadScenarioFile(scenarioFile.string());
        if (!loaded.ok()) {
            std::fprintf(stderr, "Test_KELM_ZUL: %s\n", loaded.error.c_str());
            return 2;
        }
        scenario = std::move(loaded.scenario);
        if (pacing) scenario->timing.pacing = true;
        if (port.empty()) port = "SIM";
    }
    const bool realLine = !scenario;

    return tools::runOnScreen(argc, argv, "Test_KELM_ZUL", screen, deviceRoot, realLine || realTime,
                              [&](ui::Screen& s, Clock& clock) {
                                  std::unique_ptr<boxservice::SimulatedLine> simulated;
                                  if (scenario)
                                      simulated = std::make_unique<boxservice::SimulatedLine>(
                                          std::move(*scenario), clock);
                                  boxservice::HostPorts ports(simulated.get(), port);
                                  host.screen = &s;
                                  host.clock = &clock;
                                  host.ports = &ports;
                                  boxservice::runServiceMenu(host);
                                  return 0;
                              });
}
