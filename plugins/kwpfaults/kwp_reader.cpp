#include "plugins/kwpfaults/kwp_reader.h"

#include <array>

#include "plugins/kwpfaults/kwp_layout.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"

namespace corvan::kwpfaults {

std::vector<faultcodes::TroubleCode> readStoredCodes(const ModuleContext& ctx,
                                                     std::string_view text, int start,
                                                     std::string_view definitions) {
    const ReaderKeys keys = readReaderKeys(text, start);
    std::vector<faultcodes::TroubleCode> records;
    std::array<uint8_t, 300> reply{};
    for (int pass = 0; pass < (keys.secondPass ? 2 : 1); ++pass) {
        const std::vector<uint8_t>& message = pass == 0 ? keys.present : keys.intermittent;
        // Nothing to ask, or a request that would erase the codes: the pass reads nothing.
        if (message.empty() || erasesCodes(message)) continue;
        const std::vector<uint8_t> request = cmd::ecuRequest(message);
        auto ask = [&] {
            // A reply that does not come leaves nothing of an earlier one to be read.
            reply.fill(0);
            return Exchange(ctx, request, reply, 4, 0.0, 1.0, RetryPrompt::Fixed);
        };
        int length = ask();
        if (!okByteMatches(keys, reply, length)) length = ask();
        if (!okByteMatches(keys, reply, length)) continue;
        const int entries = entryCount(keys, reply, length);
        for (int j = 0; j < entries && records.size() < kMaxRecords; ++j) {
            ctx.pumpMessages();
            if (auto r = entryRecord(keys, reply, length, j, pass == 0, definitions))
                records.push_back(std::move(*r));
        }
    }
    return records;
}

}  // namespace corvan::kwpfaults
