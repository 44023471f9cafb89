// The live-data items of the kinds "VAG" and "VAGCAN" decode through the same formula tables
// as the channel reader (the live-data set of the fixed table: no text formulas 63 and 95).
#include <vector>

#include "plugins/livedata/vag_decoder.h"
#include "plugins/vagformulas/vag_formulas.h"
#include "runtime/hex_text.h"

namespace corvan::livedata {

namespace {

VagField shown(const std::optional<vag::FieldText>& field, std::string_view unit) {
    if (!field) return {std::string(vag::kUnknownValue), std::string(unit)};
    return {field->value, field->unit};
}

class FormulaTableDecoder final : public VagDecoder {
  public:
    VagField decodeFixed(std::string_view answer, int field,
                         std::string_view unit) const override {
        const std::vector<uint8_t> block = hexToBytes(answer);
        return shown(vag::decodeFixedField(block, field, vag::FormulaSet::LiveData), unit);
    }
    VagField decodeDynamic(std::string_view answer, int field, std::span<const uint8_t> header,
                           std::string_view unit) const override {
        const std::vector<uint8_t> data = hexToBytes(answer);
        return shown(vag::decodeDynamicField(data, field, header), unit);
    }
};

}  // namespace

const VagDecoder& vagDecoder() {
    static const FormulaTableDecoder decoder;
    return decoder;
}

}  // namespace corvan::livedata
