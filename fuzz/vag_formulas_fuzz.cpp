// The measuring-block formula tables on arbitrary bytes: every row of the fixed table, the
// fields of a group answer in both formula sets, and a dynamic data block described by an
// arbitrary header (descriptor counts that run past the header included).
#include <cstdint>
#include <span>

#include "plugins/vagformulas/formula_texts.h"
#include "plugins/vagformulas/vag_formulas.h"

using namespace corvan::vag;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (size >= 3) (void)fixedFormula(data[0], data[1], data[2]);
    if (size >= 2) (void)formulaText(int(data[0]) * 4 + data[1] - 64);
    for (int field = -1; field < 6; ++field) {
        (void)decodeFixedField(bytes, field, FormulaSet::LiveData);
        (void)decodeFixedField(bytes, field, FormulaSet::Channels);
    }
    // The first byte splits the input into the header block and the data block.
    const size_t cut = size == 0 ? 0 : data[0] % size;
    const auto header = bytes.subspan(0, cut), block = bytes.subspan(cut);
    for (int field = -1; field < 6; ++field) (void)decodeDynamicField(block, field, header);
    return 0;
}
