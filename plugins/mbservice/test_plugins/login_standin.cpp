// A stand-in for the login plug-ins a service script loads, for the interpreter's tests.
// Each call appends one line to "plugin-calls.log" at the device root:
//   mode "|" start "|" language "|" function name "|" length of the parameter text
// With "STANDIN_SEND=[hex]" in the text it first sends those bytes to the ECU over the
// caller's link (so a test sees the call on the wire, in its place). It answers the value of
// "STANDIN_RESULT=".
#include <fstream>
#include <string>

#include "platform/device_root.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/param_text.h"
#include "runtime/plugin_entry.h"

namespace {

std::string login(corvan::ModuleContext& ctx, const corvan::PluginCall& call) {
    using corvan::GetKeyValue;
    if (const corvan::DeviceRoot* root = ctx.host().root) {
        std::ofstream log(root->toHost("plugin-calls.log"), std::ios::app | std::ios::binary);
        log << ctx.mode() << '|' << call.start << '|' << ctx.language() << '|' << call.name << '|'
            << call.text.size() << '\n';
    }
    const std::string send = GetKeyValue(call.text, "STANDIN_SEND=", call.start);
    if (!send.empty()) {
        uint8_t reply[256];
        corvan::Exchange(ctx, corvan::cmd::ecuRequest(corvan::hexToBytes(send)), reply);
    }
    return GetKeyValue(call.text, "STANDIN_RESULT=", call.start);
}

}  // namespace

CORVAN_PLUGIN(login);
