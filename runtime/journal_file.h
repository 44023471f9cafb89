#pragma once
// The write journal of one vehicle as a file of the installation: install path +
// "\JOURNAL\" + a file name made from the vehicle text. The file only ever grows: each
// write and each answer is one line appended with a single write call, so a kill or a
// power cut leaves at worst a torn last line, which the reader drops and the next append
// closes off before it adds its own.
#include <filesystem>
#include <string>

#include "runtime/write_journal.h"

namespace corvan {
class Clock;
class DeviceRoot;

// The device path of the vehicle's journal: install path + "\JOURNAL\" + journalFileName.
std::string journalDevicePath(std::string_view installPath, std::string_view vehicle);

class JournalFile final : public WriteJournal {
  public:
    // `installPath` as "PATH=" gives it ("STORAGE CARD\CORVANDATA"); `vehicle` is the
    // vehicle the session works on (the data record and the menu selection). The folder
    // is made on the first write.
    JournalFile(const DeviceRoot& root, const Clock& clock, std::string_view installPath,
                std::string vehicle);

    int64_t aboutToWrite(const JournalWrite& write) override;
    void answered(int64_t id, const std::string& answer, bool done) override;
    std::vector<JournalEntry> entries() const override;

    const std::filesystem::path& hostPath() const { return path_; }
    // False once an append failed (a full or read-only card): the session goes on, the
    // journal screen says the journal may be incomplete.
    bool healthy() const { return healthy_; }

  private:
    bool append(const std::string& line);

    const Clock& clock_;
    std::string vehicle_;
    std::filesystem::path path_;
    bool healthy_ = true;
};

}  // namespace corvan
