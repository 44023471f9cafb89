#pragma once
// The vehicle files name systems and variants by Spanish keys; two maps turn them into the
// technician's language. A key absent from its map has an empty display text, and wherever
// a display text is empty the key itself is shown.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/language_text.h"

namespace corvan::shell {

// One text table and the keys that show it.
struct NamedKeys {
    LanguageText text;
    std::vector<std::string_view> keys;
};

// The system tables (60 tables, 93 keys) and the module tables (one per variant key, the
// four generations of the multiple restraint system sharing one).
const std::vector<NamedKeys>& systemNameTables();
const std::vector<NamedKeys>& moduleNameTables();

struct NameMaps {
    std::unordered_map<std::string, std::string> systems;  // SystemNameMap
    std::unordered_map<std::string, std::string> modules;  // ModuleNameMap

    // The display text of a key, the key itself when the map has none.
    std::string systemText(std::string_view key) const;
    std::string moduleText(std::string_view key) const;
};

// Both maps for a language index; rebuilt at start and after the options dialog.
NameMaps BuildNameMaps(int languageIndex);

}  // namespace corvan::shell
