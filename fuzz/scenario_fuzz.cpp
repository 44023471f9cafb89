// The simulator's scenario reader on arbitrary JSON: every mistake is a message naming its
// place, never a crash. A scenario that loads builds its box.
#include <cstdint>
#include <string_view>

#include "sim/scenario_loader.h"
#include "sim/varbox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto loaded = corvan::sim::loadScenarioText(text, "fuzz");
    if (loaded.ok()) corvan::sim::Varbox box(std::move(*loaded.scenario));
    return 0;
}
