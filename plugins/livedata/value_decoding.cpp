#include "plugins/livedata/value_decoding.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "runtime/hex_text.h"

namespace corvan::livedata {

namespace {

bool isOperator(char ch) {
    return ch == '*' || ch == '+' || ch == '-' || ch == '/';
}

bool isDigit(char ch) {
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

// A decimal number at the start of `text` after blanks, as the device's number reading
// takes it: digits, a point and digits, an exponent; the rest is ignored, and a text that
// does not begin with a number counts as 0.
double leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const size_t begin = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
    }
    if (i == begin || (i == begin + 1 && text[begin] == '.')) return 0;
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E') && isDigit(text[i + 1])) {
        i += 2;
        while (i < text.size() && isDigit(text[i])) ++i;
    }
    double value = 0;
    std::from_chars(text.data() + begin, text.data() + i, value);
    return value;
}

// A byte index as the position field writes it: decimal digits after optional blanks.
std::optional<size_t> byteIndex(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t value = 0;
    const size_t begin = i;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + static_cast<size_t>(text[i] - '0');
        if (value > 1000000) return std::nullopt;  // far beyond any answer
    }
    if (i == begin) return std::nullopt;
    return value;
}

// The digit of the field's last character; anything else counts as 0.
int lastDigit(std::string_view field) {
    return !field.empty() && isDigit(field.back()) ? field.back() - '0' : 0;
}

std::string_view cut(std::string_view text, size_t from, size_t to) {
    if (from >= text.size() || to <= from) return {};
    return text.substr(from, to - from);
}

}  // namespace

std::optional<int> rawValue(std::string_view answer, std::string_view position) {
    const size_t count = answer.size() / 2;
    const size_t comma = position.find(',');
    if (comma == std::string_view::npos) {
        const auto i = byteIndex(position);
        if (!i || *i >= count) return std::nullopt;
        return hexByteAt(answer, 2 * *i);
    }
    const auto i = byteIndex(position.substr(0, comma));
    const auto j = byteIndex(position.substr(comma + 1));
    if (!i || !j || *i >= count || *j >= count) return std::nullopt;
    return hexByteAt(answer, 2 * *i) * 256 + hexByteAt(answer, 2 * *j);
}

float evaluateExpression(std::string_view expression, int raw) {
    float x = static_cast<float>(raw);
    size_t at = 0;
    while (at < expression.size()) {
        const char op = expression[at];
        size_t end = at + 1;
        while (end < expression.size() && !isOperator(expression[end])) ++end;
        const float operand = static_cast<float>(leadingNumber(cut(expression, at + 1, end)));
        switch (op) {
            case '*':
                x = operand * x;
                break;
            case '+':
                x = operand + x;
                break;
            case '-':
                x = x - operand;
                break;
            case '/':
                x = x / operand;
                break;
            case '!':
                x = -x;
                break;
            default:
                break;  // not an operator: skipped with its operand
        }
        at = end;
    }
    return x;
}

std::string calText(std::string_view conversion, int raw) {
    const int decimals = lastDigit(conversion);
    const char* format = decimals == 0   ? "%.0f"
                         : decimals == 1 ? "%.1f"
                         : decimals == 2 ? "%.2f"
                                         : "%.3f";
    const size_t semi = conversion.find(';');
    std::string_view expression;
    if (conversion.find('#') == std::string_view::npos) {
        expression = cut(conversion, 4, semi);
    } else {
        // Signed bytes: expression A for 0..127, expression B (after '|') above.
        const size_t bar = conversion.find('|');
        if (raw > 127)
            expression = bar == std::string_view::npos
                             ? std::string_view()
                             : cut(conversion, bar + 1, conversion.find(';', bar + 1));
        else
            expression = cut(conversion, 5, bar == std::string_view::npos ? semi : bar);
    }
    char out[64];
    std::snprintf(out, sizeof out, format,
                  static_cast<double>(evaluateExpression(expression, raw)));
    return out;
}

std::string logText(std::string_view conversion, std::string_view unit, int raw) {
    const int mask = 1 << lastDigit(conversion);
    const size_t slash = unit.find('/');
    if (slash == std::string_view::npos) return std::string(kUnknownValue);
    // "\"ON\"/\"OFF\"": each text sits inside its quotes on either side of the '/'.
    if ((raw & mask) == mask) return std::string(cut(unit, slash + 2, unit.size() - 1));
    return std::string(cut(unit, 1, slash > 1 ? slash - 1 : 0));
}

std::string tableEntry(std::string_view text, std::string_view name, int index) {
    if (name.empty() || index < 0) return std::string(kUnknownValue);
    std::string key(name);
    key += '=';
    const size_t at = text.find(key);
    const size_t open = at == std::string_view::npos ? at : text.find('{', at + key.size());
    const size_t close = open == std::string_view::npos ? open : text.find('}', open + 1);
    if (close == std::string_view::npos) return std::string(kUnknownValue);
    size_t begin = open + 1;
    for (int i = 0; i < index; ++i) {
        const size_t comma = text.find(',', begin);
        if (comma == std::string_view::npos || comma > close) return std::string(kUnknownValue);
        begin = comma + 1;
    }
    size_t end = text.find(',', begin);
    if (end == std::string_view::npos || end > close) end = close;
    std::string entry;
    for (char ch : text.substr(begin, end - begin))
        if (ch != '"') entry += ch;
    return entry;
}

std::string decodeGeneric(std::string_view answer, std::string_view position,
                          std::string_view conversion, std::string_view unit,
                          std::string_view text) {
    if (answer.empty()) return std::string(kUnknownValue);
    const std::optional<int> raw = rawValue(answer, position);
    if (!raw) return std::string(kUnknownValue);
    const std::string_view kind = conversion.substr(0, 3);
    if (kind == "CAL") return calText(conversion, *raw);
    if (kind == "LOG") return logText(conversion, unit, *raw);
    if (kind == "TBL") return tableEntry(text, cut(conversion, 4, conversion.size()), *raw);
    return std::string(answer);
}

}  // namespace corvan::livedata
