#pragma once
// The readable sources that the stored "\dtc\" files are written from: UTF-8 text, one
// entry a line in the layout the modules read (definition_text.h), blank lines and lines
// starting with "#" left out. Each line is checked, so that a typing mistake in a source
// stops the build of the installation instead of showing a wrong text on the terminal.
#include <string>
#include <string_view>

namespace corvan::dtc {

enum class SourceKind {
    TroubleCodes,  // [code]["description"]["detail"][extra]
    Actuators,     // [NNNNN]["description"][help document]
};

struct CompiledSource {
    std::string text;   // the entries in the installation's code page, lines ended by CR LF
    std::string error;  // "line N: ..." when the source cannot be used; then text is empty
    int entries = 0;
};

CompiledSource compileSource(std::string_view source, SourceKind kind);

}  // namespace corvan::dtc
