#pragma once
// Varbox frames: byte 0 = flag bit (0x80) + high 7 bits of the data count L, byte 1 = low 8
// bits of L, byte 2 = command, L data bytes, then a check byte that makes the XOR of the
// whole frame (L + 4 bytes) zero. Pure functions, no I/O.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvan::frame {

constexpr uint8_t kFlag = 0x80;
constexpr size_t kHeaderSize = 3;
constexpr size_t kMaxDataLength = 0x7FFF;

// L from the first two bytes; the flag bit is not part of it (0x81 0x02 gives 258).
inline size_t dataLength(uint8_t b0, uint8_t b1) {
    return static_cast<size_t>(b0 & 0x7F) * 256 + b1;
}

inline uint8_t xorOf(std::span<const uint8_t> bytes) {
    uint8_t x = 0;
    for (uint8_t b : bytes) x ^= b;
    return x;
}

// A whole frame is good when its length matches its header and its XOR is zero.
inline bool isGood(std::span<const uint8_t> whole) {
    return whole.size() >= 4 && dataLength(whole[0], whole[1]) + 4 == whole.size() &&
           xorOf(whole) == 0;
}

// Header + data with the check byte appended. `flag` sets bit 7 of byte 0.
inline std::vector<uint8_t> build(uint8_t command, std::span<const uint8_t> data, bool flag) {
    std::vector<uint8_t> f;
    f.reserve(data.size() + 4);
    f.push_back(static_cast<uint8_t>((flag ? kFlag : 0) | ((data.size() >> 8) & 0x7F)));
    f.push_back(static_cast<uint8_t>(data.size() & 0xFF));
    f.push_back(command);
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(xorOf(f));
    return f;
}

}  // namespace corvan::frame
