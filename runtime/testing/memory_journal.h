#pragma once
// A write journal kept in memory for the module tests. It notes how many frames had gone
// out on the wire when each write was announced and answered, so a test sees that the
// module announced the write before sending it and told the answer after.
#include <functional>
#include <vector>

#include "runtime/write_journal.h"

namespace corvan::testing {

class MemoryJournal final : public WriteJournal {
  public:
    struct Record {
        JournalEntry entry;
        size_t framesAtWrite = 0;
        size_t framesAtAnswer = 0;
        int answers = 0;  // a write must be answered once
    };

    // `framesSent` counts the frames on the wire so far (none: always 0).
    explicit MemoryJournal(std::function<size_t()> framesSent = {})
        : framesSent_(std::move(framesSent)) {}

    int64_t aboutToWrite(const JournalWrite& write) override {
        Record r;
        r.entry.id = static_cast<int64_t>(records.size()) + 1;
        r.entry.vehicle = "TEST VEHICLE";
        r.entry.write = write;
        r.framesAtWrite = frames();
        records.push_back(std::move(r));
        return records.back().entry.id;
    }
    void answered(int64_t id, const std::string& answer, bool done) override {
        if (id < 1 || id > static_cast<int64_t>(records.size())) return;
        Record& r = records[static_cast<size_t>(id - 1)];
        r.entry.answered = true;
        r.entry.answer = answer;
        r.entry.done = done;
        r.framesAtAnswer = frames();
        ++r.answers;
    }
    std::vector<JournalEntry> entries() const override {
        std::vector<JournalEntry> out;
        for (const Record& r : records) out.push_back(r.entry);
        return out;
    }

    std::vector<Record> records;

  private:
    size_t frames() const { return framesSent_ ? framesSent_() : 0; }
    std::function<size_t()> framesSent_;
};

}  // namespace corvan::testing
