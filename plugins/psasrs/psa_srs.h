#pragma once
// Coding the airbag configuration of a PSA airbag unit once: driver only; driver and
// passenger; driver, passenger and key deactivation. A unit whose status says it is coded
// is refused before any dialog shows.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::psasrs {

inline constexpr int kChooseLabelId = 1000;
inline constexpr int kDriverOnlyId = 1001;
inline constexpr int kDriverPassengerId = 1002;
inline constexpr int kDriverPassengerKeyId = 1003;
inline constexpr int kCodeId = 1004;

ui::DialogTemplate psaSrsTemplate();

// Empty result text; returns at once in modes other than "EXE" and "DEMO".
std::string runPsaSrs(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::psasrs
