#pragma once
// The Varbox requests a service script sends and the `FRAME` text it builds them in. Pure:
// bytes and texts in, bytes and texts out; the check byte is added by the send.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::mbservice {

// The count byte of an ECU request holds the message and its 00 byte: 254 message bytes at
// most. The box takes a keep-alive message of at most 96 bytes.
inline constexpr size_t kMaxMessageBytes = 254;
inline constexpr size_t kMaxKeepAliveBytes = 96;
// `FRAME` is sent with SND(FRAME), so it never needs to be longer than one message.
inline constexpr size_t kMaxFrameChars = 2 * kMaxMessageBytes;
inline constexpr size_t kConfigBytes = 40;

// What a script message does to the unit, by its service byte (the message's first byte,
// the box adds the header): "erase" for 14, "login" for a key sent with 27 (an even
// sub-function; the odd one only asks for the seed), "service" for the services that write
// or start a routine (2E, 2F, 30, 31, 3B, 3D); empty for a request that only reads.
std::string_view changingKind(std::span<const uint8_t> message);

// SND: 80, n+1, 20, 00, message; an empty message goes out as 80 00 20.
std::vector<uint8_t> sendRequest(std::span<const uint8_t> message);
// LOGOFF: 80, n+1, 20, 00, message (80 01 20 00 when empty).
std::vector<uint8_t> closingRequest(std::span<const uint8_t> message);
// MNT: 80, n+1, 86, 01, message; MNT(OFF): 80 05 86 00 03 00 09 00.
std::vector<uint8_t> keepAliveOnRequest(std::span<const uint8_t> message);
std::vector<uint8_t> keepAliveOffRequest();
// SETDELAY: the box's 40 configuration bytes with byte 6 := value / 256 and byte 7 :=
// value mod 256 (low 8 bits each); every other byte as read.
std::array<uint8_t, kConfigBytes> withDelay(std::span<const uint8_t, kConfigBytes> config,
                                            int32_t value);

// Writes `chars` into `frame` from character `at` on, in place; a frame too short for them
// is first extended with "0" characters (bytes 00) up to where they go. False, with the frame
// unchanged, when they would end past kMaxFrameChars.
bool writeFrameChars(std::string& frame, size_t at, std::string_view chars);

// What a code entry writes into `FRAME`, by the type word of ENTERPIN. `bad` is set for a
// "TYPE_1" entry that is not hexadecimal text; other type words write nothing.
struct EncodedEntry {
    std::string chars;
    bool bad = false;
};
EncodedEntry encodeEntry(std::string_view type, std::string_view entry);
// The most characters encodeEntry writes for an entry of `length` characters.
size_t entryWidth(std::string_view type, size_t length);

}  // namespace corvan::mbservice
