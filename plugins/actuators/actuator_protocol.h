#pragma once
// The actuator test (output test) routine of a KWP 2000 unit as the box passes it on: the
// unit's address from the box's keep-alive message, the five requests, and what their
// replies say. Pure functions over bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvan::actuators {

// The code that marks the end of the test.
inline constexpr int kEndCode = 1195;

// The unit's address: byte 1 of the keep-alive message in the reply to 80 00 85 (reply
// bytes from 4 on), unless the box says no ECU answered (command 0x0A) or the message is
// too short to name it; then 0.
uint8_t targetAddress(std::span<const uint8_t> reply, int length);

enum class Step { Prepare, Start, Read, Advance, Stop };
// 80 08 20 00, then 84 T F1 and the step's service, routine and two bytes.
std::vector<uint8_t> stepRequest(Step step, uint8_t target);

// Reply byte 7 is 0x71: the unit took the request.
bool accepted(std::span<const uint8_t> reply);
// After a read: reply bytes 13 and 14, high byte first.
int actuatorCode(std::span<const uint8_t> reply);
// After a read: reply byte 11 is 0x01 while the unit still drives the actuator.
bool busy(std::span<const uint8_t> reply);

}  // namespace corvan::actuators
