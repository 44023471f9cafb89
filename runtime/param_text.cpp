#include "runtime/param_text.h"

#include <algorithm>

namespace corvan {

namespace {

size_t clampPos(std::string_view text, long long pos) {
    if (pos < 0) return 0;
    return std::min(static_cast<size_t>(pos), text.size());
}

int asPos(size_t p) {
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

}  // namespace

int findFrom(std::string_view text, std::string_view needle, int from) {
    return asPos(text.find(needle, clampPos(text, from)));
}

int findKey(std::string_view text, std::string_view key, int start) {
    if (key.empty() || start >= static_cast<long long>(text.size())) return -1;
    const size_t from = clampPos(text, start);
    const size_t keyPos = text.find(key, from);
    if (keyPos == std::string_view::npos) return -1;
    // The item bound is searched strictly after the start: a caller starting at its own
    // "<MNU" must still see its own keys.
    const size_t nextItem = text.find(kMenuItemMark, from + 1);
    if (nextItem != std::string_view::npos && keyPos >= nextItem) return -1;
    return asPos(keyPos);
}

std::string GetKeyValue(std::string_view text, std::string_view key, int start) {
    const int keyPos = findKey(text, key, start);
    if (keyPos < 0) return {};
    const size_t open = text.find('[', static_cast<size_t>(keyPos));
    if (open == std::string_view::npos) return {};
    const size_t close = text.find(']', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

std::string readBracket(std::string_view text, int& pos) {
    const size_t from = clampPos(text, pos);
    const size_t open = text.find('[', from);
    const size_t close = open == std::string_view::npos ? open : text.find(']', open + 1);
    if (close == std::string_view::npos) {
        pos = static_cast<int>(text.size());
        return {};
    }
    pos = static_cast<int>(close + 1);
    return std::string(text.substr(open + 1, close - open - 1));
}

std::vector<int> findAll(std::string_view text, std::string_view needle, int from, int to) {
    std::vector<int> found;
    if (needle.empty()) return found;
    const size_t end = to < 0 ? text.size() : clampPos(text, to);
    for (size_t p = text.find(needle, clampPos(text, from)); p != std::string_view::npos && p < end;
         p = text.find(needle, p + 1))
        found.push_back(static_cast<int>(p));
    return found;
}

std::string_view sectionText(std::string_view text, std::string_view mark) {
    const size_t begin = mark.empty() ? std::string_view::npos : text.find(mark);
    if (begin == std::string_view::npos) return {};
    size_t end = text.size();
    for (size_t p = text.find('#', begin + mark.size()); p != std::string_view::npos;
         p = text.find('#', p + 1)) {
        if (text[p - 1] == '\n' || text[p - 1] == '\r') {
            end = p;
            break;
        }
    }
    return text.substr(begin, end - begin);
}

std::string stripQuotes(std::string_view s) {
    if (!s.empty() && s.front() == '"') s.remove_prefix(1);
    if (!s.empty() && s.back() == '"') s.remove_suffix(1);
    return std::string(s);
}

std::string dropEnds(std::string_view s) {
    // A character is a whole UTF-8 sequence: "ºC" loses both, never half of the 'º'.
    const auto continues = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    size_t begin = 1;
    while (begin < s.size() && continues(s[begin])) ++begin;
    size_t end = s.empty() ? 0 : s.size() - 1;
    while (end > 0 && continues(s[end])) --end;
    return begin >= end ? std::string() : std::string(s.substr(begin, end - begin));
}

long long readDecimal(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min(value * 10 + (s[i] - '0'), 1'000'000'000LL);
    return negative ? -value : value;
}

}  // namespace corvan
