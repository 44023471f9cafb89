// KWPFAULTS.dll: the stored trouble codes of a KWP 2000 unit, for the trouble-code display
// that calls it with its own entry (kwpfaults_entry.h).
#include <cstring>
#include <type_traits>

#include "plugins/kwpfaults/kwp_reader.h"
#include "plugins/kwpfaults/kwpfaults_entry.h"

namespace {

// `text` into a field of `size` bytes, ended by a zero byte, never cut inside a character.
template <size_t size>
void copyField(char (&field)[size], const std::string& text) {
    size_t n = std::min(text.size(), size - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t dll(const char* text, int32_t start,
                                                              KwpFaultRecord* records, int32_t,
                                                              VarboxLink* link,
                                                              const char* definitions) {
    try {
        if (!records || !corvan::linkUsable(link)) return 0;
        // The reader asks no question in a language and shows no window of its own.
        corvan::ModuleContext ctx(*link, 1, "EXE");
        const auto codes = corvan::kwpfaults::readStoredCodes(ctx, text ? text : "", start,
                                                              definitions ? definitions : "");
        int32_t written = 0;
        for (const auto& c : codes) {
            if (written >= kKwpFaultRecords) break;
            KwpFaultRecord& r = records[written++];
            copyField(r.code, c.code);
            copyField(r.description, c.description);
            copyField(r.detail, c.detail);
            copyField(r.status, c.kind);
            copyField(r.extra, c.extra);
        }
        return written;
    } catch (...) {
        return 0;
    }
}
static_assert(std::is_same_v<decltype(&dll), KwpFaultsEntry>, "dll must match KwpFaultsEntry");
