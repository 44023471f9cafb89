#pragma once
// Every text of the shell is a table of six slots indexed by the technician's language:
// 0 Spanish, 1 English, 2 German, 3 and 4 empty, 5 Portuguese. The shell shows
// slot[language index] as it stands, without falling back to another slot.
#include <array>
#include <string>
#include <string_view>

namespace corvan::shell {

using LanguageText = std::array<std::string_view, 6>;

// Spanish, English, German and Portuguese texts in their slots.
constexpr LanguageText texts(std::string_view es, std::string_view en, std::string_view de,
                             std::string_view pt) {
    return LanguageText{es, en, de, {}, {}, pt};
}

inline std::string slot(const LanguageText& table, int languageIndex) {
    if (languageIndex < 0 || languageIndex >= static_cast<int>(table.size())) languageIndex = 0;
    return std::string(table[static_cast<size_t>(languageIndex)]);
}

}  // namespace corvan::shell
