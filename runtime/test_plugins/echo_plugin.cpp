// A plug-in for the runtime's own tests. It answers with what it was called with:
//   "ECHO|" mode "|" name "|" language "|" start "|" value of MSG= "|"
// With "NEST=[file]" in its entry it first calls that plug-in (language from "NESTLANG=")
// and answers "OUTER|" its own language "|" the callee's answer. With "THROW=[1]" it throws,
// to show that no exception leaves the library.
#include <stdexcept>
#include <string>

#include "runtime/data_path.h"
#include "runtime/param_text.h"
#include "runtime/plugin_entry.h"
#include "runtime/run_plugin.h"

namespace {

std::string echo(corvan::ModuleContext& ctx, const corvan::PluginCall& call) {
    using corvan::GetKeyValue;
    if (!GetKeyValue(call.text, "THROW=", call.start).empty())
        throw std::runtime_error("test plug-in asked to throw");
    const std::string nested = GetKeyValue(call.text, "NEST=", call.start);
    if (!nested.empty()) {
        const int language = std::stoi("0" + GetKeyValue(call.text, "NESTLANG=", call.start));
        corvan::PluginCall inner{"MSG=[inner]", 0, call.mode, "INNER"};
        const std::string answer = corvan::RunPlugin(ctx, corvan::ReadDataPath(ctx), nested, inner,
                                                     language, "Load Error, DLL %s");
        return "OUTER|" + std::to_string(ctx.language()) + "|" + answer;
    }
    return "ECHO|" + ctx.mode() + "|" + call.name + "|" + std::to_string(ctx.language()) + "|" +
           std::to_string(call.start) + "|" + GetKeyValue(call.text, "MSG=", call.start) + "|";
}

}  // namespace

CORVAN_PLUGIN(echo);
