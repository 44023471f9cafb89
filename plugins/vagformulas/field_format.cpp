#include "plugins/vagformulas/field_format.h"

#include <cmath>
#include <cstdio>

#include "platform/text_codec.h"

namespace corvan::vag::detail {

std::string realText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals,
                  static_cast<double>(static_cast<float>(value)));
    return text;
}

std::string wholeText(double value) {
    // Every formula of the tables stays far inside the range of a long long.
    const double single = static_cast<float>(value);
    return std::to_string(static_cast<long long>(std::trunc(single)));
}

std::string factorText(int first, int second) {
    char text[48];
    std::snprintf(text, sizeof text, "Factor: %.2X, Valor: %.2X", first, second);
    return text;
}

std::string unknownUnit(int formula) {
    char text[24];
    std::snprintf(text, sizeof text, "?: %.3i", formula);
    return text;
}

std::string bytesAsText(std::span<const uint8_t> bytes) {
    std::string raw;
    for (uint8_t b : bytes) {
        if (b == 0) break;
        raw.push_back(static_cast<char>(b));
    }
    return cp1252ToUtf8(raw);
}

}  // namespace corvan::vag::detail
