#pragma once
// What the parser targets share: the input split at its first NUL byte into a text and the
// bytes after it, so one input carries a data text and the values read against it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace corvan::fuzz {

struct SplitInput {
    std::string_view text;
    std::span<const uint8_t> rest;
};

inline SplitInput splitAtNul(const uint8_t* data, size_t size) {
    size_t n = 0;
    while (n < size && data[n] != 0) ++n;
    const std::string_view text(reinterpret_cast<const char*>(data), n);
    const size_t after = n < size ? n + 1 : n;
    return {text, std::span<const uint8_t>(data + after, size - after)};
}

}  // namespace corvan::fuzz
