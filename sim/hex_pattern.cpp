#include "sim/hex_pattern.h"

#include <cstdio>

namespace corvan::sim {
namespace {

int digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\n';
}

std::string describe(std::string_view text, size_t at, const char* what) {
    std::string s = what;
    s += " at character ";
    s += std::to_string(at + 1);
    s += " of \"";
    s += std::string(text.substr(0, 64));
    s += text.size() > 64 ? "...\"" : "\"";
    return s;
}

// Splits the text into two-character tokens; blanks only between tokens.
bool tokens(std::string_view text, std::vector<std::pair<size_t, std::string_view>>& out,
            std::string* error) {
    size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == '*') {
            out.emplace_back(i, text.substr(i, 1));
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || isBlank(text[i + 1])) {
            if (error) *error = describe(text, i, "lone hex digit");
            return false;
        }
        out.emplace_back(i, text.substr(i, 2));
        i += 2;
    }
    return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text, std::string* error) {
    std::vector<std::pair<size_t, std::string_view>> toks;
    if (!tokens(text, toks, error)) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(toks.size());
    for (const auto& [at, tok] : toks) {
        if (tok.size() != 2 || digit(tok[0]) < 0 || digit(tok[1]) < 0) {
            const size_t bad = (tok.size() == 2 && digit(tok[0]) >= 0) ? at + 1 : at;
            if (error) *error = describe(text, bad, "bad hex digit");
            return std::nullopt;
        }
        bytes.push_back(uint8_t(digit(tok[0]) * 16 + digit(tok[1])));
    }
    return bytes;
}

std::optional<BytePattern> BytePattern::parse(std::string_view text, std::string* error) {
    std::vector<std::pair<size_t, std::string_view>> toks;
    if (!tokens(text, toks, error)) return std::nullopt;
    BytePattern p;
    for (size_t k = 0; k < toks.size(); ++k) {
        const auto& [at, tok] = toks[k];
        if (tok == "*") {
            if (k + 1 != toks.size()) {
                if (error) *error = describe(text, at, "\"*\" must be the last token");
                return std::nullopt;
            }
            p.anyTail_ = true;
            continue;
        }
        if (tok == "??") {
            p.cells_.push_back({0, true, -1});
            continue;
        }
        if (tok[0] == '$' && tok[1] >= '0' && tok[1] <= '9') {
            p.cells_.push_back({0, false, tok[1] - '0'});
            continue;
        }
        if (digit(tok[0]) < 0 || digit(tok[1]) < 0) {
            const size_t bad = digit(tok[0]) >= 0 ? at + 1 : at;
            if (error) *error = describe(text, bad, "bad hex digit");
            return std::nullopt;
        }
        p.cells_.push_back({uint8_t(digit(tok[0]) * 16 + digit(tok[1])), false, -1});
    }
    return p;
}

bool BytePattern::matches(std::span<const uint8_t> bytes) const {
    if (bytes.size() < cells_.size()) return false;
    if (!anyTail_ && bytes.size() != cells_.size()) return false;
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (cells_[i].copy >= 0) return false;  // copies belong in replies
        if (!cells_[i].any && cells_[i].value != bytes[i]) return false;
    }
    return true;
}

std::vector<uint8_t> BytePattern::fill(std::span<const uint8_t> source) const {
    std::vector<uint8_t> out;
    out.reserve(cells_.size());
    auto at = [&](size_t i) { return i < source.size() ? source[i] : uint8_t(0); };
    for (size_t i = 0; i < cells_.size(); ++i) {
        const Cell& c = cells_[i];
        out.push_back(c.copy >= 0 ? at(size_t(c.copy)) : c.any ? at(i) : c.value);
    }
    return out;
}

bool BytePattern::hasWildcards() const {
    if (anyTail_) return true;
    for (const Cell& c : cells_)
        if (c.any) return true;
    return false;
}

bool BytePattern::hasCopies() const {
    for (const Cell& c : cells_)
        if (c.copy >= 0) return true;
    return false;
}

std::string formatHex(std::span<const uint8_t> bytes) {
    std::string s;
    s.reserve(bytes.size() * 3);
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %.2X" : "%.2X", bytes[i]);
        s += buf;
    }
    return s;
}

}  // namespace corvan::sim
