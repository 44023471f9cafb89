#pragma once
// The start-up of the box as data and arithmetic: the mode text, the driver file's path,
// the name check, the 256-byte blocks of a driver image and the progress they show, and
// the pacing of every exchange. Pure functions.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvan::boxstart {

// Attempts, wait before each cycle and pause between reads (milliseconds) of one exchange.
struct Pacing {
    int attempts;
    int waitMs;
    int pollMs;
};
inline constexpr Pacing kFirstStatus{3, 0, 300};
inline constexpr Pacing kBoxReset{3, 200, 100};
inline constexpr Pacing kSetupBeforeCheck{3, 0, 1};
inline constexpr Pacing kSecondStatus{3, 0, 300};
inline constexpr Pacing kStartProgram{3, 200, 100};
inline constexpr Pacing kDriverName{4, 0, 100};
inline constexpr Pacing kStatusBeforeDownload{4, 0, 100};
inline constexpr Pacing kClosingExchange{3, 0, 100};  // set-up, jump, end, final status

// Pauses of the start-up, in milliseconds.
inline constexpr int kAfterResetMs = 3000;
inline constexpr int kAfterStartMs = 500;
inline constexpr int kBlockReadPauseMs = 100;
inline constexpr int kRefusedBlockPauseMs = 200;
inline constexpr int kBlockReads = 3;
inline constexpr int kBlockRefusals = 3;  // the third refusal of one block ends the download
inline constexpr int kStartAttempts = 5;

// Box replies the start-up tests.
inline constexpr uint8_t kDriverRunningFlag = 0x80;  // status byte 0 while a driver runs
inline constexpr uint8_t kProgramValid = 0xFF;       // status byte 3 after a good download
inline constexpr uint8_t kBlockRefused = 0x0A;       // block reply byte 3

// Memory set-up data: prepare the load area, and set the jump at the end of memory.
inline constexpr std::array<uint8_t, 4> kLoadAreaSetup{0x82, 0x00, 0x00, 0x00};
inline constexpr std::array<uint8_t, 4> kEndJumpSetup{0x80, 0x00, 0x7F, 0xF0};

// The mode text as the start-up uses it: a trailing "@" is cut off and asks for the
// download without any box check; what is left switches the progress window, the retry
// prompts and the final messages on when it is not empty.
struct StartMode {
    std::string text;
    bool skipChecks = false;
};
StartMode parseMode(std::string_view mode);

// Install path + "\drv\" + the `DRV` value (relative to the root of the file system).
std::string driverPath(std::string_view dataPath, std::string_view driverFile);

// The name in a driver-name reply of `length` bytes: reply bytes 3 to 21 (those inside the
// frame's data), cut before the first blank; without a blank the name is empty.
std::string driverNameFromReply(std::span<const uint8_t> reply, int length);

// Whether the box runs the driver of this file: the path contains the reported name (an
// empty name is contained in every path).
bool runsDriver(std::string_view driverPath, std::string_view reportedName);

inline constexpr size_t kBlockSize = 256;
inline constexpr size_t kBlockFrameSize = kBlockSize + 4;  // 01 00 1A, data, check byte

// Blocks of an image of `size` bytes (the last one may be partly filler).
size_t blockCount(size_t size);

// The data-block frame of block `index` (header and data; the block send adds the check
// byte). Past the end of the image the block is filled with zeros: the box's loader
// stops at the jump set after the transfer and never runs them.
std::array<uint8_t, kBlockFrameSize> blockFrame(std::span<const uint8_t> image, size_t index);

// Progress bar position while block `index` of an image of `size` bytes goes out:
// 17 + 80 x index / (size / 256 rounded down). An image shorter than one block has no
// divisor; its bar stays at 17.
int blockProgress(size_t index, size_t size);

}  // namespace corvan::boxstart
