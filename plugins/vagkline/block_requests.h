#pragma once
// The block dialogue of VAG units on the K line, as the box carries it: each unit message
// is a block (length byte, block counter, block title, data) sent with command 0x20, and
// the box answers with the unit's block from reply byte 4 on. An acknowledge block keeps
// the dialogue going; the box repeats a keep-alive message on its own between dialogues.
// Pure functions: building requests (without the check byte) and reading replies.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::vagkline {

// Reply positions: the unit's block starts at reply byte 4 with its length byte.
inline constexpr size_t kBlockTitleAt = 6;
inline constexpr size_t kFirstDataAt = 7;

// Block titles.
inline constexpr uint8_t kTitleAcknowledge = 0x09;
inline constexpr uint8_t kTitleRefused = 0x0A;
inline constexpr uint8_t kTitleText = 0xF6;  // identification text block
// Bit 7 of the first data byte of a group's first block: another identification group follows.
inline constexpr uint8_t kMoreGroupsBit = 0x80;

// The three requests built from the box's keep-alive message.
struct KeepAliveRequests {
    std::vector<uint8_t> acknowledge;   // 80, L, 20, 00, M
    std::vector<uint8_t> keepAliveOff;  // 80, L, 86, 00, M
    std::vector<uint8_t> keepAliveOn;   // 80, L, 86, 01, M
};

// What the requests are when the box gives no message: an empty acknowledge and the
// acknowledge block 03 00 09 00 as the keep-alive.
KeepAliveRequests presetKeepAliveRequests();

// From the reply to the keep-alive query (80 00 85): the box answers 80, L, 85, on/off,
// then the message M (reply bytes 4 .. L + 2), which the requests carry with the same
// count byte L. A refused or missing reply, one of another command, and a box that holds
// no message (M empty) keep the presets.
KeepAliveRequests keepAliveRequests(std::span<const uint8_t> reply, int length);

// 80, n+1, 20, 00 and the bytes of the hexadecimal text after "DATA=" (the text between
// the first "[" after the key's first occurrence and the next "]"; only "0"-"9" and
// "A"-"F" count as digits). A key that is missing gives the empty message.
std::vector<uint8_t> identificationRequest(std::string_view parameterText);

// 80, 08, 20, 00, 07, 00, 10, c high, c low, w high, w low with c = coding × 2.
std::vector<uint8_t> codingRequest(uint16_t coding, uint16_t workshopCode);

// 80, 09, 20, 00, 08, 00, 2B, a high, a low, 00, w high, w low.
std::vector<uint8_t> loginRequest(uint16_t accessCode, uint16_t workshopCode);

// Reply byte `at`, 0 where the reply is too short to hold it.
inline uint8_t replyByte(std::span<const uint8_t> reply, size_t at) {
    return at < reply.size() ? reply[at] : 0;
}
inline uint8_t blockTitle(std::span<const uint8_t> reply) {
    return replyByte(reply, kBlockTitleAt);
}

// The coding data the unit gives in its fourth identification block: reply bytes 8 and 9
// the coding × 2, 10 and 11 the workshop code, high bytes first.
struct CodingData {
    uint16_t coding = 0;
    uint16_t workshopCode = 0;
};
CodingData codingDataOf(std::span<const uint8_t> fourthReply);

// The workshop code a coding or login block carries: the unit's own, unless it reports 0
// or was not read, then the configured default.
uint16_t workshopCodeToSend(std::optional<uint16_t> unitCode, uint16_t defaultCode);

// A decimal number typed by the technician: the leading digits (an empty field is 0),
// saturating at 0xFFFFFFFF so that an over-long entry never wraps back into range.
uint32_t typedNumber(std::string_view text);

}  // namespace corvan::vagkline
