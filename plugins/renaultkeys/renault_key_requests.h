#pragma once
// The requests of the Renault immobilizer's key learning, KWP 2000 messages with format,
// target (0x26, the immobilizer) and source (0xF1, the tester) bytes; the box adds the
// message checksum. Pure functions.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::renaultkeys {

// Four typed characters, two per byte, high nibble first; only "0"-"9" and "A"-"F" count,
// any other character (lower-case letters too) is worth 0.
std::array<uint8_t, 2> pinBytes(std::string_view typedPin);

// 80 09 20 00 85 26 F1 31 C5 00 p1 p2: start routine 0xC5 with the PIN.
std::vector<uint8_t> learningStartRequest(std::string_view typedPin);
// 80 08 20 00 84 26 F1 3B D2 01 00: write local identifier 0xD2 with 01 00.
std::vector<uint8_t> learningEndRequest();

// The routine started: 0x71 at reply byte 7 and 0xC5 at byte 8.
bool learningStarted(std::span<const uint8_t> reply);

}  // namespace corvan::renaultkeys
