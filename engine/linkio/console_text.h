#pragma once
// The texts of the send/receive console: what the technician types (hexadecimal bytes,
// blanks allowed between them) and how bytes are shown in its list.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::linkio {

// The longest message the console sends (the edit field takes twice as many digits).
inline constexpr size_t kMaxMessageBytes = 64;

// Bytes from typed text: pairs of "0"-"9"/"A"-"F" (lower case accepted), blanks and tabs
// ignored. nullopt for any other character, an odd digit count, no byte at all, or more
// than kMaxMessageBytes bytes.
std::optional<std::vector<uint8_t>> parseTypedBytes(std::string_view typed);

// "1A 80": two upper-case digits per byte, single blanks between them.
std::string spacedHex(std::span<const uint8_t> bytes);

}  // namespace corvan::linkio
