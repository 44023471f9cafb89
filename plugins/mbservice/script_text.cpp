#include "plugins/mbservice/script_text.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::mbservice {

namespace {

constexpr size_t npos = std::string_view::npos;

// A part of `s` as the terminal's string functions cut one: a start past the end or a
// negative count give an empty text, a count past the end stops at the end.
std::string_view mid(std::string_view s, long long from, long long count) {
    if (from < 0) from = 0;
    if (count <= 0 || from >= static_cast<long long>(s.size())) return {};
    return s.substr(static_cast<size_t>(from), static_cast<size_t>(count));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::optional<size_t> scriptBegin(std::string_view text, int start) {
    if (findFrom(text, kScriptMark, start) < 0) return std::nullopt;
    const int brace = findFrom(text, "{", start);
    if (brace < 0) return std::nullopt;
    return static_cast<size_t>(brace) + 1;
}

std::optional<Fetched> fetchStatement(std::string_view text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    const size_t end = text.find(';', pos);
    if (end == npos) return std::nullopt;
    return Fetched{text.substr(pos, end - pos), end + 1};
}

std::string_view dropLeading(std::string_view statement) {
    size_t i = 0;
    while (i < statement.size() && static_cast<unsigned char>(statement[i]) <= 0x40) ++i;
    return statement.substr(i);
}

std::string_view Statement::name() const {
    const size_t open = text_.find('(');
    return open == npos ? std::string_view() : text_.substr(0, open);
}

std::string_view Statement::argument() const {
    const size_t open = text_.find('(');
    if (open == npos) return {};
    std::string_view arg = text_.substr(open + 1);
    // The statement's last character is taken to be its ")". A statement that ends otherwise
    // keeps it all: "JMP(L1) " (a blank before the ";") looks for the label "L1) ".
    if (!arg.empty() && arg.back() == ')') arg.remove_suffix(1);
    return arg;
}

std::string_view Statement::quotedArgument() const {
    const std::string_view arg = argument();
    if (!contains("\"")) return arg;
    return arg.size() < 2 ? std::string_view() : arg.substr(1, arg.size() - 2);
}

std::string_view Statement::operand(size_t k) const {
    std::string_view rest = argument();
    for (size_t i = 0; i < k; ++i) {
        const size_t comma = rest.find(',');
        if (comma == npos) return {};
        rest.remove_prefix(comma + 1);
    }
    return rest.substr(0, rest.find(','));
}

Conditional splitConditional(std::string_view statement) {
    Conditional c;
    const size_t open = statement.find('(');
    const size_t close = statement.find(')');
    if (open == npos || close == npos || close < open) return c;
    c.value = statement.substr(open + 1, close - open - 1);
    const long long from = static_cast<long long>(close) + 2;
    long long count = static_cast<long long>(statement.size()) - from;
    // Scripts separate the embedded statement with "+"; the terminal cuts the embedded
    // statement to the statement's length minus the index of its first "+".
    const size_t plus = statement.find('+');
    if (plus != npos) count = static_cast<long long>(statement.size() - plus);
    c.embedded = mid(statement, from, count);
    return c;
}

int32_t readDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Held just past the 32-bit range, so that the result saturates either way.
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int32_t readValue(std::string_view operand) {
    if (operand.find("0x") != npos) return hexByteAt(operand, 2);
    return readDecimal(operand);
}

std::string formatByte(uint8_t value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%.2X", static_cast<unsigned>(value));
    return buf;
}

std::vector<uint8_t> hexBytesPadded(std::string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve((text.size() + 1) / 2);
    // A lone last character reads as its high digit with a low digit of 0.
    for (size_t i = 0; i < text.size(); i += 2) bytes.push_back(hexByteAt(text, i));
    return bytes;
}

std::optional<size_t> findLabel(std::string_view text, std::string_view label) {
    std::string target = "LABEL(";
    target += label;
    const size_t at = text.find(target);
    if (at == npos) return std::nullopt;
    return at;
}

std::vector<std::string> choiceRows(std::string_view argument) {
    std::vector<std::string> rows;
    for (size_t slash = argument.find('\\'); slash != npos; slash = argument.find('\\')) {
        rows.emplace_back(argument.substr(0, slash));
        argument.remove_prefix(slash + 1);
    }
    return rows;
}

int choiceColumnWidth(const std::vector<std::string>& rows) {
    size_t longest = 0;
    for (const std::string& r : rows) longest = std::max(longest, characterCount(r));
    const double computed = static_cast<double>(longest) * 24 * 0.625;
    const int width = computed >= INT_MAX ? INT_MAX : static_cast<int>(computed);
    return width < 380 ? 280 : width;
}

size_t characterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace corvan::mbservice
