#include "plugins/boxstart/boxstart.h"

#include "plugins/boxstart/box_startup.h"
#include "plugins/boxstart/box_texts.h"
#include "plugins/boxstart/download_plan.h"
#include "plugins/boxstart/ecu_connection.h"
#include "runtime/data_path.h"
#include "runtime/param_text.h"

namespace corvan::boxstart {

namespace {

// Where the keys of the start-up are searched: from "#CONFIGURATION" (or the start).
int configurationStart(std::string_view text) {
    const int at = findFrom(text, "#CONFIGURATION", 0);
    return at < 0 ? 0 : at;
}

// The optional message for the technician is searched after the `DRV` value.
std::string startMessage(std::string_view text, int from) {
    const int drv = findKey(text, "DRV=", from);
    if (drv >= 0) {
        const int value = findFrom(text, "[", drv);
        from = value < 0 ? drv : value + 1;
    }
    return GetKeyValue(text, "MSGINI=", from);
}

}  // namespace

std::string RunBoxStart(const ModuleContext& ctx, const PluginCall& call) {
    const StartMode mode = parseMode(call.mode);
    const int from = configurationStart(call.text);
    const std::string path = driverPath(ReadDataPath(ctx), GetKeyValue(call.text, "DRV=", from));

    const std::string message = startMessage(call.text, from);
    if (!message.empty()) ctx.messageBox(message);

    int started = kBoxRetry;
    for (int attempt = 0; attempt < kStartAttempts && started == kBoxRetry; ++attempt)
        started = StartBox(ctx, path, mode.text, mode.skipChecks);
    if (started == kBoxRetry) {
        if (!mode.text.empty()) ctx.messageBox(ctx.pick(kLoadErrorText));
        return std::string(kNotLoaded);
    }
    if (started == kBoxGiveUp) return std::string(kBoxNotReady);
    std::string answer = ConnectEcu(ctx, call.text, mode.text);
    return answer == kConnectError ? std::string(kNoEcu) : answer;
}

}  // namespace corvan::boxstart
