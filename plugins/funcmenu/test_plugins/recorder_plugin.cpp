// A stand-in plug-in for the function menu's tests, installed under several names (the
// configuration plug-in, functions, the console). Each call appends one line to "calls.log"
// in the installation folder:
//   file name "|" mode "|" start "|" language "|" function name "|" parameter text in hex
// and answers the value of "RESULT=" looked up from its start position.
#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/device_root.h"
#include "runtime/data_path.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"
#include "runtime/plugin_entry.h"

namespace {

std::string ownFileName() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownFileName), &info) == 0 || !info.dli_fname) return "?";
    return std::filesystem::path(info.dli_fname).filename().string();
}

std::string record(corvan::ModuleContext& ctx, const corvan::PluginCall& call) {
    const std::string dataPath = corvan::ReadDataPath(ctx);
    if (const corvan::DeviceRoot* root = ctx.host().root) {
        std::ofstream log(root->toHost(dataPath + "\\calls.log"), std::ios::app | std::ios::binary);
        const std::string text = corvan::bytesToHex(
            {reinterpret_cast<const uint8_t*>(call.text.data()), call.text.size()});
        log << ownFileName() << '|' << ctx.mode() << '|' << call.start << '|' << ctx.language()
            << '|' << call.name << '|' << text << '\n';
    }
    return corvan::GetKeyValue(call.text, "RESULT=", call.start);
}

}  // namespace

CORVAN_PLUGIN(record);
