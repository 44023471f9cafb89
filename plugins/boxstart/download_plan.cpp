#include "plugins/boxstart/download_plan.h"

#include <algorithm>

#include "runtime/commands.h"

namespace corvan::boxstart {

StartMode parseMode(std::string_view mode) {
    StartMode m;
    m.skipChecks = !mode.empty() && mode.back() == '@';
    m.text = std::string(m.skipChecks ? mode.substr(0, mode.size() - 1) : mode);
    return m;
}

std::string driverPath(std::string_view dataPath, std::string_view driverFile) {
    std::string path(dataPath);
    path += "\\drv\\";
    path += driverFile;
    return path;
}

std::string driverNameFromReply(std::span<const uint8_t> reply, int length) {
    constexpr size_t kFirst = 3, kNameBytes = 19;
    // Data bytes end before the check byte.
    const size_t end =
        std::min({reply.size(), length > 0 ? size_t(length) - 1 : 0, kFirst + kNameBytes});
    std::string name;
    for (size_t i = kFirst; i < end; ++i) name += static_cast<char>(reply[i]);
    const size_t blank = name.find(' ');
    return blank == std::string::npos ? std::string() : name.substr(0, blank);
}

bool runsDriver(std::string_view driverPath, std::string_view reportedName) {
    return driverPath.find(reportedName) != std::string_view::npos;
}

size_t blockCount(size_t size) {
    return (size + kBlockSize - 1) / kBlockSize;
}

std::array<uint8_t, kBlockFrameSize> blockFrame(std::span<const uint8_t> image, size_t index) {
    std::array<uint8_t, kBlockFrameSize> frame{};
    frame[0] = 0x01;  // L = 256
    frame[1] = 0x00;
    frame[2] = cmd::kDownloadBlock;
    const size_t from = index * kBlockSize;
    if (from < image.size()) {
        const size_t n = std::min(kBlockSize, image.size() - from);
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(from), n, frame.begin() + 3);
    }
    return frame;
}

int blockProgress(size_t index, size_t size) {
    const size_t wholeBlocks = size / kBlockSize;
    if (wholeBlocks == 0) return 17;
    return static_cast<int>(17 + (80 * index) / wholeBlocks);
}

}  // namespace corvan::boxstart
