// The technician-script reader on arbitrary text: a script parses or names the line it
// cannot read.
#include <cstdint>
#include <string_view>

#include "ui/technician_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)corvan::ui::parseTechnicianScript(text);
    return 0;
}
