#pragma once
// The live-data function: the technician chooses items of the catalogue, then watches their
// values, polled over the box cycle after cycle, beside the recommended ranges. Any mode
// but "EXE" and "DEMO" is a silent run: every item, one cycle, no window. Always returns an
// empty text.
#include <string>

#include "plugins/livedata/vag_decoder.h"
#include "runtime/module_context.h"

namespace corvan::livedata {

std::string runLiveData(ModuleContext& ctx, const PluginCall& call);
// The same with the VAG measuring blocks decoded by `vag`.
std::string runLiveDataWith(ModuleContext& ctx, const PluginCall& call, const VagDecoder& vag);

}  // namespace corvan::livedata
