#include "engine/engine_host.h"

#include "engine/install_config.h"
#include "platform/file_io.h"
#include "platform/port_names.h"

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

    const PortChoice& port = setup.port;
    if (!port.none) {
        const HostPort named{port.setting.empty() ? port.device : port.setting, port.device};
        host->portName_ = simulated ? "SIM" : describePort(named);
        if (port.unmapped)
            host->lineError_ = "cannot open the port " + host->portName_ +
                               ": name its device in iCor.cfg (SERIALn=[...] for COMn)";
        else if (simulated)
            host->port_ = LinkPort::openSimulator(port.scenarioFile, *host->clock_, setup.pacing,
                                                  &host->lineError_);
        else
            host->port_ = LinkPort::openDevice(port.device, host->portName_, &host->lineError_);
    }

    host->services_.clock = host->clock_.get();
    host->services_.screen = host->screen_;
    host->services_.root = &host->root_;
    host->services_.loader = &host->loader_;
    host->services_.frames = host->trace_.get();
    host->link_.port = host->port_ ? &host->port_->port() : nullptr;
    host->link_.host = &host->services_;
    return host;
}

bool EngineHost::lineLost() const {
    return port_ && port_->port().lost();
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
