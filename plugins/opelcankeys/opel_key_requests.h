#pragma once
// The requests of the Opel immobilizer on CAN and how its replies read. Each message carries
// the immobilizer's CAN identifier 0x245 in two bytes, a single-frame length and the service
// bytes; in a reply the service stands at byte 7 and the reason of a refusal at byte 9.
// Pure functions.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::opelcankeys {

// 80 0A 20 00 02 45 06 3B 60 c1 c2 c3 c4: the four PIN characters as typed (their codes,
// 0x31 for "1").
std::vector<uint8_t> pinEntryRequest(std::string_view typedPin);
// 80 06 20 00 02 45 02 AA 00: the periodic data stop while keys change.
std::vector<uint8_t> stopPeriodicRequest();
// 80 06 20 00 02 45 02 3B 68 and 3B 69.
std::vector<uint8_t> eraseKeysRequest();
std::vector<uint8_t> learnKeyRequest();

// 0x7B at byte 7 of a reply of `length` bytes.
bool accepted(std::span<const uint8_t> reply, int length);

enum class LearnOutcome {
    Codified,
    NoTransponder,      // reason 0x31: no key or its transponder unreadable
    AlreadyProgrammed,  // reason 0xAF
    Refused,            // any other reason, or no answer from the immobilizer
};
LearnOutcome learnOutcome(std::span<const uint8_t> reply, int length);

}  // namespace corvan::opelcankeys
