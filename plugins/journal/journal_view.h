#pragma once
// What the journal screen shows of an entry and where it can put a value back. Pure text
// work over the entries and the parameter text.
#include <string>
#include <vector>

#include "runtime/write_journal.h"

namespace corvan::journal {

// The row: time without the year ("02-03 09:05:07"), kind, the value written, and "OK"
// (the module took it as done), "KO" (the unit refused or did not answer) or "?" (the
// terminal never learnt the answer).
std::vector<std::string> rowCells(const JournalEntry& e, int language);

// Below the list: the unit, before, sent and answer, one per line.
std::string detailText(const JournalEntry& e, int language);

// The position of the "<MNU" of the module that can write the entry's old value again, in
// the text the journal screen was called with: the entry names a value to put back, it was
// written to the unit the screen was called for, and the text has a menu item with the
// entry's plug-in ("DLL=", any case) and item ("ID="). -1 otherwise.
int restorePosition(const JournalEntry& e, std::string_view text, std::string_view unit);

}  // namespace corvan::journal
