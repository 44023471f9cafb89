#pragma once
// The channel adaptation of a VAG unit: a continuous reading of one channel's value and
// description, a new value tested five times and saved with the workshop identification,
// channel 0 putting every channel back, and the login plug-in for locked channels.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::vagadapt {

inline constexpr int kSpecialLabelId = 1000;
inline constexpr int kChannelLabelId = 1001;
inline constexpr int kChannelId = 1002;
inline constexpr int kPlusId = 1003;
inline constexpr int kMinusId = 1004;
inline constexpr int kStartStopId = 1005;
inline constexpr int kFunctionLabelId = 1006;
inline constexpr int kDescriptionId = 1007;
inline constexpr int kValueLabelId = 1008;
inline constexpr int kValueId = 1009;
inline constexpr int kNewValueLabelId = 1010;
inline constexpr int kNewValueId = 1011;
inline constexpr int kSaveId = 1012;
inline constexpr int kProgressId = 1013;
inline constexpr int kAccessCodeId = 1014;
inline constexpr int kExitId = 2;
inline constexpr int kPreparingTextId = 1101;

ui::DialogTemplate adaptationTemplate();
ui::DialogTemplate preparingTemplate();

// Always an empty text.
std::string runAdaptation(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::vagadapt
