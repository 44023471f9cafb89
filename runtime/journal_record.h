#pragma once
// The lines of a write-journal file. Every write gives one line when it goes out and one
// when the unit answered; each line carries its own check, so a line that a power cut or a
// kill left half written is told from a real one and dropped. Pure text work, no I/O.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/write_journal.h"

namespace corvan {

// "2007-02-03 09:05:07".
struct CivilTime;
std::string journalTime(const CivilTime& t);

// One complete line, newline included: the write as it goes out ("W" line) and the
// answer to it ("A" line).
std::string writeLine(int64_t id, std::string_view time, std::string_view vehicle,
                      const JournalWrite& write);
std::string answerLine(int64_t id, std::string_view time, std::string_view answer, bool done);

// The entries of a journal file's bytes, oldest first. Only complete lines whose check
// holds count: a torn last line, a damaged line, or an answer to a write that is not in
// the file is left out, and the lines around it still read.
std::vector<JournalEntry> readJournal(std::string_view bytes);

// The id the next write gets: one past the highest that the file's lines name.
int64_t nextJournalId(std::string_view bytes);

// A file name for the vehicle that every file system takes: letters and digits kept
// (upper-cased), every other run of characters one "_", at most 60 characters, ".JNL".
std::string journalFileName(std::string_view vehicle);

// The request bytes as the journal shows them: "%.2X" per byte, one blank between.
std::string spacedHex(const std::vector<uint8_t>& bytes);

}  // namespace corvan
