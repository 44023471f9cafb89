#pragma once
// The selection list: every catalogue item with a mark column the technician toggles by
// tapping a row, a quick selection (MANUAL, ALL, NONE and the named groups) and OK/Exit.
// The caption counts the marked rows. OK without a mark is refused.
#include <vector>

#include "plugins/livedata/live_item.h"
#include "plugins/livedata/selection_groups.h"
#include "runtime/module_context.h"
#include "ui/screen.h"

namespace corvan::livedata {

// True after OK (the items' selected fields are set from the marks); false when the
// technician left with Exit or the close box. `preparation` is the preparation window,
// whose bar follows the filling of the list (may be null).
bool selectItems(const ModuleContext& ctx, std::vector<LiveItem>& items,
                 const std::vector<SelectionGroup>& groups, bool allMarked,
                 ui::Dialog* preparation);

}  // namespace corvan::livedata
