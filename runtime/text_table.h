#pragma once
// Every user text of a module is a six-slot table indexed by the technician's language:
// 0 Spanish, 1 English, 2 German, 3 and 4 spare (Spanish and English again, or empty),
// 5 Portuguese.
#include <array>
#include <string>
#include <string_view>

namespace corvan {

using TextTable = std::array<std::string_view, 6>;

constexpr int kSpanish = 0;
constexpr int kEnglish = 1;
constexpr int kGerman = 2;
constexpr int kPortuguese = 5;

// The standard choice: an index outside 0..5 means English; an empty slot falls back to
// Spanish for the indices 3 and 5 and to English otherwise, and to Spanish when that one is
// empty as well.
std::string PickText(const TextTable& table, int language);

// The live-data modules' choice: an index outside 0..5 means English; an empty slot falls
// back to English, and to Spanish only when English is empty too.
std::string pickTextLiveData(const TextTable& table, int language);

// A table holding the same text in every slot (messages that exist in Spanish only).
constexpr TextTable sameText(std::string_view text) {
    return TextTable{text, text, text, text, text, text};
}

}  // namespace corvan
