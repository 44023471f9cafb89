#pragma once
// Hexadecimal text as the data files and the result texts write bytes: two upper-case
// digits per byte, high digit first, no separators. When read, only '0'-'9' and 'A'-'F'
// count; every other character (lower-case letters included) is worth 0, as on the device.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

int hexDigitValue(char c);

// The byte written by the two characters at `index` and `index + 1`; a character past the
// end counts as 0.
uint8_t hexByteAt(std::string_view text, size_t index);

// Two characters per byte; a lone last character is ignored.
std::vector<uint8_t> hexToBytes(std::string_view text);

// Two characters per byte as the data write ECU requests, at most `maxBytes` bytes; an odd
// last character pairs with the end of the text, which counts as 0 ("7a1" gives 70 10).
std::vector<uint8_t> hexToBytesPaired(std::string_view text, size_t maxBytes);

// "%.2X" per byte.
std::string byteToHex(uint8_t byte);
std::string bytesToHex(std::span<const uint8_t> bytes);

}  // namespace corvan
