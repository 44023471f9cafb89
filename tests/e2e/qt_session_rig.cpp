#include "qt_session_rig.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/engine_session.h"
#include "engine/install_config.h"
#include "engine/link_port.h"
#include "engine/wire_trace.h"
#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/run_plugin.h"
#include "runtime/varbox_link.h"
#include "ui/headless_screen.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_script_automation.h"
#include "ui/technician_script.h"

namespace corvan::e2e {

namespace {

namespace fs = std::filesystem;
using engine::installFile;

// A runaway script fails the test instead of aborting the whole test program.
void stopRunaway(const ui::RunReport& report) {
    throw std::runtime_error("runaway technician script: " + report.text());
}

// Everything of the session but the screen, as the engine would set it up.
class Session {
  public:
    explicit Session(const SessionSetup& setup) : setup_(setup), root_(CORVAN_SAMPLE_ROOT) {
        std::string error;
        const auto config = engine::readInstallConfig(root_, &error);
        if (!config) throw std::runtime_error(error);
        installPath_ = config->installPath;
        language_ = config->languageIndex;
        root_.setProgramPath(engine::engineProgramPath(installPath_));
        const auto text = engine::readDataRecord(root_, installPath_, setup.record, &error);
        if (!text) throw std::runtime_error(error);
        text_ = *text;
        const fs::path scenario = root_.toHost(installFile(installPath_, "SIM\\vehicle.json"));
        port_ = engine::LinkPort::openSimulator(scenario, clock_, false, &error);
        if (!port_) throw std::runtime_error(error);
    }

    SessionOutcome run(ui::Screen& screen) {
        HostServices host;
        host.clock = &clock_;
        host.screen = &screen;
        host.root = &root_;
        host.loader = &loader_;
        host.frames = &trace_;
        VarboxLink link;
        link.port = &port_->port();
        link.host = &host;
        ModuleContext ctx(link, language_, setup_.mode);
        const PluginCall call{text_, 0, setup_.mode, setup_.selection};
        SessionOutcome outcome;
        outcome.result = RunPlugin(ctx, installPath_, engine::kFunctionMenu, call, language_,
                                   "Load Error, DLL %s");
        outcome.trace = traceOut_.str();
        return outcome;
    }

  private:
    const SessionSetup& setup_;
    DeviceRoot root_;
    std::string installPath_;
    int language_ = 1;
    std::string text_;
    VirtualClock clock_;
    DlopenLoader loader_;
    std::ostringstream traceOut_;
    engine::WireTrace trace_{clock_, traceOut_};
    std::unique_ptr<engine::LinkPort> port_;
};

ui::TechnicianScript parsedScript(const std::string& text) {
    auto parsed = ui::parseTechnicianScript(text);
    if (!parsed.ok()) throw std::runtime_error("technician script: " + parsed.error);
    return std::move(parsed.script);
}

std::string reportText(const ui::HeadlessScreen& screen) {
    const ui::RunReport report = screen.report();
    return report.clean() ? std::string() : report.text();
}

}  // namespace

SessionOutcome runHeadlessSession(const SessionSetup& setup) {
    Session session(setup);
    ui::HeadlessScreen screen(parsedScript(setup.script));
    screen.setRunawayHandler(stopRunaway);
    std::ostringstream dump;
    screen.setDumpStream(dump);
    SessionOutcome outcome = session.run(screen);
    outcome.dump = dump.str();
    outcome.report = reportText(screen);
    return outcome;
}

SessionOutcome runQtSession(const SessionSetup& setup) {
    Session session(setup);
    ui::qt::ScriptAutomation script(parsedScript(setup.script));
    script.twins().setRunawayHandler(stopRunaway);
    std::ostringstream dump;
    script.twins().setDumpStream(dump);
    SessionOutcome outcome;
    {
        ui::qt::QtScreenOptions options;
        options.scale = 1;  // the device's own pixels
        options.screenshotDir = setup.screenshots;
        options.automation = &script;
        options.attended = false;
        DeviceRoot root(CORVAN_SAMPLE_ROOT);
        options.bitmapFile = [root](const std::string& path) { return root.toHost(path); };
        ui::qt::QtScreen screen(std::move(options));
        outcome = session.run(screen);
    }
    script.twins().setDumpSink({});
    outcome.dump = dump.str();
    outcome.report = reportText(script.twins());
    return outcome;
}

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace corvan::e2e
