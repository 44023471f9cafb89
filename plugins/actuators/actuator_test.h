#pragma once
// The actuator test: the unit drives its actuators one after the other; the window shows
// the code and description of the one being driven, moves a progress bar while the unit
// works on it, and lets the technician step to the next actuator (not while the unit says
// it is busy) or stop.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::actuators {

inline constexpr int kListId = 1000;
inline constexpr int kProgressId = 1001;
inline constexpr int kNextId = 1002;
inline constexpr int kExitId = 2;
inline constexpr std::string_view kNextCommand = "NEXT";

ui::DialogTemplate actuatorTemplate();

// Always an empty result text.
std::string runActuators(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::actuators
