#pragma once
// The identification of one ECU: reads the identification records of the parameter text,
// sends each distinct request once, cuts each value out of its reply and shows the values
// as a two-column list, or (in report mode) returns them as report records.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::identify {

inline constexpr int kListId = 1000;
inline constexpr int kExitId = 2;

ui::DialogTemplate identifyTemplate();

// "[IDN]" alone in the modes "EXE" and "DEMO"; in report mode (every other word) "[IDN]"
// followed by "@" id "|" description "|" value "|" for each record.
std::string runIdentify(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::identify
