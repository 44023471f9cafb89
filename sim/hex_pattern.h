#pragma once
// Byte strings as scenario files write them: two hexadecimal digits per byte, blanks
// between bytes optional ("1A 80" or "1A80"), upper or lower case. A request pattern may
// hold "??" for any byte and end with "*" for any further bytes; a reply may hold "??" to
// copy the request byte at the same position (the ECU echoes an identifier it was asked).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::sim {

// Plain bytes; nullopt with `error` saying which character is wrong.
std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text, std::string* error);

class BytePattern {
  public:
    // nullopt with `error` set for bad hex, a misplaced "*" or a lone digit.
    static std::optional<BytePattern> parse(std::string_view text, std::string* error);

    bool matches(std::span<const uint8_t> bytes) const;
    // Fills the wildcard and copy positions from `source` (0 past its end).
    std::vector<uint8_t> fill(std::span<const uint8_t> source) const;
    bool hasWildcards() const;
    bool anyTail() const { return anyTail_; }
    bool hasCopies() const;

  private:
    struct Cell {
        uint8_t value = 0;
        bool any = false;
        int copy = -1;  // "$k": the source byte k
    };
    std::vector<Cell> cells_;
    bool anyTail_ = false;
};

// "1A 80 00": upper-case digits with blanks, for messages and traces.
std::string formatHex(std::span<const uint8_t> bytes);

}  // namespace corvan::sim
