#pragma once
// The descriptions a unit gives for its adaptation channels: a text code 0 to 570 with
// each value read. The first 256 codes name the same texts as the measuring blocks' text
// table; the rest are the adaptation's own. The texts are Spanish in every language.
#include <optional>
#include <string_view>

namespace corvan::vagadapt {

inline constexpr int kValueTextCount = 571;
inline constexpr int kSharedTextCount = 256;

// The text of `code`; nullopt for a code outside 0 to 570. Code 0 is the empty text.
std::optional<std::string_view> valueText(int code);

}  // namespace corvan::vagadapt
