#pragma once
// The live-data catalogue of a parameter text: items marked "@D" or "@S" with six
// bracketed fields each (description, request, position, conversion, unit, spare), ending
// at "ENDDATA". A catalogue uses one mark kind: "@D" marks are always preferred.
#include <string_view>
#include <vector>

#include "plugins/livedata/live_item.h"

namespace corvan::livedata {

// The plug-in's item array has 300 slots and never uses slot 0.
inline constexpr size_t kMaxItems = 299;

struct Catalogue {
    std::vector<LiveItem> items;  // slot order; at most kMaxItems
    bool truncated = false;       // the text held more items than the array takes
};

// Items from the first "@D" (or, when there is none, "@S") at or after `start`. Every item
// starts unselected with an empty value.
Catalogue readCatalogue(std::string_view text, int start);

}  // namespace corvan::livedata
