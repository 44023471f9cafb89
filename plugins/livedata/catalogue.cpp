#include "plugins/livedata/catalogue.h"

#include <array>
#include <cctype>

namespace corvan::livedata {

namespace {

constexpr std::string_view kDataMark = "@D";
constexpr std::string_view kSelectMark = "@S";
constexpr std::string_view kEndData = "ENDDATA";
constexpr size_t kKeyLength = 4;
constexpr size_t kFieldCount = 6;

struct Span {
    size_t open = 0, close = 0;  // the '[' and the ']' of one field
};

// The first "@D" at or after `from`, else the first "@S"; npos when neither exists.
size_t findMark(std::string_view text, size_t from) {
    const size_t d = text.find(kDataMark, from);
    return d != std::string_view::npos ? d : text.find(kSelectMark, from);
}

struct ParsedItem {
    LiveItem item;
    std::array<Span, kFieldCount> fields{};
    size_t fieldCount = 0;
};

ParsedItem parseItem(std::string_view text, size_t at) {
    ParsedItem p;
    p.item.key = std::string(text.substr(at + 1, kKeyLength));
    const std::array<std::string*, kFieldCount> out = {&p.item.description, &p.item.request,
                                                       &p.item.position,    &p.item.conversion,
                                                       &p.item.unit,        &p.item.spare};
    size_t pos = at + kDataMark.size();
    for (size_t f = 0; f < kFieldCount; ++f) {
        const size_t open = text.find('[', pos);
        const size_t close = open == std::string_view::npos ? open : text.find(']', open + 1);
        if (close == std::string_view::npos) break;
        *out[f] = std::string(text.substr(open + 1, close - open - 1));
        p.fields[p.fieldCount++] = {open, close};
        pos = close + 1;
    }
    return p;
}

// The next item mark after the item at `at`. A mark inside one of the item's own fields (a
// pre-request beginning with the byte D0, a description quoting "@S") is text, not an item.
size_t nextMark(std::string_view text, const ParsedItem& item, size_t at) {
    size_t from = at + 1;
    for (;;) {
        const size_t m = findMark(text, from);
        if (m == std::string_view::npos) return m;
        bool inside = false;
        for (size_t f = 0; f < item.fieldCount && !inside; ++f) {
            if (m > item.fields[f].open && m < item.fields[f].close) {
                inside = true;
                from = item.fields[f].close + 1;
            }
        }
        if (!inside) return m;
    }
}

}  // namespace

Catalogue readCatalogue(std::string_view text, int start) {
    Catalogue c;
    size_t at = findMark(text, start < 0 ? 0 : static_cast<size_t>(start));
    while (at != std::string_view::npos) {
        if (c.items.size() == kMaxItems) {
            c.truncated = true;
            break;
        }
        ParsedItem parsed = parseItem(text, at);
        const size_t next = nextMark(text, parsed, at);
        c.items.push_back(std::move(parsed.item));
        // The list ends at the first "ENDDATA" after the item; with none, it ends here.
        const size_t end = text.find(kEndData, at);
        if (next == std::string_view::npos || end == std::string_view::npos || next > end) break;
        at = next;
    }
    return c;
}

int itemNumber(std::string_view key) {
    if (key.size() < 3) return -1;
    int n = 0;
    for (char ch : key.substr(key.size() - 3)) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return -1;
        n = n * 10 + (ch - '0');
    }
    return n;
}

std::string quotesAsBlanks(std::string_view text) {
    std::string s(text);
    for (char& ch : s)
        if (ch == '"') ch = ' ';
    return s;
}

}  // namespace corvan::livedata
