#pragma once
// What a program that owns the Varbox link lends to the plug-ins it calls: the device root
// (with the engine's program path, so ReadDataPath finds the installation), the clock, the
// screen, the library loader, the wire trace and the port. eCor, ecor-run and the tests
// build one and call plug-ins through it.
//
//     HostSetup setup{.root = dir, .installPath = cfg.installPath, .port = choice};
//     auto host = EngineHost::create(std::move(setup), &error);
//     callPlugin(*host, pluginFile, call, language);
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/link_port.h"
#include "engine/wire_trace.h"
#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "runtime/host_services.h"
#include "runtime/varbox_link.h"
#include "ui/headless_screen.h"
#include "ui/screen.h"

namespace corvan::engine {

// Which line the run uses.
struct PortChoice {
    std::string device;                  // a serial device file, or empty
    std::string setting;                 // PORT= as written ("COM1"), for messages
    bool unmapped = false;               // the setting names no host device (COM3 unnamed)
    std::filesystem::path scenarioFile;  // the simulated box's scenario (when no device)
    bool none = false;                   // no line at all: a demonstration without a box
};

struct HostSetup {
    std::filesystem::path root;  // the device root (host folder)
    std::string installPath;     // PATH= of iCor.cfg
    PortChoice port;
    // A screen of the caller's (the Qt front end), which outlives the host; null: the
    // host's own headless screen, worked by `technicianScript`.
    ui::Screen* screen = nullptr;
    // With the caller's screen: the headless screen that records its run (the twins of a
    // script working the Qt screens), for the screen dump and the script's report; may be null.
    ui::HeadlessScreen* record = nullptr;
    std::filesystem::path technicianScript;  // own headless screen only; empty: none
    std::filesystem::path traceFile;         // empty: no wire trace
    std::filesystem::path screensFile;       // empty: no screen dump
    // The simulator on a headless screen runs on the virtual clock unless this is set; a
    // real port or a screen a person watches always runs in real time.
    bool realTime = false;
    // The simulated box sends and receives at the line rate (timing runs).
    bool pacing = false;
};

class EngineHost {
  public:
    // nullptr with `error` set when a file cannot be read or written or the technician
    // script does not parse. A line that cannot be opened leaves a host without a line,
    // whose lineError() says why, so the caller can tell the technician on its screen.
    static std::unique_ptr<EngineHost> create(HostSetup setup, std::string* error);
    ~EngineHost();

    VarboxLink& link() { return link_; }
    HostServices& services() { return services_; }
    Clock& clock() { return *clock_; }
    ui::Screen& screen() { return *screen_; }
    // The headless screen of the run (the host's own, or the record of the caller's).
    ui::HeadlessScreen* headless() { return headless_; }
    const DeviceRoot& root() const { return root_; }
    const LibraryLoader& loader() const { return loader_; }
    const std::string& installPath() const { return installPath_; }
    // The line, or null (a demonstration, or a line that could not be opened).
    LinkPort* port() { return port_.get(); }
    // Why the line could not be opened ("cannot open the port COM1 (/dev/rfcomm0): ...").
    const std::string& lineError() const { return lineError_; }
    // The port as the technician set it, with the device it opens ("COM1 (/dev/rfcomm0)").
    const std::string& portName() const { return portName_; }
    // The line hung up or failed during the run and is down now.
    bool lineLost() const;
    const WireTrace* trace() const { return trace_.get(); }

    // Ends the run's files; returns what went differently from the technician script
    // (empty when it ran as written or there was none).
    std::string finish();

  private:
    EngineHost() = default;

    DeviceRoot root_;
    std::string installPath_;
    std::unique_ptr<Clock> clock_;
    std::ofstream traceOut_, screensOut_;  // outlive the screen and the trace writing them
    std::unique_ptr<ui::HeadlessScreen> ownScreen_;
    ui::Screen* screen_ = nullptr;
    ui::HeadlessScreen* headless_ = nullptr;
    DlopenLoader loader_;
    std::unique_ptr<WireTrace> trace_;
    std::unique_ptr<LinkPort> port_;
    std::string lineError_, portName_;
    HostServices services_;
    VarboxLink link_;
    bool scripted_ = false;
};

}  // namespace corvan::engine
