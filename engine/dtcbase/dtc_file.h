#pragma once
// The stored form of the files in the installation's "\dtc\" folder (trouble-code
// definitions and actuator descriptions). A file is a 13-byte header followed by the text,
// scrambled byte by byte with a keystream, so that the files are not read or changed by
// hand on the terminal and a damaged file is recognised instead of showing wrong texts:
//
//   bytes 0..3   "CDTF"
//   byte  4      format version (1)
//   bytes 5..8   N, the length of the text (little-endian)
//   bytes 9..12  CRC-32 (IEEE 802.3) of the text (little-endian)
//   bytes 13..   the N text bytes, each XORed with the keystream byte of its position
//
// The text is 8-bit (Windows-1252) and holds no zero byte. Decoding works in place: the
// text ends up at the start of the buffer with a zero byte after it, which always fits
// because the header is longer than that byte.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::dtc {

inline constexpr size_t kHeaderSize = 13;
inline constexpr uint8_t kFormatVersion = 1;

uint32_t crc32(std::span<const uint8_t> bytes);

// The stored file of `text`; nullopt when the text holds a zero byte (it could not be read
// back as text).
std::optional<std::vector<uint8_t>> encodeStoredFile(std::string_view text);

// Reverses encodeStoredFile in place. On success returns N: bytes 0..N-1 hold the text and
// byte N is 0. A buffer that is not such a file (wrong mark, version or length, a check
// that fails) is left untouched and gives nullopt.
std::optional<size_t> decodeInPlace(std::span<uint8_t> content);

}  // namespace corvan::dtc
