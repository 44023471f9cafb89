#pragma once
// The channel reader: the technician types or steps a group number (0 to 255), starts
// reading, and sees the group's fields with description, value and unit, refreshed until
// the reading is paused or the reader left. While it reads it makes the box repeat its
// group read to hold the unit; the box's own keep-alive message goes back at every pause
// and at the end.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::vagchannels {

inline constexpr int kChannelLabelId = 1000;
inline constexpr int kGroupId = 1001;
inline constexpr int kPlusId = 1002;
inline constexpr int kMinusId = 1003;
inline constexpr int kStartId = 1004;
inline constexpr int kProgressId = 1005;
inline constexpr int kListId = 1006;
inline constexpr int kExitId = 1007;

ui::DialogTemplate channelsTemplate();

// Always the empty text. Only the modes "EXE" and "DEMO" show the reader; in "DEMO" it
// cannot start reading, so nothing goes to the box.
std::string runChannelReader(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::vagchannels
