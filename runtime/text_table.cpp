#include "runtime/text_table.h"

namespace corvan {

namespace {
int slotOf(int language) {
    return language >= 0 && language <= 5 ? language : kEnglish;
}
}  // namespace

std::string PickText(const TextTable& table, int language) {
    const int slot = slotOf(language);
    if (!table[slot].empty()) return std::string(table[slot]);
    const int fallback = (slot == 3 || slot == 5) ? kSpanish : kEnglish;
    if (!table[fallback].empty()) return std::string(table[fallback]);
    return std::string(table[kSpanish]);
}

std::string pickTextLiveData(const TextTable& table, int language) {
    const int slot = slotOf(language);
    if (!table[slot].empty()) return std::string(table[slot]);
    if (!table[kEnglish].empty()) return std::string(table[kEnglish]);
    return std::string(table[kSpanish]);
}

}  // namespace corvan
