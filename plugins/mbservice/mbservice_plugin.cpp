// The service-script plug-in. The script's variables, stack and FRAME belong to the library:
// they keep their values from one call to the next for as long as it stays loaded.
#include "plugins/mbservice/interpreter.h"
#include "runtime/plugin_entry.h"

namespace {

corvan::mbservice::ScriptState scriptState;

std::string runServiceScript(corvan::ModuleContext& ctx, const corvan::PluginCall& call) {
    return corvan::mbservice::runScript(ctx, call, scriptState);
}

}  // namespace

CORVAN_PLUGIN(runServiceScript);
