// corvan-dtc-write: writes the stored files of the installation's "\dtc\" folder from their
// readable sources, and shows the text of a stored file (for support).
//
//     corvan-dtc-write codes SOURCE FILE       trouble-code definitions
//     corvan-dtc-write actuators SOURCE FILE   actuator descriptions
//     corvan-dtc-write show FILE               the text of a stored file, as the modules read it
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/dtcbase/dtc_file.h"
#include "engine/dtcbase/dtc_source.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: corvan-dtc-write codes|actuators SOURCE FILE\n"
                 "       corvan-dtc-write show FILE\n");
    return 1;
}

int write(corvan::dtc::SourceKind kind, const char* sourcePath, const char* filePath) {
    const auto source = corvan::readWholeFile(sourcePath);
    if (!source) {
        std::fprintf(stderr, "corvan-dtc-write: cannot read %s\n", sourcePath);
        return 2;
    }
    const corvan::dtc::CompiledSource compiled = corvan::dtc::compileSource(*source, kind);
    if (!compiled.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", sourcePath, compiled.error.c_str());
        return 2;
    }
    const auto stored = corvan::dtc::encodeStoredFile(compiled.text);
    if (!stored || !corvan::writeFileAtomic(
                       filePath, std::string_view(reinterpret_cast<const char*>(stored->data()),
                                                  stored->size()))) {
        std::fprintf(stderr, "corvan-dtc-write: cannot write %s\n", filePath);
        return 3;
    }
    return 0;
}

int show(const char* filePath) {
    auto bytes = corvan::readWholeFile(filePath);
    if (!bytes) {
        std::fprintf(stderr, "corvan-dtc-write: cannot read %s\n", filePath);
        return 2;
    }
    std::span<uint8_t> content(reinterpret_cast<uint8_t*>(bytes->data()), bytes->size());
    const auto length = corvan::dtc::decodeInPlace(content);
    if (!length) {
        std::fprintf(stderr, "corvan-dtc-write: %s is not a readable definition file\n", filePath);
        return 2;
    }
    const std::string text = corvan::cp1252ToUtf8(std::string_view(bytes->data(), *length));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view verb = argc > 1 ? argv[1] : "";
    if (argc == 4 && verb == "codes")
        return write(corvan::dtc::SourceKind::TroubleCodes, argv[2], argv[3]);
    if (argc == 4 && verb == "actuators")
        return write(corvan::dtc::SourceKind::Actuators, argv[2], argv[3]);
    if (argc == 3 && verb == "show") return show(argv[2]);
    return usage();
}
