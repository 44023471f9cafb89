// The shell's menu files (root and utilities menus, the brand list, a brand's vehicle file)
// on arbitrary text; the bytes after the first NUL name the model, system and variant.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "shell/menu_rows.h"
#include "shell/name_maps.h"

using namespace corvan;
using namespace corvan::shell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::SplitInput input = fuzz::splitAtNul(data, size);
    const std::string_view text = input.text;
    const std::span<const uint8_t> rest = input.rest;
    const std::string names(rest.begin(), rest.end());
    const std::string model = names.substr(0, names.size() / 3);
    const std::string system = names.substr(names.size() / 3, names.size() / 3);
    const std::string variant = names.substr(2 * (names.size() / 3));
    static const NameMaps maps = BuildNameMaps(0);
    (void)languageRows(text, "SPANISH");
    (void)brandRows(text);
    (void)modelRows(text);
    (void)systemRows(text, model, maps);
    (void)variantRows(text, model, system, maps);
    (void)recordOf(text, model, system, variant);
    return 0;
}
