#pragma once
// The text table of the measuring blocks: an ECU that reports a state instead of a number
// sends a text code (formula 37), and the channel adaptation shows the same texts for the
// codes 0 to 255 of its value texts.
#include <string_view>

namespace corvan::vag {

inline constexpr int kFormulaTextCount = 572;

// The text of `code` (0 to 571); empty for any other code. Code 0 is the empty text.
std::string_view formulaText(int code);

}  // namespace corvan::vag
