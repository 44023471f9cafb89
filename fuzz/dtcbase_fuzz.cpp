// The trouble-code text library: the stored form read in place from arbitrary file bytes,
// the readable sources compiled, and a compiled source written and read back whole. The
// definition lookups run over whatever text came out.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/dtcbase/definition_text.h"
#include "engine/dtcbase/dtc_file.h"
#include "engine/dtcbase/dtc_source.h"

using namespace corvan;
using namespace corvan::dtc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    (void)decodeInPlace(file);

    const std::string_view source(reinterpret_cast<const char*>(data), size);
    for (SourceKind kind : {SourceKind::TroubleCodes, SourceKind::Actuators}) {
        const CompiledSource compiled = compileSource(source, kind);
        if (!compiled.error.empty()) continue;
        auto stored = encodeStoredFile(compiled.text);
        if (!stored) continue;
        const auto length = decodeInPlace(*stored);
        // What was written reads back as it was.
        if (!length || std::string_view(reinterpret_cast<const char*>(stored->data()), *length) !=
                           compiled.text)
            std::abort();
        (void)findDefinition(compiled.text, "P0100");
        (void)findActuator(compiled.text, 17);
    }
    (void)findDefinition(source, source.substr(0, source.size() < 6 ? source.size() : 6));
    return 0;
}
