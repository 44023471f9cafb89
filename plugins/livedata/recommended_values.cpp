#include "plugins/livedata/recommended_values.h"

#include <cctype>
#include <charconv>

#include "platform/text_codec.h"
#include "runtime/param_text.h"

namespace corvan::livedata {

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kEndData = "ENDDATA";

size_t findEntry(std::string_view content, size_t from) {
    const size_t d = content.find("@D", from);
    return d != npos ? d : content.find("@S", from);
}

// The three characters after the mark as a decimal number; -1 when they are not digits.
int entryNumber(std::string_view content, size_t mark) {
    const std::string_view digits = content.substr(mark + 2, 3);
    if (digits.size() < 3) return -1;
    int n = 0;
    for (char ch : digits) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return -1;
        n = n * 10 + (ch - '0');
    }
    return n;
}

void skipBlanks(std::string_view s, size_t& i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

// A signed decimal number at `i` (point or comma), moving `i` past it.
std::optional<double> number(std::string_view s, size_t& i) {
    skipBlanks(s, i);
    std::string digits;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        if (s[i] == '-') digits += '-';
        ++i;
    }
    bool any = false, point = false;
    for (; i < s.size(); ++i) {
        const char ch = s[i];
        if (std::isdigit(static_cast<unsigned char>(ch))) {
            digits += ch;
            any = true;
        } else if ((ch == '.' || ch == ',') && !point) {
            digits += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!any) return std::nullopt;
    double v = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return v;
}

}  // namespace

const std::string& RecommendedTables::text(int table, int item) const {
    static const std::string none;
    if (table < 0 || static_cast<size_t>(table) >= cells.size() || item < 0 || item >= kTableItems)
        return none;
    return cells[static_cast<size_t>(table)][static_cast<size_t>(item)];
}

std::optional<std::string> recommendedFileName(std::string_view text, int start) {
    int at = findFrom(text, "VRF=", start);
    if (at < 0) return std::nullopt;
    std::string name = readBracket(text, at);
    if (name.empty()) {
        // The file named after the parameter file: the last part of its "FILE=" path.
        const int info = findFrom(text, "#EXTENDED_INFORMATION");
        const std::string file = info < 0 ? std::string() : GetKeyValue(text, "FILE=", info);
        const size_t slash = file.rfind('\\');
        name = slash == std::string::npos ? file : file.substr(slash + 1);
    }
    name = asciiUpper(name);
    for (size_t p = name.find(".DAT"); p != std::string::npos; p = name.find(".DAT", p + 4))
        name.replace(p, 4, ".VRF");
    return name;
}

std::string recommendedDevicePath(std::string_view dataPath, std::string_view fileName) {
    std::string path(dataPath);
    path += "\\VRF\\";
    path += fileName;
    return path;
}

RecommendedTables parseRecommendedValues(std::string_view content) {
    RecommendedTables tables;
    size_t p = 0;
    do {
        const size_t open = content.find('"', p);
        const size_t close = open == npos ? npos : content.find('"', open + 1);
        tables.names.emplace_back(
            open == npos ? std::string_view()
                         : content.substr(open + 1, close == npos ? npos : close - open - 1));
        tables.cells.emplace_back();
        auto& row = tables.cells.back();
        // The entries follow the name (a name without its closing quote runs to the end).
        const size_t afterName = close == npos ? content.size() : close + 1;
        size_t mark = findEntry(content, open == npos ? p : afterName);
        if (mark == npos) {
            tables.badFormat = true;
            break;
        }
        while (mark != npos) {
            const int item = entryNumber(content, mark);
            int pos = static_cast<int>(mark);
            std::string entry = readBracket(content, pos);
            p = static_cast<size_t>(pos);
            // The store has no row for such a number: the entry ends its table.
            if (item < 0 || item >= kTableItems) break;
            row[static_cast<size_t>(item)] = std::move(entry);
            const size_t next = findEntry(content, mark + 1);
            const size_t end = content.find(kEndData, mark);
            if (next == npos || end == npos || next > end) break;
            mark = next;
        }
    } while (content.find('"', p) != npos && tables.names.size() < kMaxTables);
    return tables;
}

std::optional<double> readingNumber(std::string_view value) {
    size_t i = 0;
    const std::optional<double> v = number(value, i);
    skipBlanks(value, i);
    if (!v || i != value.size()) return std::nullopt;
    return v;
}

std::optional<RangeLimits> rangeLimits(std::string_view recommended) {
    size_t r = 0;
    const std::optional<double> low = number(recommended, r);
    skipBlanks(recommended, r);
    if (!low || r >= recommended.size() || recommended[r] != '-') return std::nullopt;
    ++r;
    const std::optional<double> high = number(recommended, r);
    if (!high || *low > *high) return std::nullopt;
    return RangeLimits{*low, *high};
}

RangeCheck checkRange(std::string_view value, std::string_view recommended) {
    const std::optional<double> v = readingNumber(value);
    if (!v) return RangeCheck::Unknown;
    const std::optional<RangeLimits> range = rangeLimits(recommended);
    if (!range) return RangeCheck::Unknown;
    if (*v < range->low) return RangeCheck::Below;
    if (*v > range->high) return RangeCheck::Above;
    return RangeCheck::Inside;
}

}  // namespace corvan::livedata
