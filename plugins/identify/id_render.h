#pragma once
// From request text to shown value: the Varbox frame of an identification request, the reply
// text of the ECU's answer, and the rendering of one value cut out of it. Pure functions.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::identify {

// The frame (without its check byte) for a request text of n bytes: 80, n+1, 20, 00 and the
// bytes. An empty request text gives 80 00 20.
std::vector<uint8_t> identificationRequest(std::string_view requestText);

// The reply text of an exchange that returned `length`: the ECU's bytes from index 4 on,
// (reply byte 1) - 1 of them (the low length byte alone counts), as hexadecimal text.
// Empty for no reply (length 0) and for a reply with command 0x0A (the ECU did not answer).
std::string replyText(std::span<const uint8_t> reply, int length);

// The value at byte `start` (decimal text), `count` bytes long, in `format` ("HEX",
// "ASCII", "DEC", "HEX2DEC", optionally after "!" for reverse byte order), from the
// hexadecimal reply text `raw`. "???" when the reply is too short, a number is negative,
// or the format is unknown.
std::string renderValue(std::string_view raw, std::string_view start, std::string_view count,
                        std::string_view format);

}  // namespace corvan::identify
