#include "engine/engine_host.h"

#include "engine/install_config.h"
#include "platform/file_io.h"

namespace corvan::engine {

namespace {

bool fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

bool openOutput(std::ofstream& out, const std::filesystem::path& file, std::string* error) {
    out.open(file, std::ios::binary | std::ios::trunc);
    return out.is_open() || fail(error, "cannot write " + file.string());
}

}  // namespace

std::unique_ptr<EngineHost> EngineHost::create(HostSetup setup, std::string* error) {
    std::unique_ptr<EngineHost> host(new EngineHost);
    host->root_ = DeviceRoot(setup.root);
    host->root_.setProgramPath(engineProgramPath(setup.installPath));
    host->installPath_ = setup.installPath;

    const bool simulated = setup.port.device.empty();
    const bool ownScreen = !setup.screen;
    if (simulated && ownScreen && !setup.realTime)
        host->clock_ = std::make_unique<VirtualClock>();
    else
        host->clock_ = std::make_unique<RealClock>();

    if (ownScreen) {
        host->ownScreen_ = std::make_unique<ui::HeadlessScreen>();
        if (!setup.technicianScript.empty()) {
            const auto text = readWholeFile(setup.technicianScript);
            if (!text) {
                fail(error, "cannot read the technician script " + setup.technicianScript.string());
                return nullptr;
            }
            const std::string problem = host->ownScreen_->loadScript(*text);
            if (!problem.empty()) {
                fail(error,
                     "technician script " + setup.technicianScript.string() + ": " + problem);
                return nullptr;
            }
            host->scripted_ = true;
        }
        host->headless_ = host->ownScreen_.get();
        host->screen_ = host->ownScreen_.get();
    } else {
        host->screen_ = setup.screen;
        host->headless_ = setup.record;
        host->scripted_ = setup.record != nullptr;
    }
    if (!setup.screensFile.empty()) {
        if (!openOutput(host->screensOut_, setup.screensFile, error)) return nullptr;
        if (host->headless_) host->headless_->setDumpStream(host->screensOut_);
    }

    if (!setup.traceFile.empty()) {
        if (!openOutput(host->traceOut_, setup.traceFile, error)) return nullptr;
        host->trace_ = std::make_unique<WireTrace>(*host->clock_, host->traceOut_);
    }

    host->port_ = simulated ? LinkPort::openSimulator(setup.port.scenarioFile, *host->clock_,
                                                      setup.pacing, error)
                            : LinkPort::openDevice(setup.port.device, error);
    if (!host->port_) return nullptr;

    host->services_.clock = host->clock_.get();
    host->services_.screen = host->screen_;
    host->services_.root = &host->root_;
    host->services_.loader = &host->loader_;
    host->services_.frames = host->trace_.get();
    host->link_.port = &host->port_->port();
    host->link_.host = &host->services_;
    return host;
}

EngineHost::~EngineHost() {
    // The caller's record screen outlives the host and its dump file.
    if (headless_ && headless_ != ownScreen_.get()) headless_->setDumpSink({});
}

std::string EngineHost::finish() {
    traceOut_.flush();
    screensOut_.flush();
    if (!headless_ || !scripted_) return {};
    const ui::RunReport report = headless_->report();
    return report.clean() ? std::string() : report.text();
}

}  // namespace corvan::engine
