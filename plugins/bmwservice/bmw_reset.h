#pragma once
// The BMW service reset: a window with the oil-service and inspection buttons; each press
// holds the reset line of the box on for 3 or 12 seconds while a progress bar runs. Before
// the first reset the output check finds the box output that reaches the line.
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::bmwservice {

inline constexpr std::string_view kMainWindowName = "BMWSERVICE";
inline constexpr std::string_view kProgressWindowName = "BMWPROGRESS";
inline constexpr int kOilId = 1001;
inline constexpr int kInspectionId = 1002;
inline constexpr int kExitId = 2;
inline constexpr int kProgressTextId = 1003;
inline constexpr int kProgressBarId = 1004;

inline constexpr int kOilSeconds = 3;
inline constexpr int kInspectionSeconds = 12;
inline constexpr int kStepsPerSecond = 100;  // 10 ms each

ui::DialogTemplate mainTemplate(int language);
ui::DialogTemplate progressTemplate();

// Always an empty text.
std::string runBmwService(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::bmwservice
