#include "plugins/livedata/selection_groups.h"

#include "runtime/param_text.h"

namespace corvan::livedata {

namespace {
constexpr size_t npos = std::string_view::npos;
}

std::vector<SelectionGroup> readSelectionGroups(std::string_view text, int start) {
    std::vector<SelectionGroup> groups;
    const size_t select = text.find("SELECT=", start < 0 ? 0 : static_cast<size_t>(start));
    if (select == npos) return groups;
    // Without "ENDSELECT" only the first group is read, and its keys end with the text.
    const size_t end = text.find("ENDSELECT", select);
    const size_t limit = end == npos ? text.size() : end;
    int pos = static_cast<int>(select);
    for (;;) {
        const size_t nameOpen = text.find('[', static_cast<size_t>(pos));
        if (nameOpen == npos || nameOpen >= limit) break;
        SelectionGroup group;
        group.name = dropEnds(readBracket(text, pos));
        // Keys follow as long as the next '[' comes before the next '@'.
        for (;;) {
            const size_t open = text.find('[', static_cast<size_t>(pos));
            const size_t at = text.find('@', static_cast<size_t>(pos));
            if (open == npos || open >= limit || (at != npos && open > at)) break;
            if (group.keys.size() == kMaxGroupKeys) break;
            std::string key = readBracket(text, pos);
            if (key.empty()) break;
            group.keys.push_back(std::move(key));
        }
        groups.push_back(std::move(group));
        if (groups.size() == kMaxGroups) break;
        const size_t at = text.find('@', static_cast<size_t>(pos));
        if (at == npos || end == npos || at > end) break;
        pos = static_cast<int>(at + 1);
    }
    return groups;
}

}  // namespace corvan::livedata
