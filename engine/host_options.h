#pragma once
// The options eCor and ecor-run share, and how they turn into a host set-up:
//   --root DIR          the device root (default: the built sample installation)
//   --technician FILE   the technician script of a headless run
//   --trace FILE        the wire trace
//   --screens FILE      the screen dump of a headless run
//   --sim FILE          the simulated box with this scenario instead of PORT=
//   --port DEVICE       this serial device instead of PORT=
//   --real-time         the simulator in real time (a headless simulator run is virtual)
//   --pacing            the simulator's bytes take their time at the line rate
#include <filesystem>
#include <optional>
#include <string>

#include "engine/engine_host.h"
#include "engine/install_config.h"

namespace CLI {
class App;
}

namespace corvan::engine {

// The device root when --root is not given (platform/default_root.h).
std::filesystem::path defaultRoot();

struct HostOptions {
    std::filesystem::path root = defaultRoot();
    std::filesystem::path technician, trace, screens, sim;
    std::string port;
    bool realTime = false;
    bool pacing = false;
};

void addHostOptions(CLI::App& app, HostOptions& options);

// The line of the run: --sim, then --port, then PORT= ("SIM": the installation's scenario
// SIM\vehicle.json; "COM1"/"COM2": the host devices of platform/port_names.h). A
// demonstration opens no line at all. nullopt with `error` set when none is named.
std::optional<PortChoice> choosePort(const HostOptions& options, const InstallConfig& config,
                                     bool demo, std::string* error);

// The set-up for EngineHost::create (the screen is left to the caller).
std::optional<HostSetup> hostSetup(const HostOptions& options, const InstallConfig& config,
                                   bool demo, std::string* error);

// Reads and parses a technician script named on the command line; false with `error` set.
bool checkTechnicianScript(const std::filesystem::path& file, std::string* error);

}  // namespace corvan::engine
