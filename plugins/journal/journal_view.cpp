#include "plugins/journal/journal_view.h"

#include "platform/text_codec.h"
#include "plugins/journal/journal_texts.h"
#include "runtime/param_text.h"

namespace corvan::journal {

namespace {

std::string kindText(const std::string& kind, int language) {
    const std::pair<std::string_view, const TextTable*> kinds[] = {
        {"erase", &kKindErase},    {"coding", &kKindCoding}, {"adaptation", &kKindAdaptation},
        {"login", &kKindLogin},    {"key", &kKindKey},       {"airbag", &kKindAirbag},
        {"service", &kKindService}};
    for (const auto& [word, table] : kinds)
        if (kind == word) return PickText(*table, language);
    return kind;
}

std::string orDash(const std::string& s, int language) {
    return s.empty() ? PickText(kNothingKnown, language) : s;
}

}  // namespace

std::vector<std::string> rowCells(const JournalEntry& e, int language) {
    // The year is left out: the column is narrow and the file holds one vehicle's writes.
    const std::string when = e.time.size() > 5 ? e.time.substr(5) : e.time;
    const char* result = !e.answered ? "?" : e.done ? "OK" : "KO";
    return {when, kindText(e.write.kind, language), orDash(e.write.value, language), result};
}

std::string detailText(const JournalEntry& e, int language) {
    std::string answer = e.answered ? e.answer : PickText(kNeverAnswered, language);
    return e.write.unit + "\n" + PickText(kBefore, language) + orDash(e.write.before, language) +
           "\n" + PickText(kSent, language) + orDash(e.write.sent, language) + "\n" +
           PickText(kAnswer, language) + answer;
}

int restorePosition(const JournalEntry& e, std::string_view text, std::string_view unit) {
    if (e.write.restore.empty() || e.write.module.empty() || e.write.unit != unit) return -1;
    const int menu = findFrom(text, "#MENU");
    for (int pos : findAll(text, "<MNU", menu < 0 ? 0 : menu)) {
        if (!equalsIgnoreCase(GetKeyValue(text, "DLL=", pos), e.write.module)) continue;
        if (GetKeyValue(text, "ID=", pos) != e.write.item) continue;
        return pos;
    }
    return -1;
}

}  // namespace corvan::journal
