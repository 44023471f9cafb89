#include "plugins/vagchannels/channel_rows.h"

#include <algorithm>
#include <cstdio>

#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vagchannels {

namespace {

constexpr int kDefaultFields = 4;
constexpr uint8_t kTextFormula = 0x3F;  // formula 63: the whole block is one text
constexpr int kLastGroup = 255;

std::string fieldNumber(int row) {
    return row < kFieldTexts ? std::to_string(row + 1) : std::string(" ");
}

// How many fields the rows show: four, or as many as a group answer's length says, or one
// when the first field is a text.
int fieldCount(std::span<const uint8_t> answer, bool dynamic) {
    int fields = kDefaultFields;
    if (answer[2] == vag::kTitleGroup) fields = (int(answer[0]) - 3) / 3;
    // A dynamic data block's first byte is a value, not a formula.
    if (!dynamic && answer.size() > 3 && answer[3] == kTextFormula) fields = 1;
    return std::clamp(fields, 0, kRows);
}

ChannelRows group0Rows(std::span<const uint8_t> answer, const ChannelDescriptions& d) {
    ChannelRows rows;
    for (int i = 0; i < kRows; ++i) {
        ChannelRow& r = rows[size_t(i)];
        r.field = std::to_string(i + 1);
        r.description = d.text(0, i);
        const size_t at = 3 + size_t(i);
        if (at < answer.size()) {
            char value[8];
            std::snprintf(value, sizeof value, "%.3d", answer[at]);
            r.value = value;
        } else {
            r.value = std::string(vag::kUnknownValue);
        }
    }
    return rows;
}

}  // namespace

ChannelRows initialRows() {
    ChannelRows rows;
    for (int i = 0; i < kRows; ++i) rows[size_t(i)].field = std::to_string(i + 1);
    return rows;
}

ChannelRows groupRows(int group, std::span<const uint8_t> answer, std::span<const uint8_t> header,
                      const ChannelDescriptions& descriptions) {
    ChannelRows rows;
    if (answer.size() < 3 || answer[2] == vag::kTitleRefused) {
        rows[0].value = std::string(kNotAvailable);
        return rows;
    }
    if (group == 0) return group0Rows(answer, descriptions);
    const bool dynamic = header.size() > 2 && header[2] == vag::kTitleHeader;
    const int fields = fieldCount(answer, dynamic);
    for (int i = 0; i < fields; ++i) {
        ChannelRow& r = rows[size_t(i)];
        r.field = fieldNumber(i);
        r.description = descriptions.text(group, i);
        const auto decoded = dynamic ? vag::decodeDynamicField(answer, i, header)
                                     : vag::decodeFixedField(answer, i, vag::FormulaSet::Channels);
        if (decoded) {
            r.value = decoded->value;
            r.unit = decoded->unit;
        } else {
            r.value = std::string(vag::kUnknownValue);
        }
    }
    return rows;
}

int groupFromText(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), kLastGroup + 1);
    }
    return std::min(value, kLastGroup);
}

int nextGroup(int group) {
    return group >= kLastGroup ? 0 : group + 1;
}

int previousGroup(int group) {
    return group <= 0 ? kLastGroup : group - 1;
}

}  // namespace corvan::vagchannels
