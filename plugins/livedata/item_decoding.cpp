#include "plugins/livedata/item_decoding.h"

#include <cctype>
#include <optional>

#include "plugins/livedata/value_decoding.h"
#include "runtime/hex_text.h"

namespace corvan::livedata {

namespace {

// The field number of a VAG item: decimal digits, counted from 0.
std::optional<int> fieldNumber(std::string_view position) {
    int n = 0;
    size_t i = 0;
    while (i < position.size() && (position[i] == ' ' || position[i] == '\t')) ++i;
    const size_t begin = i;
    for (; i < position.size() && std::isdigit(static_cast<unsigned char>(position[i])); ++i) {
        n = n * 10 + (position[i] - '0');
        if (n > 255) return std::nullopt;  // a block never holds that many fields
    }
    if (i == begin) return std::nullopt;
    return n;
}

void unknown(LiveItem& item) {
    item.value = std::string(kUnknownValue);
}

void apply(LiveItem& item, VagField field) {
    item.value = std::move(field.value);
    item.unit = std::move(field.unit);
}

void decodeVag(LiveItem& item, std::span<const uint8_t> header, const VagDecoder& vag) {
    const std::optional<int> field = fieldNumber(item.position);
    if (item.value.empty() || !field) return unknown(item);
    if (header.size() > 2 && header[2] == kTitleDynamicHeader)
        return apply(item, vag.decodeDynamic(item.value, *field, header, item.unit));
    if (blockTitle(item.value) == kTitleGroup && item.value.size() >= kMinBlockText)
        return apply(item, vag.decodeFixed(item.value, *field, item.unit));
    unknown(item);
}

// CAN answers start at the block counter; "00" in front puts field i at byte 3 + 3i as in
// a K-line block. Their title is not looked at.
void decodeVagCan(LiveItem& item, const VagDecoder& vag) {
    const std::optional<int> field = fieldNumber(item.position);
    if (item.value.size() < kMinBlockText || !field) return unknown(item);
    item.value = "00" + item.value;
    apply(item, vag.decodeFixed(item.value, *field, item.unit));
}

}  // namespace

uint8_t blockTitle(std::string_view answer) {
    return answer.size() >= 6 ? hexByteAt(answer, 4) : 0;
}

void decodeItem(LiveItem& item, std::span<const uint8_t> header, std::string_view text,
                const VagDecoder& vag) {
    if (item.isVag()) return decodeVag(item, header, vag);
    if (item.isVagCan()) return decodeVagCan(item, vag);
    decodeItemGeneric(item, text);
}

void decodeItemGeneric(LiveItem& item, std::string_view text) {
    item.value = decodeGeneric(item.value, item.position, item.conversion, item.unit, text);
}

}  // namespace corvan::livedata
