#pragma once
// Which screen a run of eCor or ecor-run shows: the Qt window when a display is there (or
// when asked with --qt), the headless screen otherwise (or when asked with --headless). A
// scripted run or a report stays headless unless --qt asks for the window.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/engine_host.h"
#include "engine/host_options.h"
#include "platform/device_root.h"

namespace corvan::engine {

struct FrontEndOptions {
    bool headless = false;
    bool qt = false;
    int scale = 0;  // 0: automatic
    std::filesystem::path screenshots;
};

void addFrontEndOptions(CLI::App& app, FrontEndOptions& options);

// Holds the Qt front end while the run lasts (nothing for a headless run).
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;
};

// Chooses the screen and, for Qt, builds the front end and lends its screen to `setup`.
// `unattended`: the run is scripted or a report. Returns false with `error` set when the
// options cannot be served (no Qt in this build, an unreadable or bad technician script).
bool openFrontEnd(int argc, char** argv, const FrontEndOptions& options, bool unattended,
                  const HostOptions& host, const DeviceRoot& root, HostSetup& setup,
                  std::unique_ptr<FrontEnd>& front, std::string* error);

}  // namespace corvan::engine
