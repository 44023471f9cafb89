#pragma once
// Switching the passenger airbag of a Renault airbag unit on (unlocked) or off (locked). The
// status is read on every pass of the dialog's loop, so the technician sees the unit's state
// while the dialog is open; the status, switch-on and switch-off requests come from the data.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::renaultsrs {

inline constexpr int kStatusId = 1000;
inline constexpr int kOnId = 1001;
inline constexpr int kOffId = 1002;

ui::DialogTemplate renaultSrsTemplate();

// Empty result text; returns at once in modes other than "EXE" and "DEMO".
std::string runRenaultSrs(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::renaultsrs
