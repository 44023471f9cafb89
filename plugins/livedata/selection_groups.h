#pragma once
// Named groups of items for the quick selection, written in the parameter text between
// "SELECT=" and "ENDSELECT": each group is its name in double quotes and then the keys of
// its items, each in brackets; groups are separated by '@'.
//
//   SELECT= ["Engine"] [D001] [D002] @ ["Temperatures"] [D004] [D005] ENDSELECT
#include <string>
#include <string_view>
#include <vector>

namespace corvan::livedata {

inline constexpr size_t kMaxGroups = 20;
inline constexpr size_t kMaxGroupKeys = 199;

struct SelectionGroup {
    std::string name;  // without its quotes
    std::vector<std::string> keys;
};

// The groups of the first "SELECT=" at or after `start`; none when it is absent.
std::vector<SelectionGroup> readSelectionGroups(std::string_view text, int start);

}  // namespace corvan::livedata
