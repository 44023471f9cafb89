// The box start-up plug-in: the configuration plug-in the function menu runs first.
#include "plugins/boxstart/boxstart.h"
#include "runtime/plugin_entry.h"

namespace {

std::string run(corvan::ModuleContext& ctx, const corvan::PluginCall& call) {
    return corvan::boxstart::RunBoxStart(ctx, call);
}

}  // namespace

CORVAN_PLUGIN(run);
