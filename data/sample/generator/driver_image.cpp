#include "data/sample/generator/driver_image.h"

namespace corvan::sample {

namespace {

// 64-bit xorshift seeded from the name, so each driver has its own bytes.
uint64_t seedOf(std::string_view name) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char c : name) h = (h ^ uint8_t(c)) * 1099511628211ull;
    return h ? h : 1;
}

uint8_t nextFiller(uint64_t& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    // Printable bytes are kept out of the filler: only the tag is readable text.
    const uint8_t b = uint8_t(state >> 24);
    return (b >= 0x20 && b <= 0x7E) ? uint8_t(b | 0x80) : b;
}

}  // namespace

std::vector<uint8_t> makeDriverImage(std::string_view name, size_t size) {
    std::vector<uint8_t> image(size);
    uint64_t state = seedOf(name);
    for (auto& b : image) b = nextFiller(state);
    std::string tag = "DRVNAME=";
    tag += name;
    tag += ' ';
    for (size_t i = 0; i < tag.size() && kNameTagOffset + i < size; ++i)
        image[kNameTagOffset + i] = uint8_t(tag[i]);
    return image;
}

}  // namespace corvan::sample
