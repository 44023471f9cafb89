// The live-data items of the measuring-block kinds: which table decodes an answer, given as
// the hexadecimal text the live-data list keeps.
#include <string>

#include "plugins/vagformulas/vag_formulas.h"
#include "runtime/hex_text.h"

namespace corvan::vag {

namespace {

// A group answer holds its four fields in 16 bytes; a shorter one is not read at all.
constexpr size_t kGroupAnswerChars = 32;

}  // namespace

std::optional<FieldText> decodeVagItem(std::string_view answerHex, int field,
                                       std::span<const uint8_t> header) {
    if (answerHex.empty()) return std::nullopt;
    const std::vector<uint8_t> answer = hexToBytes(answerHex);
    if (header.size() > 2 && header[2] == kTitleHeader)
        return decodeDynamicField(answer, field, header);
    // 32 characters are 16 bytes: the title is there.
    if (answerHex.size() >= kGroupAnswerChars && answer[2] == kTitleGroup)
        return decodeFixedField(answer, field, FormulaSet::LiveData);
    return std::nullopt;
}

std::optional<FieldText> decodeVagCanItem(std::string_view answerHex, int field) {
    if (answerHex.size() < kGroupAnswerChars) return std::nullopt;
    std::string shifted = "00";
    shifted += answerHex;
    return decodeFixedField(hexToBytes(shifted), field, FormulaSet::LiveData);
}

}  // namespace corvan::vag
