// The live-data catalogue with its decoding, the selection groups and the recommended
// values: the text is a data record (or a .VRF file) up to the first NUL; the bytes after it
// are the ECU's answers, one per item in turn, and a header block for the VAG kinds.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "plugins/livedata/catalogue.h"
#include "plugins/livedata/item_decoding.h"
#include "plugins/livedata/live_requests.h"
#include "plugins/livedata/recommended_values.h"
#include "plugins/livedata/selection_groups.h"
#include "plugins/livedata/vag_decoder.h"
#include "runtime/hex_text.h"

using namespace corvan;
using namespace corvan::livedata;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::SplitInput input = fuzz::splitAtNul(data, size);
    const std::string_view text = input.text;
    const std::span<const uint8_t> rest = input.rest;
    const Catalogue catalogue = readCatalogue(text, 0);
    (void)readSelectionGroups(text, 0);
    const RecommendedTables tables = parseRecommendedValues(text);

    size_t at = 0;
    auto take = [&](size_t n) {
        const size_t k = at + n <= rest.size() ? n : rest.size() - at;
        std::span<const uint8_t> s = rest.subspan(at, k);
        at += k;
        return s;
    };
    int row = 0;
    for (LiveItem item : catalogue.items) {
        (void)splitRequest(item.request);
        const size_t length = at < rest.size() ? rest[at++] % 40 : 0;
        const auto answer = take(length);
        item.value = bytesToHex(answer);
        const auto header = take(length / 2);
        decodeItem(item, header, text, vagDecoder());
        if (!tables.cells.empty())
            (void)checkRange(item.value, tables.text(int(row % tables.cells.size()), row));
        ++row;
    }
    return 0;
}
