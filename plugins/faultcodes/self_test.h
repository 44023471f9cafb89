#pragma once
// The trouble-code module: the engine unit's on-board self-test with its progress window
// and the list of the codes it leaves behind, or, in the mode "DEL", the erase request of
// the data and whether the unit took it.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::faultcodes {

inline constexpr int kProgressId = 1100;
inline constexpr int kStopId = 1101;
inline constexpr std::string_view kStopCommand = "STOP";

ui::DialogTemplate progressTemplate();

// Result: "[DTC]" and "@" code "|" description "|" per code outside "EXE" and "DEMO";
// "[DEL]@OK" or "[DEL]@KO" in "DEL" (the erase-refused text without "ERASE=" bytes); empty
// otherwise and whenever the run stops early.
std::string runFaultCodes(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::faultcodes
