#pragma once
// The box's program memory as the download sees it. The memory set-up (0x15) starts
// writing at the beginning of the load area without touching the stored program; the
// first block (0x1A) that follows overwrites it, so an interrupted download leaves no valid
// program; the transfer end commits the image and checks it. The driver announces its name
// inside its image as "DRVNAME=" followed by the name (up to the first blank, zero or
// other non-printing byte); an image without it is reported under a fallback name.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvan::sim {

struct DownloadConfig {
    int refuseBlock = -1;   // index of a block the box refuses (byte 3 = 0x0A) ...
    int refuseTimes = 0;    // ... this many times in all
    int failDownloads = 0;  // this many completed downloads fail their final check
    std::string fallbackName = "UNNAMED";
};

class DriverMemory {
  public:
    static constexpr size_t kMaxImage = 4 * 1024 * 1024;
    static constexpr size_t kMaxName = 18;  // the name reply has 19 bytes; one for the blank

    DriverMemory(DownloadConfig config, bool valid, std::string name);

    void memorySetup(std::span<const uint8_t> data);
    // False: the block is refused and must be sent again.
    bool block(std::span<const uint8_t> data);
    void transferEnd();

    bool valid() const { return valid_; }
    const std::string& name() const { return name_; }
    const std::vector<uint8_t>& image() const { return image_; }
    int blocksReceived() const { return blocks_; }
    uint32_t jumpAddress() const { return jump_; }

    // The name a driver image announces, or empty.
    static std::string nameInImage(std::span<const uint8_t> image);

  private:
    DownloadConfig config_;
    bool valid_;
    std::string name_;
    std::vector<uint8_t> image_;
    std::vector<uint8_t> loading_;
    bool writing_ = false;  // a block has overwritten the stored program
    int blocks_ = 0;        // blocks accepted since the memory set-up
    uint32_t jump_ = 0;
};

}  // namespace corvan::sim
