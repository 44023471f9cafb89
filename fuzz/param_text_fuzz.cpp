// The parameter-text lookups every plug-in uses on data records written by others: keys,
// brackets, sections, quotes and numbers, and the configuration file's key reading. The
// text is the input up to its first NUL; the bytes after it give the key and the start.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/config_text.h"
#include "runtime/param_text.h"

using namespace corvan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::SplitInput input = fuzz::splitAtNul(data, size);
    const std::string_view text = input.text;
    const std::span<const uint8_t> rest = input.rest;
    const std::string key(rest.begin(), rest.begin() + (rest.size() < 12 ? rest.size() : 12));
    const int start = rest.empty() ? 0 : int(rest[0]) * 8 - 64;  // negative starts too

    (void)GetKeyValue(text, key, start);
    (void)GetKeyValue(text, "DLL=", start);
    (void)findKey(text, key, start);
    (void)findAll(text, "<MNU", start, int(text.size()) / 2);
    (void)sectionText(text, "#MENU");
    (void)configValue(text, "PORT=");
    (void)configValue(text, key);
    (void)stripQuotes(text);
    (void)dropEnds(text);
    (void)readDecimal(text);
    // Bracket after bracket until the text is used up: every read moves on or stops.
    int pos = start < 0 ? 0 : start;
    for (int guard = 0; guard < 4096 && pos >= 0 && pos < int(text.size()); ++guard) {
        const int before = pos;
        (void)readBracket(text, pos);
        if (pos <= before) break;
    }
    return 0;
}
