#pragma once
// The function menu of one ECU: runs the ECU's configuration plug-in, lists the ECU's
// functions, runs the one the technician picks, watches the box while the menu is open,
// and closes the ECU connection when the technician leaves.
#include <string>

#include "runtime/module_context.h"

namespace corvan::funcmenu {

// The whole call of the plug-in. Result: "ERROR" when the configuration failed; otherwise
// the system-information record in the modes "EXE" and "REPORT" (as received), else empty;
// empty as well when the box stopped answering and the technician gave up.
std::string runFunctionMenu(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::funcmenu
