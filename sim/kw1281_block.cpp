#include "sim/kw1281_block.h"

#include <algorithm>

namespace corvan::sim::kw1281 {

std::optional<uint8_t> blockTitle(std::span<const uint8_t> block) {
    if (block.size() < 3) return std::nullopt;
    return block[2];
}

std::vector<uint8_t> answerBlock(uint8_t counter, uint8_t title, std::span<const uint8_t> data) {
    const size_t n = std::min(data.size(), kMaxBlockData);
    std::vector<uint8_t> block(n + 4);
    block[0] = uint8_t(n + 3);
    block[1] = counter;
    block[2] = title;
    std::copy_n(data.begin(), n, block.begin() + 3);
    block[n + 3] = kBlockEnd;
    return block;
}

}  // namespace corvan::sim::kw1281
