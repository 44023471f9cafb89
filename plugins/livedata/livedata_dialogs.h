#pragma once
// The three windows of live data, with the control identifiers the technician scripts and
// the screen dumps name: the preparation window, the selection list and the live list.
#include "ui/dialog_template.h"

namespace corvan::livedata {

inline constexpr int kPreparationBarId = 1009;

inline constexpr int kQuickSelectionId = 1001;
inline constexpr int kSelectionListId = 1000;
inline constexpr int kOkId = 1;
inline constexpr int kExitId = 1010;

inline constexpr int kTablesId = 1004;
inline constexpr int kTablesHeadingId = 1005;
inline constexpr int kLiveListId = 1006;
inline constexpr int kLiveBarId = 1003;
inline constexpr int kValueDisplayId = 1007;
inline constexpr int kHelpTextId = 1008;

// Columns of the live list.
inline constexpr int kKeyColumn = 0;
inline constexpr int kDescriptionColumn = 1;
inline constexpr int kRangeColumn = 2;
inline constexpr int kValueColumn = 3;
inline constexpr int kUnitColumn = 4;

ui::DialogTemplate preparationTemplate();
ui::DialogTemplate selectionTemplate();
// With `graphButton`, the list has a button that leads to the graph (kGraphButtonId).
ui::DialogTemplate liveDataTemplate(bool graphButton = false);

}  // namespace corvan::livedata
