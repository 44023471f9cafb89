#include "sim/driver_memory.h"

#include <algorithm>
#include <string_view>

namespace corvan::sim {

DriverMemory::DriverMemory(DownloadConfig config, bool valid, std::string name)
    : config_(std::move(config)), valid_(valid), name_(std::move(name)) {}

void DriverMemory::memorySetup(std::span<const uint8_t> data) {
    // 80 00 7F F0 sets the jump at the end of memory; 82 00 00 00 prepares the load area.
    if (data.size() >= 4 && data[0] == 0x80) {
        jump_ = uint32_t(data[1]) << 16 | uint32_t(data[2]) << 8 | data[3];
        return;
    }
    blocks_ = 0;
    loading_.clear();
}

bool DriverMemory::block(std::span<const uint8_t> data) {
    if (blocks_ == config_.refuseBlock && config_.refuseTimes > 0) {
        --config_.refuseTimes;
        return false;
    }
    if (loading_.size() + data.size() > kMaxImage) return false;
    writing_ = true;
    valid_ = false;
    loading_.insert(loading_.end(), data.begin(), data.end());
    ++blocks_;
    return true;
}

void DriverMemory::transferEnd() {
    if (!writing_) return;
    writing_ = false;
    image_ = std::move(loading_);
    loading_.clear();
    const std::string announced = nameInImage(image_);
    name_ = announced.empty() ? config_.fallbackName : announced;
    if (config_.failDownloads > 0) {
        --config_.failDownloads;
        valid_ = false;
        return;
    }
    valid_ = true;
}

std::string DriverMemory::nameInImage(std::span<const uint8_t> image) {
    static constexpr std::string_view kTag = "DRVNAME=";
    auto it = std::search(image.begin(), image.end(), kTag.begin(), kTag.end());
    if (it == image.end()) return {};
    std::string name;
    for (it += kTag.size(); it != image.end() && name.size() < kMaxName; ++it) {
        if (*it <= 0x20 || *it >= 0x7F) break;
        name += char(*it);
    }
    return name;
}

}  // namespace corvan::sim
