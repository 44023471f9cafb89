// The registry file of the device root read from arbitrary text; a hive that parses writes
// itself out again and that text parses to the same hive.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto hive = corvan::RegistryHive::parse(text, &error);
    if (!hive) return 0;
    const std::string written = hive->format();
    const auto again = corvan::RegistryHive::parse(written, &error);
    if (!again || again->format() != written) std::abort();
    return 0;
}
