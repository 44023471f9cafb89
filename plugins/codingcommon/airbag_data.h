#pragma once
// What the airbag modules read from their data and from the unit's status reply. The keys
// of the menu item ("INF=", "ON=", "OFF=", "POS=", "BIT=") each take the first bracketed
// value after them, within the item; requests are hexadecimal byte strings, the status
// byte is reply byte 4 + POS and its mask 2 to the power BIT. Pure functions.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::coding {

struct AirbagData {
    std::string inf, on, off;  // the request texts as written
    int pos = 0, bit = 0;
};

// Keys searched from the item's start; a key the item lacks gives an empty text (0 for the
// numbers, which are read as the data write them: leading decimal digits, an optional sign).
AirbagData readAirbagData(std::string_view text, int start);

// 80, n + 1, 20, 00 and the n bytes of a hexadecimal request text (at most 99; "7a" is
// 0x70, an odd last character pairs with 0); empty for an empty text.
std::vector<uint8_t> airbagRequest(std::string_view hexText);

// The status mask for BIT, none for a bit the status byte does not have.
std::optional<uint8_t> statusMask(int bit);

// Reply byte 4 + POS, or 0 when it lies outside the reply buffer.
uint8_t statusByte(std::span<const uint8_t> reply, int pos);

// Every bit of the mask is set in the byte.
bool maskSet(uint8_t byte, uint8_t mask);

}  // namespace corvan::coding
