#pragma once
// The trouble-code menu's display of the codes a KWP 2000 unit has stored: it makes the
// item's definition file readable, has KWPFAULTS.dll read the codes (a record array of 60
// and the definition text, as that reader expects of its caller) and shows them in the
// trouble-code list. An item with "ERASEDLL=" is the menu's erase entry instead: after the
// technician confirms, it runs that plug-in (the trouble-code module) in the mode "DEL",
// which alone sends the erase request, and says whether the unit erased its codes.
#include <string>

#include "runtime/module_context.h"

namespace corvan::dtcview {

inline constexpr std::string_view kReaderFile = "KWPFAULTS.DLL";

// Reading: "[DTC]" and "@" code "|" description "|" per code outside "EXE" and "DEMO",
// empty in them. Erasing: the erase module's result ("[DEL]@OK", "[DEL]@KO", ...), empty
// when nothing was erased.
std::string runDtcView(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::dtcview
