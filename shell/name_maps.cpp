#include "shell/name_maps.h"

namespace corvan::shell {

namespace {

std::string shown(const std::unordered_map<std::string, std::string>& map, std::string_view key) {
    const auto it = map.find(std::string(key));
    if (it == map.end() || it->second.empty()) return std::string(key);
    return it->second;
}

// The multiple restraint system keys end in their generation ("II", "III", "IV", "III-IV");
// their display text is the shared table's text, a blank and that suffix.
constexpr std::string_view kRestraintPrefix = "MRS - SISTEMA DE RETENCION MULTIPLE ";

}  // namespace

std::string NameMaps::systemText(std::string_view key) const {
    return shown(systems, key);
}

std::string NameMaps::moduleText(std::string_view key) const {
    return shown(modules, key);
}

NameMaps BuildNameMaps(int languageIndex) {
    NameMaps maps;
    for (const NamedKeys& table : systemNameTables())
        for (std::string_view key : table.keys)
            maps.systems[std::string(key)] = slot(table.text, languageIndex);
    for (const NamedKeys& table : moduleNameTables())
        for (std::string_view key : table.keys) {
            std::string text = slot(table.text, languageIndex);
            if (key.starts_with(kRestraintPrefix) && !text.empty())
                text += " " + std::string(key.substr(kRestraintPrefix.size()));
            maps.modules[std::string(key)] = std::move(text);
        }
    return maps;
}

}  // namespace corvan::shell
