#pragma once
// Decoding one polled item by its conversion kind: "VAG" measuring blocks (fixed or, after
// a header block, dynamic), "VAGCAN" blocks (which lack the leading length byte), and the
// generic rules for everything else.
#include <cstdint>
#include <span>
#include <string_view>

#include "plugins/livedata/live_item.h"
#include "plugins/livedata/vag_decoder.h"

namespace corvan::livedata {

// Block titles of KW1281 group answers.
inline constexpr uint8_t kTitleGroup = 0xE7;          // fields with formula numbers
inline constexpr uint8_t kTitleDynamicHeader = 0x02;  // describes a dynamic group
inline constexpr uint8_t kTitleDynamicData = 0xF4;    // one value byte per field

// A block answer shorter than this (in hexadecimal characters) holds no whole group.
inline constexpr size_t kMinBlockText = 32;

// The block title of an answer text (its byte 2); 0 when the answer is shorter.
uint8_t blockTitle(std::string_view answer);

// Turns the answer text in `item.value` into the shown value (and, for the VAG kinds, the
// unit). `header` is the header block received for the item's request (empty when none);
// `text` is the whole parameter text, where "TBL" tables are found.
void decodeItem(LiveItem& item, std::span<const uint8_t> header, std::string_view text,
                const VagDecoder& vag);

// The generic rules whatever the kind (the demonstration's random answers).
void decodeItemGeneric(LiveItem& item, std::string_view text);

}  // namespace corvan::livedata
