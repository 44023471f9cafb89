#include "plugins/funcmenu/journal_item.h"

#include "platform/config_text.h"
#include "platform/text_codec.h"
#include "plugins/funcmenu/menu_text.h"
#include "runtime/param_text.h"
#include "runtime/text_table.h"

namespace corvan::funcmenu {

namespace {
constexpr TextTable kJournalRow = {
    "Diario de escrituras", "Write journal", "Schreibprotokoll",
    "Diario de escrituras", "Write journal", "Diário de escritas",
};
}  // namespace

bool journalItemWanted(std::string_view configText) {
    const std::string value = asciiUpper(configValue(configText, kJournalKey));
    return value == "ON" || value == "YES" || value == "1";
}

std::string withJournalItem(std::string_view text, int language) {
    std::string out(text);
    const int menu = findFrom(text, kMenuMark);
    if (menu < 0) return out;
    const int end = findFrom(text, kEndMark, menu);
    const std::string item = "<MNU\r\n\tID=\t[JOURNAL]\r\n\tTEXT=\t[\"" +
                             PickText(kJournalRow, language) + "\"]\r\n\tDLL=\t[" +
                             std::string(kJournalPlugin) + "]\r\n>\r\n";
    out.insert(end < 0 ? out.size() : static_cast<size_t>(end), item);
    return out;
}

}  // namespace corvan::funcmenu
