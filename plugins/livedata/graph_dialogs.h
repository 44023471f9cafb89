#pragma once
// The graph window and the trigger window of live data, with the control identifiers the
// technician scripts and the screen dumps name.
#include "ui/dialog_template.h"

namespace corvan::livedata {

// The live list's button that leads to the graph (only when the configuration turns it on).
inline constexpr int kGraphButtonId = 1011;

// Graph window: the items of the three strips, the graph and its buttons.
inline constexpr int kStripCount = 3;
inline constexpr int kStripItemIds[kStripCount] = {1101, 1102, 1103};
inline constexpr int kGraphId = 1110;
inline constexpr int kPauseId = 1111;
inline constexpr int kBackId = 1112;
inline constexpr int kForthId = 1113;
inline constexpr int kCsvId = 1114;
inline constexpr int kTriggerId = 1115;
inline constexpr int kGraphExitId = 1010;

// Trigger window.
inline constexpr int kTriggerItemId = 1202;
inline constexpr int kTriggerConditionId = 1204;
inline constexpr int kThresholdId = 1206;
inline constexpr int kBeforeId = 1208;
inline constexpr int kAfterId = 1210;
inline constexpr int kArmId = 1211;
inline constexpr int kTriggerCancelId = 1212;

// Labels of the trigger window, in the order of the fields they name.
inline constexpr int kTriggerLabelIds[5] = {1201, 1203, 1205, 1207, 1209};

ui::DialogTemplate graphTemplate();
ui::DialogTemplate triggerTemplate();

}  // namespace corvan::livedata
