#include "plugins/vagchannels/channel_descriptions.h"

#include "runtime/param_text.h"

namespace corvan::vagchannels {

namespace {

constexpr std::string_view kGroupMark = "@D";
constexpr std::string_view kEndMark = "ENDDATA";
constexpr int kMaxMarks = 256;

// The group number written in the three characters after the mark; -1 when they are not
// three digits or name no group.
int groupNumber(std::string_view text, size_t mark) {
    const size_t at = mark + kGroupMark.size();
    if (at + 3 > text.size()) return -1;
    int number = 0;
    for (size_t k = at; k < at + 3; ++k) {
        if (text[k] < '0' || text[k] > '9') return -1;
        number = number * 10 + (text[k] - '0');
    }
    return number < kGroups ? number : -1;
}

}  // namespace

const std::string& ChannelDescriptions::text(int group, int index) const {
    static const std::string empty;
    if (group < 0 || group >= kGroups || index < 0 || index >= kTextsPerGroup) return empty;
    return texts_[size_t(group)][size_t(index)];
}

void ChannelDescriptions::set(int group, int index, std::string text) {
    if (group < 0 || group >= kGroups || index < 0 || index >= kTextsPerGroup) return;
    texts_[size_t(group)][size_t(index)] = std::move(text);
}

ChannelDescriptions readChannelDescriptions(std::string_view text, int start) {
    ChannelDescriptions d;
    int mark = findFrom(text, kGroupMark, start);
    for (int count = 0; mark >= 0 && count < kMaxMarks; ++count) {
        const int group = groupNumber(text, size_t(mark));
        int pos = mark + int(kGroupMark.size());
        if (group >= 0) {
            const int texts = group == 0 ? kGroup0Texts : kFieldTexts;
            for (int i = 0; i < texts; ++i) d.set(group, i, dropEnds(readBracket(text, pos)));
        }
        const int next = findFrom(text, kGroupMark, mark + 1);
        const int end = findFrom(text, kEndMark, mark + 1);
        if (next < 0 || (end >= 0 && next > end)) break;
        mark = next;
    }
    return d;
}

}  // namespace corvan::vagchannels
