#pragma once
// The coding of a VAG unit on the K line: reads its identification blocks, shows the
// current coding, sends the coding the technician types (with the workshop code) and reads
// the identification again to tell whether the unit took it.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::vagcoding {

inline constexpr int kInfoId = 1001;
inline constexpr int kActualLabelId = 1002;
inline constexpr int kActualCodeId = 1003;
inline constexpr int kNewLabelId = 1004;
inline constexpr int kNewCodeId = 1005;
inline constexpr int kForceId = 1006;
inline constexpr int kCodeButtonId = 1007;
// The force box's text, beside it on two lines (a check box's own text has one line).
inline constexpr int kForceTextId = 1008;
inline constexpr int kExitId = 2;

// The largest coding a unit takes (the coding block carries it doubled in 16 bits).
inline constexpr uint32_t kHighestCoding = 32767;

ui::DialogTemplate codingTemplate();

// Always an empty text.
std::string runCoding(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::vagcoding
