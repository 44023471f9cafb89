#pragma once
// The engine unit's on-board self-test over KWP 2000, as the box passes it on (request
// frames of the box, ECU 0x10, tester 0xFA): the fixed requests, the erase request from the
// data, and what the replies mean. Pure functions over bytes; the module sends them.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "plugins/faultcodes/trouble_code.h"

namespace corvan::faultcodes {

// The routine: 0x82 when the technician says the engine runs, else 0x81.
inline constexpr uint8_t kRoutineEngineStopped = 0x81;
inline constexpr uint8_t kRoutineEngineRunning = 0x82;
// At most this many codes are kept from one test.
inline constexpr size_t kMaxCodes = 30;
inline constexpr std::string_view kSelfTestKind = "AUTOTEST";

std::vector<uint8_t> preReadRequest();               // 80 07 20 00 C4 10 FA 22 02 00
std::vector<uint8_t> startRequest(uint8_t routine);  // 80 07 20 00 C4 10 FA 31 r 00
std::vector<uint8_t> watchRequest(uint8_t routine);  // 80 07 20 00 C4 10 FA 32 r 00
// Byte 3 is 0xFF here, not 0x00: the box treats the results request apart.
std::vector<uint8_t> resultsRequest(uint8_t routine);  // 80 07 20 FF C4 10 FA 33 r 00

// 80, n+1, 20, 00 and the bytes of "ERASE=" (hexadecimal text); empty without bytes.
std::vector<uint8_t> eraseRequest(std::string_view eraseHex);
// The ECU took the erase: reply byte 7 is the request's service byte (its byte 7) with the
// positive-answer bit 0x40.
bool eraseAccepted(std::span<const uint8_t> request, std::span<const uint8_t> reply, int length);

// The results reply is a negative answer (reply byte 7 is 0x7F).
bool resultsRefused(std::span<const uint8_t> reply, int length);

// The codes of a results reply: (reply byte 1 - 5) / 2 pairs from reply byte 8 on, never
// past the reply's `length` bytes, at most 30. A code found in `definitions` takes its
// three fields; any other gets kUnidentifiedDescription and the ECU's answer (reply byte 4
// on, reply byte 1 - 1 bytes) in hexadecimal as its detail.
std::vector<TroubleCode> resultCodes(std::span<const uint8_t> reply, int length,
                                     std::string_view definitions);

}  // namespace corvan::faultcodes
