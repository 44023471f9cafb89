#pragma once
// The Varbox frames of the channel reader. The unit is read with KW1281 blocks built from
// the record's block template ("FRAME="): byte 2 its title, byte 3 the group. Units whose
// template title is 0x29 read groups with it and are set up for a group by stopping the
// box's keep-alive message, acknowledging and reading once (that answer may be the header
// of a dynamic group); the others only get the group read as keep-alive message. While it
// reads, the channel reader makes the box repeat its group read; the box's own message,
// read at the start, is handed back whenever it stops.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::vagchannels {

using Bytes = std::vector<uint8_t>;

// The title of templates of the group-reading family.
inline constexpr uint8_t kGroupReadTitle = 0x29;
inline constexpr size_t kGroupByte = 3;

// The template from the hexadecimal text of "FRAME=": at least 4 bytes (missing ones are
// 0, so the group always has its place) and at most 254 (a frame's data count is one byte).
Bytes blockTemplate(std::string_view frameHex);
bool readsGroupsWithTitle29(std::span<const uint8_t> block);
// The template with `group` in byte 3.
Bytes groupBlock(std::span<const uint8_t> block, uint8_t group);

// 80 n+1 20 00 block.
Bytes readGroupFrame(std::span<const uint8_t> block);
// 80 n+1 86 00 block (stop) and 80 n+1 86 01 block (start).
Bytes maintenanceStopFrame(std::span<const uint8_t> block);
Bytes maintenanceStartFrame(std::span<const uint8_t> block);
// 80 05 20 00 03 00 09 00: the acknowledge block and a filler byte.
Bytes acknowledgeFrame();
// Group 0: 80 04 20 00 03 00 12 (title 0x29 family) or ... 11, and its keep-alive form
// 80 05 86 01 03 00 12 00 or ... 11 00.
Bytes group0ReadFrame(bool title29);
Bytes group0MaintenanceFrame(bool title29);
// 80 00 85.
Bytes queryMaintenanceFrame();

// The frame that hands the box's own keep-alive message back: 80 m 86 01 and the message
// from the reply to the query (its second length byte m and its bytes from byte 4 on).
// Without a proper reply (no reply, the box's "no answer" 0x0A, any other command) it is
// 80 05 86 01 03 00 09 00, an acknowledge repeated.
Bytes restoreFrame(std::span<const uint8_t> queryReply, int length);

}  // namespace corvan::vagchannels
