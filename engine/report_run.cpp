#include "engine/report_run.h"

#include <vector>

#include "engine/engine_host.h"
#include "engine/plugin_call.h"
#include "plugins/funcmenu/menu_text.h"
#include "plugins/funcmenu/system_info.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/param_text.h"

namespace corvan::engine {

namespace {

constexpr std::string_view kReportMode = "REPORT";

ReportOutcome stopped(ReportOutcome outcome, std::string why) {
    outcome.ok = false;
    outcome.error = std::move(why);
    return outcome;
}

// The ECU's closing request (END= of "#CONFIGURATION") and the box reset, as the function
// menu sends them when it closes; the replies are not looked at.
void closeEcu(EngineHost& host, const std::string& endHex, int32_t language) {
    ModuleContext ctx(host.link(), language, std::string(kReportMode));
    std::vector<uint8_t> reply(512);
    const std::vector<uint8_t> closing = funcmenu::closingRequest(endHex);
    if (!closing.empty()) Exchange(ctx, closing, reply, 4, 0.0, 1.0);
    Exchange(ctx, cmd::resetRequest(), reply, 4, 0.0, 1.0);
}

}  // namespace

ReportOutcome runReport(EngineHost& host, const std::string& text, const std::string& name,
                        int32_t language, bool demo) {
    ReportOutcome outcome;
    const std::string mode(kReportMode);
    outcome.report =
        funcmenu::systemInfoRecord(name, funcmenu::readSystemInfo(text), host.clock().civilNow());
    if (demo) {
        outcome.notes = "demonstration: no vehicle, so no report item runs\n";
        outcome.ok = true;
        return outcome;
    }

    if (text.find(funcmenu::kConfigurationMark) == std::string::npos)
        return stopped(outcome, "the data record has no #CONFIGURATION section");
    const funcmenu::ConfigurationKeys configuration = funcmenu::readConfiguration(text);
    if (configuration.dll.empty())
        return stopped(outcome, "the #CONFIGURATION section names no plug-in (DLL=)");
    const PluginOutcome connected =
        callPluginNamed(host, configuration.dll, PluginCall{text, 0, mode, name}, language);
    if (!connected.ran) return stopped(outcome, connected.error);
    if (connected.result.find("ERROR") != std::string::npos)
        return stopped(outcome, "the ECU connection failed: " + connected.result);

    const std::string extended = text + funcmenu::additionalIdBlock(connected.result);
    const int autorun = funcmenu::autorunPosition(extended);
    if (autorun >= 0) {
        const std::string plugin = GetKeyValue(extended, "DLL=", autorun);
        const PluginOutcome ran =
            callPluginNamed(host, plugin, PluginCall{extended, autorun, mode, name}, language);
        if (!ran.ran) outcome.notes += "#AUTORUN: " + ran.error + "\n";
    }
    for (const funcmenu::MenuItem& item : funcmenu::readMenuItems(extended, "", language)) {
        if (item.report.empty()) continue;
        const PluginOutcome ran = callPluginNamed(
            host, item.dll, PluginCall{extended, item.position, mode, name}, language);
        if (ran.ran)
            outcome.report += ran.result;
        else
            outcome.notes +=
                "menu item at " + std::to_string(item.position) + ": " + ran.error + "\n";
    }
    closeEcu(host, configuration.end, language);
    outcome.ok = true;
    return outcome;
}

}  // namespace corvan::engine
