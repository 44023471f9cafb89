#include "engine/linkio/console_text.h"

namespace corvan::linkio {

namespace {

int digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::vector<uint8_t>> parseTypedBytes(std::string_view typed) {
    std::vector<uint8_t> bytes;
    int high = -1;
    for (char c : typed) {
        if (c == ' ' || c == '\t') continue;
        const int d = digit(c);
        if (d < 0) return std::nullopt;
        if (high < 0) {
            high = d;
            continue;
        }
        if (bytes.size() == kMaxMessageBytes) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + d));
        high = -1;
    }
    if (high >= 0 || bytes.empty()) return std::nullopt;
    return bytes;
}

std::string spacedHex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        if (!out.empty()) out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

}  // namespace corvan::linkio
