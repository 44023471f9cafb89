#pragma once
#include <array>
#include <cstdint>

namespace corvan::sample {

// Rows of a glyph, top first; bit 4 is the leftmost column. Unknown characters are blank.
const std::array<uint8_t, 7>& glyph(char c);

}  // namespace corvan::sample
