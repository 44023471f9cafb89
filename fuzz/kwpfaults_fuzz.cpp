// The stored-codes reader's keys and reply parsing: the text is the data record's menu item
// up to the first NUL ("ACTUAL=", "FUGAZ=", "POK=", "TYPE=", "TYPEDTC=", "IGNORE=",
// "VACTFUG=", ...); the bytes after it are the unit's reply as the box framed it.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_input.h"
#include "plugins/kwpfaults/kwp_layout.h"

using namespace corvan;
using namespace corvan::kwpfaults;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::SplitInput input = fuzz::splitAtNul(data, size);
    const std::string_view text = input.text;
    const std::span<const uint8_t> reply = input.rest;
    const ReaderKeys keys = readReaderKeys(text, 0);
    (void)layoutOfWord(text);
    const StatusRule rule = readStatusRule(text);
    for (int b = 0; b < 256; b += 17) (void)statusOf(rule, uint8_t(b));
    (void)erasesCodes(reply);
    // The length the exchange reports may be shorter than the buffer, never longer.
    for (int length : {0, int(reply.size()) / 2, int(reply.size())}) {
        (void)okByteMatches(keys, reply, length);
        const int n = entryCount(keys, reply, length);
        for (int j = 0; j < n; ++j) {
            (void)entryRecord(keys, reply, length, j, true, text);
            (void)entryRecord(keys, reply, length, j, false, text);
        }
        (void)entryCode(keys, reply, size_t(length), size_t(length) / 3);
    }
    return 0;
}
