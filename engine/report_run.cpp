#include "engine/report_run.h"

#include <vector>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/param_text.h"

namespace corvan::engine {

namespace {

constexpr std::string_view kReportMode = "REPORT";
constexpr size_t kMaxMenuItems = 30;

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
    const std::vector<uint8_t> message = hexToBytes(endHex);
    if (!message.empty()) Exchange(ctx, cmd::ecuRequest(message), reply, 4, 0.0, 1.0);
    Exchange(ctx, cmd::resetRequest(), reply, 4, 0.0, 1.0);
}

}  // namespace

std::vector<int> menuItemPositions(const std::string& text) {
    const int menu = findFrom(text, "#MENU");
    if (menu < 0) return {};
    std::vector<int> items = findAll(text, kMenuItemMark, menu, findFrom(text, "#END", menu));
    if (items.size() > kMaxMenuItems) items.resize(kMaxMenuItems);
    return items;
}

ReportOutcome runReport(EngineHost& host, const std::string& text, const std::string& name,
                        int32_t language) {
    ReportOutcome outcome;
    const std::string mode(kReportMode);

    const PluginOutcome menu = runFunctionMenu(host, text, mode, name, language);
    if (!menu.ran) return stopped(outcome, menu.error);
    if (menu.result.find("ERROR") != std::string::npos)
        return stopped(outcome, "the function menu could not connect to the ECU: " + menu.result);
    outcome.report = menu.result;

    const int configuration = findFrom(text, "#CONFIGURATION");
    if (configuration < 0) return stopped(outcome, "the data record has no #CONFIGURATION section");
    const std::string configPlugin = GetKeyValue(text, "DLL=", configuration);
    const std::string endHex = GetKeyValue(text, "END=", configuration);
    if (configPlugin.empty())
        return stopped(outcome, "the #CONFIGURATION section names no plug-in (DLL=)");

    const PluginOutcome connected =
        callPluginNamed(host, configPlugin, PluginCall{text, 0, mode, name}, language);
    if (!connected.ran) return stopped(outcome, connected.error);
    if (connected.result.find("ERROR") != std::string::npos)
        return stopped(outcome, "the ECU connection failed: " + connected.result);

    const std::string extended = text + additionalIdBlock(connected.result);
    for (int item : menuItemPositions(extended)) {
        if (GetKeyValue(extended, "REPORT=", item).empty()) continue;
        const std::string plugin = GetKeyValue(extended, "DLL=", item);
        const PluginOutcome ran =
            callPluginNamed(host, plugin, PluginCall{extended, item, mode, name}, language);
        if (ran.ran)
            outcome.report += ran.result;
        else
            outcome.notes += "menu item at " + std::to_string(item) + ": " + ran.error + "\n";
    }
    closeEcu(host, endHex, language);
    outcome.ok = true;
    return outcome;
}

}  // namespace corvan::engine
