#pragma once
// The adaptation of a VAG unit's channels with KWP 2000 messages (format byte, target T,
// source F1) that the box passes on with command 0x20: a routine is started, a channel
// selected, its value read, a new value tested and saved with the workshop
// identification, and the routine stopped. Pure functions: requests without the check
// byte, and the readings of a reply (the unit's message from reply byte 4 on, so its
// service byte is reply byte 7).
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "plugins/vagkline/workshop_settings.h"

namespace corvan::vagadapt {

// The unit's address: byte 1 of the keep-alive message the box repeats (reply byte 5 of
// the answer to 80 00 85); 0 when the box did not give its message.
uint8_t targetAddress(std::span<const uint8_t> keepAliveReply, int length);

std::vector<uint8_t> startRequest(uint8_t target);                    // 84 T F1 31 B8 01 03
std::vector<uint8_t> selectRequest(uint8_t target, uint8_t channel);  // 85 T F1 31 B9 01 03 c
std::vector<uint8_t> readRequest(uint8_t target);                     // 84 T F1 31 BA 01 03
std::vector<uint8_t> stopRequest(uint8_t target);                     // 84 T F1 32 B8 01 03
std::vector<uint8_t> testRequest(uint8_t target, uint16_t value);     // 86 T F1 31 B9 01 03 v v
// 8C T F1 31 BB 01 03 v v and the six workshop-identification bytes.
std::vector<uint8_t> saveRequest(uint8_t target, uint16_t value, const vagkline::WorkshopId& by);

// Reply byte 7 is 0x71, the positive answer to the routine requests.
bool accepted(std::span<const uint8_t> reply);
// Reply bytes 13 and 14 of a read, high byte first.
uint16_t currentValue(std::span<const uint8_t> reply);
// The value text code of a read (reply bytes 17 and 18) when reply byte 16 is "%".
std::optional<uint16_t> valueTextCode(std::span<const uint8_t> reply);

}  // namespace corvan::vagadapt
