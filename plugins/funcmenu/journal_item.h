#pragma once
// The write journal's entry in the function menu, there only when the configuration asks
// for it ("WRITE_JOURNAL=[ON]" in iCor.cfg): the menu of an installation that does not is
// exactly as its data make it.
#include <string>
#include <string_view>

namespace corvan::funcmenu {

inline constexpr std::string_view kJournalKey = "WRITE_JOURNAL=";
inline constexpr std::string_view kJournalPlugin = "JOURNAL.DLL";

// "ON", "YES" or "1" (any case) in the configuration text's "WRITE_JOURNAL=".
bool journalItemWanted(std::string_view configText);

// The text with a last menu item for the journal screen before the "#END" that closes
// "#MENU"; the text as it is without a "#MENU" section.
std::string withJournalItem(std::string_view text, int language);

}  // namespace corvan::funcmenu
