#include "runtime/hex_text.h"

#include <cstdio>

namespace corvan {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

uint8_t hexByteAt(std::string_view text, size_t index) {
    const int high = index < text.size() ? hexDigitValue(text[index]) : 0;
    const int low = index + 1 < text.size() ? hexDigitValue(text[index + 1]) : 0;
    return static_cast<uint8_t>(high * 16 + low);
}

std::vector<uint8_t> hexToBytes(std::string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back(hexByteAt(text, i));
    return bytes;
}

std::vector<uint8_t> hexToBytesPaired(std::string_view text, size_t maxBytes) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size() && bytes.size() < maxBytes; i += 2)
        bytes.push_back(hexByteAt(text, i));
    return bytes;
}

std::string byteToHex(uint8_t byte) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%.2X", static_cast<unsigned>(byte));
    return buf;
}

std::string bytesToHex(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) text += byteToHex(b);
    return text;
}

}  // namespace corvan
