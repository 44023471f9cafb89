#pragma once
// What the channel reader's ten rows show for one answer of the unit, and the group number
// the technician steps or types.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "plugins/vagchannels/channel_descriptions.h"

namespace corvan::vagchannels {

inline constexpr int kRows = 10;
// The value of the first row when the unit refuses the group (or nothing came).
inline constexpr std::string_view kNotAvailable = "NO DISPONIBLE";

struct ChannelRow {
    std::string field;  // the field number, 1 to 10; a blank for fields 5 to 10
    std::string description;
    std::string value;
    std::string unit;
    bool operator==(const ChannelRow&) const = default;
};
using ChannelRows = std::array<ChannelRow, kRows>;

// Before the first read: the field numbers 1 to 10 and nothing else.
ChannelRows initialRows();

// The rows for the unit's answer `answer` (its own bytes: length, counter, title, ...) to a
// read of `group`. `header` is the answer of the group's set-up: when its title is 0x02 the
// group is dynamic. Group 0 shows ten raw values ("%.3d"); other groups their fields, four
// unless a group answer (title 0xE7) counts them by its length, one for a text (formula
// 63). An answer refused by the unit (title 0x0A), or none at all, shows "NO DISPONIBLE".
ChannelRows groupRows(int group, std::span<const uint8_t> answer, std::span<const uint8_t> header,
                      const ChannelDescriptions& descriptions);

// The group field as the reader takes it: the decimal value of its leading digits (0 when
// there are none), at most 255.
int groupFromText(std::string_view text);
// '+' and '-': 255 and 0 wrap round.
int nextGroup(int group);
int previousGroup(int group);

}  // namespace corvan::vagchannels
