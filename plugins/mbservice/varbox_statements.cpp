// The statements that talk to the box or load another plug-in. In demonstration mode the
// interpreter skips the box statements before they get here (DLL still runs).
#include <array>

#include "platform/device_root.h"
#include "platform/text_codec.h"
#include "plugins/mbservice/script_frames.h"
#include "plugins/mbservice/script_run.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/journal_record.h"
#include "runtime/journalled_write.h"
#include "runtime/param_text.h"
#include "runtime/run_plugin.h"

namespace corvan::mbservice {

namespace {

constexpr std::string_view kConfigurationMark = "#CONFIGURATION";
constexpr std::string_view kEngineFile = "\\EXE\\ECOR.EXE";

std::string tooLong(size_t bytes, size_t most) {
    return std::string(kTooLong) + std::to_string(bytes) + " bytes (máximo " +
           std::to_string(most) + ")";
}

}  // namespace

int ScriptRun::exchange(std::span<const uint8_t> request, int attempts, double pollFactor) {
    return Exchange(ctx_, request, state_.received, attempts, 0.0, pollFactor, RetryPrompt::Fixed);
}

// The plug-ins lie beside the engine: its path in capitals, cut before "\EXE\ECOR.EXE".
std::string ScriptRun::pluginFolder(std::string_view dllFolder) const {
    const DeviceRoot* root = ctx_.host().root;
    const std::string program = asciiUpper(root ? root->programPath() : std::string());
    const size_t cut = program.find(kEngineFile);
    std::string folder = cut == std::string::npos ? std::string() : program.substr(0, cut);
    folder += dllFolder;
    return folder;
}

Flow ScriptRun::send(const Statement& s) {
    const std::string_view arg = s.quotedArgument();
    const std::vector<uint8_t> message = hexBytesPadded(arg == "FRAME" ? state_.frame : arg);
    if (message.size() > kMaxMessageBytes)
        return stopWith(tooLong(message.size(), kMaxMessageBytes));
    const std::vector<uint8_t> request = sendRequest(message);
    const std::string_view kind = changingKind(message);
    if (kind.empty()) {
        if (exchange(request) == 0) return stopWith(std::string(kNoReply));
        return Flow::Go;
    }
    JournalledWrite journalled(ctx_, call_, std::string(kind), "", spacedHex(message), request);
    const int length = exchange(request);
    // A positive answer carries the request's service byte plus 40 (reply byte 4).
    journalled.reply(state_.received, length,
                     length > 4 && state_.received[4] == static_cast<uint8_t>(message[0] + 0x40));
    if (length == 0) return stopWith(std::string(kNoReply));
    return Flow::Go;
}

Flow ScriptRun::getReceived(const Statement& s) {
    const int32_t p = readDecimal(s.quotedArgument());
    // Byte 1 counts the 00 in front of the ECU's answer and the answer itself.
    if (p < 0 || int64_t{p} + 2 > state_.received[1]) return stopWith(std::string(kWrongReply));
    state_.byteRcv = state_.received[4 + static_cast<size_t>(p)];
    return Flow::Go;
}

Flow ScriptRun::maintain(const Statement& s) {
    const std::string_view arg = s.quotedArgument();
    std::vector<uint8_t> request;
    if (arg == "OFF") {
        request = keepAliveOffRequest();
    } else {
        const std::vector<uint8_t> message = hexBytesPadded(arg);
        if (message.size() > kMaxKeepAliveBytes)
            return stopWith(tooLong(message.size(), kMaxKeepAliveBytes));
        request = keepAliveOnRequest(message);
    }
    return exchange(request) == 0 ? Flow::Stop : Flow::Go;
}

Flow ScriptRun::commStatus(const Statement&) {
    if (exchange(cmd::connectionStatusRequest(), 1, 7.0) == 0)
        return stopWith(std::string(kNoBoxReply));
    state_.commStatus = state_.received[3] != 0 ? 1 : 0;
    return Flow::Go;
}

Flow ScriptRun::logon(const Statement&) {
    exchange(cmd::resetRequest());
    const int section = findFrom(call_.text, kConfigurationMark);
    const std::string file = section < 0 ? std::string() : GetKeyValue(call_.text, "DLL=", section);
    const bool wasVisible = window_.hideForCall();
    const PluginOutcome outcome = CallPluginIn(ctx_, pluginFolder("\\DLL"), file,
                                               PluginCall{call_.text, 0, ctx_.mode(), ""}, 0);
    window_.showAfterCall(wasVisible);
    // A login plug-in that is not there leaves the procedure going.
    return outcome.result.find("ERROR") != std::string::npos ? Flow::Stop : Flow::Go;
}

Flow ScriptRun::logoff(const Statement&) {
    const std::vector<uint8_t> message = hexToBytes(GetKeyValue(call_.text, "END=", 0));
    if (message.size() > kMaxMessageBytes)
        return stopWith(tooLong(message.size(), kMaxMessageBytes));
    exchange(closingRequest(message));
    return Flow::Go;
}

Flow ScriptRun::setDelay(const Statement& s) {
    const int32_t value = readDecimal(s.quotedArgument());
    std::array<uint8_t, 256> reply{};
    const int length =
        Exchange(ctx_, cmd::readConfigRequest(), reply, 4, 0.0, 1.0, RetryPrompt::Fixed);
    // Without the box's own bytes there is nothing to write back: the write would replace
    // the driver's configuration with whatever the buffer held.
    if (length < static_cast<int>(3 + kConfigBytes + 1)) return Flow::Go;
    const auto config =
        withDelay(std::span<const uint8_t, kConfigBytes>(reply.data() + 3, kConfigBytes), value);
    Exchange(ctx_, cmd::writeConfigRequest(config), reply, 4, 0.0, 1.0, RetryPrompt::Fixed);
    return Flow::Go;
}

Flow ScriptRun::runDll(const Statement& s) {
    const std::string file(s.quotedArgument());
    const std::string folder = pluginFolder("\\dll");
    const bool wasVisible = window_.hideForCall();
    const PluginOutcome outcome =
        CallPluginIn(ctx_, folder, file, PluginCall{call_.text, 0, ctx_.mode(), ""}, 0);
    window_.showAfterCall(wasVisible);
    if (outcome.status == PluginStatus::NotLoaded)
        return stopWith(std::string(kCannotOpen) + folder + "\\" + file);
    return outcome.result == "KO" ? Flow::Stop : Flow::Go;
}

}  // namespace corvan::mbservice
