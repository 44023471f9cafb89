#include "plugins/faultcodes/trouble_code.h"

#include <cstdio>

namespace corvan::faultcodes {

std::string letteredCode(uint8_t b1, uint8_t b2) {
    static constexpr char kLetters[4] = {'P', 'C', 'B', 'N'};
    char text[8];
    std::snprintf(text, sizeof text, "%c%.2X%.2X", kLetters[b1 >> 6], b1 & 0x3F, b2);
    return text;
}

std::optional<std::string> resultPairCode(uint8_t b1, uint8_t b2) {
    if ((b1 & 0x3F) == 0 && b2 == 0) return std::nullopt;
    return letteredCode(b1, b2);
}

}  // namespace corvan::faultcodes
