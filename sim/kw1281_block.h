#pragma once
// KW1281 blocks as the box passes them between the host and a unit: byte 0 the block length
// (the bytes after it, the end byte included), byte 1 the block counter, byte 2 the title,
// then the block's data. The host's blocks come without the end byte (the box adds it on
// the line); the unit's answers come with it.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvan::sim::kw1281 {

// Titles of the blocks the host sends.
inline constexpr uint8_t kReadIdentification = 0x00;
inline constexpr uint8_t kCoding = 0x10;
inline constexpr uint8_t kLogin = 0x2B;
inline constexpr uint8_t kAcknowledge = 0x09;     // also the unit's answer to it
inline constexpr uint8_t kEndOfSession = 0x06;    // the unit closes the line
inline constexpr uint8_t kGroupRead = 0x29;       // byte 3: the group
inline constexpr uint8_t kGroupReadOther = 0x21;  // the same on units of the other family
inline constexpr uint8_t kGroup0Read = 0x12;      // group 0 (its ten raw values)
inline constexpr uint8_t kGroup0ReadOther = 0x11;
// Titles of the unit's answers.
inline constexpr uint8_t kRefused = 0x0A;  // no such group or block
inline constexpr uint8_t kGroupAnswer = 0xE7;
inline constexpr uint8_t kDynamicHeader = 0x02;
inline constexpr uint8_t kDynamicData = 0xF4;
inline constexpr uint8_t kText = 0xF6;  // identification texts

inline constexpr uint8_t kBlockEnd = 0x03;
// The most data one block carries (its length byte counts counter, title and end too).
inline constexpr size_t kMaxBlockData = 252;

// The title of a host block; nullopt when it is too short to have one.
std::optional<uint8_t> blockTitle(std::span<const uint8_t> block);

// The unit's answer: length, counter, title, data (cut at kMaxBlockData), end byte.
std::vector<uint8_t> answerBlock(uint8_t counter, uint8_t title, std::span<const uint8_t> data);

}  // namespace corvan::sim::kw1281
