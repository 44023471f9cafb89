#include "engine/dtcbase/dtc_file.h"

#include <algorithm>
#include <array>

namespace corvan::dtc {

namespace {

constexpr std::array<uint8_t, 4> kMark = {'C', 'D', 'T', 'F'};

// The keystream depends on the text length, so that two files of different length do not
// share their scrambling.
class Keystream {
  public:
    explicit Keystream(uint32_t length) : state_(0x2F6B4E1Du ^ length) {}
    uint8_t next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<uint8_t>(state_ >> 16);
    }

  private:
    uint32_t state_;
};

// CRC-32 (IEEE 802.3, reflected, initial and final value all ones), byte by byte.
class Crc32 {
  public:
    void add(uint8_t b) {
        crc_ ^= b;
        for (int k = 0; k < 8; ++k) crc_ = (crc_ >> 1) ^ (0xEDB88320u & (0u - (crc_ & 1u)));
    }
    uint32_t value() const { return ~crc_; }

  private:
    uint32_t crc_ = 0xFFFFFFFFu;
};

void putLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t getLe32(std::span<const uint8_t> b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

}  // namespace

uint32_t crc32(std::span<const uint8_t> bytes) {
    Crc32 crc;
    for (uint8_t b : bytes) crc.add(b);
    return crc.value();
}

std::optional<std::vector<uint8_t>> encodeStoredFile(std::string_view text) {
    if (text.find('\0') != std::string_view::npos || text.size() > 0x7FFFFFF0u) return std::nullopt;
    const auto* plain = reinterpret_cast<const uint8_t*>(text.data());
    const std::span<const uint8_t> bytes(plain, text.size());
    std::vector<uint8_t> out(kMark.begin(), kMark.end());
    out.push_back(kFormatVersion);
    putLe32(out, static_cast<uint32_t>(text.size()));
    putLe32(out, crc32(bytes));
    Keystream key(static_cast<uint32_t>(text.size()));
    for (uint8_t b : bytes) out.push_back(b ^ key.next());
    return out;
}

std::optional<size_t> decodeInPlace(std::span<uint8_t> content) {
    if (content.size() < kHeaderSize) return std::nullopt;
    if (!std::equal(kMark.begin(), kMark.end(), content.begin())) return std::nullopt;
    if (content[4] != kFormatVersion) return std::nullopt;
    const uint32_t length = getLe32(content, 5);
    if (length != content.size() - kHeaderSize) return std::nullopt;
    const uint32_t expected = getLe32(content, 9);

    // First pass: check the text without writing, so a damaged file stays as it was.
    Crc32 crc;
    Keystream check(length);
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = content[kHeaderSize + i] ^ check.next();
        if (b == 0) return std::nullopt;
        crc.add(b);
    }
    if (crc.value() != expected) return std::nullopt;

    Keystream key(length);
    for (size_t i = 0; i < length; ++i) content[i] = content[kHeaderSize + i] ^ key.next();
    content[length] = 0;
    return length;
}

}  // namespace corvan::dtc
