// Identification records and their rendering: the text is a data record up to its first
// NUL; the bytes after it are the replies, each framed as the box sends them, handed to the
// records in turn (the reply's length as the exchange would report it, short ones too).
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/fuzz_input.h"
#include "plugins/identify/id_records.h"
#include "plugins/identify/id_render.h"

using namespace corvan;
using namespace corvan::identify;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::SplitInput input = fuzz::splitAtNul(data, size);
    const std::string_view text = input.text;
    const std::span<const uint8_t> replies = input.rest;
    const auto records = readIdRecords(text, 0);
    size_t at = 0;
    for (const IdRecord& r : records) {
        (void)r.label();
        (void)identificationRequest(r.request);
        const size_t n = at < replies.size() ? replies[at++] % 48 : 0;
        const auto reply = replies.subspan(at, at + n <= replies.size() ? n : replies.size() - at);
        at += reply.size();
        const int length = n % 3 == 0 ? int(reply.size()) : int(reply.size()) / 2;
        const std::string raw = replyText(reply, length);
        (void)renderValue(raw, r.start, r.count, r.format);
    }
    return 0;
}
