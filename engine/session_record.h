#pragma once
// What one session of the engine did, kept for the session report: every report section
// the functions handed back or showed (identification, trouble codes, erase results, the
// system information), in the order they came, and every write to the vehicle the modules
// told the write journal of, with its time, the vehicle and the unit.
//
// The host lends the record to the plug-ins as `HostServices::calls` and its journal as
// `HostServices::journal`; the host's own calls (the function menu, ecor-run's plug-in) are
// told to it the same way (engine/plugin_call.cpp):
//
//     SessionRecord record(host.clock(), {record, selection});
//     host.services().calls = &record;
//     host.services().journal = &record.journal();
//     record.journal().setNext(vehicleJournal);  // the installation's journal file, if any
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/report_sections.h"
#include "platform/clock.h"
#include "runtime/write_journal.h"

namespace corvan::engine {

struct SessionVehicle {
    std::string record;     // the data record ("EDC16_KWP.TXT")
    std::string selection;  // brand, model, system and variant as the shell joined them
    bool demo = false;      // a demonstration: no vehicle, the values are simulated
};

// One section as it came, with when and from which function.
struct SessionEntry {
    CivilTime time;
    std::string source;  // the plug-in file ("IDENTIFY.DLL") or the unit that showed it
    ReportSection section;
};

struct SessionWrite {
    CivilTime time;
    std::string vehicle;  // the selection
    JournalWrite write;
    bool answered = false;
    std::string answer;  // the unit's reply, or why there was none
    bool done = false;
};

// The codes a unit held before an erase and those read after it (none read: nullopt).
struct EraseOutcome {
    CivilTime time;
    std::string status;  // "OK" or "KO" as the erase module said
    std::optional<ReportSection> before, after;
    // Where those readings stand in entries() (-1: none), so a report shows them once.
    int beforeEntry = -1, afterEntry = -1;
};

// Keeps every write the modules announce and hands it on to `next` (the journal file of
// the vehicle) when there is one; the ids it returns are its own.
class SessionJournal final : public WriteJournal {
  public:
    SessionJournal(const Clock& clock, std::string vehicle)
        : clock_(clock), vehicle_(std::move(vehicle)) {}
    void setNext(WriteJournal* next) { next_ = next; }

    int64_t aboutToWrite(const JournalWrite& write) override;
    void answered(int64_t id, const std::string& answer, bool done) override;

    // The writes of this session, for the report.
    const std::vector<SessionWrite>& writes() const { return writes_; }
    // The journal screen's list: the installation's journal of the vehicle when there is one.
    std::vector<JournalEntry> entries() const override {
        return next_ ? next_->entries() : std::vector<JournalEntry>{};
    }

  private:
    const Clock& clock_;
    std::string vehicle_;
    WriteJournal* next_ = nullptr;
    std::vector<SessionWrite> writes_;
    std::map<int64_t, int64_t> nextIds_;  // our id -> the id `next_` gave
};

class SessionRecord final : public PluginCallObserver {
  public:
    SessionRecord(const Clock& clock, SessionVehicle vehicle);

    void pluginCalled(const std::string& fileName, const PluginCall& call) override;
    void pluginReturned(const std::string& fileName, const PluginCall& call,
                        const std::string& result) override;
    void reportShown(const std::string& unit, const std::string& report) override;
    // A report pass's concatenated result texts (the pass calls its plug-ins itself).
    void reportPassReturned(const std::string& report);

    SessionJournal& journal() { return journal_; }
    const SessionJournal& journal() const { return journal_; }
    const SessionVehicle& vehicle() const { return vehicle_; }
    const CivilTime& started() const { return started_; }
    const std::vector<SessionEntry>& entries() const { return entries_; }

    // Each erase of the session with the codes read last before it and first after it.
    std::vector<EraseOutcome> erases() const;
    // Nothing was collected: no section and no journal entry.
    bool empty() const { return entries_.empty() && journal_.writes().empty(); }

  private:
    // One plug-in call under way: what its own callees returned and what it showed, so a
    // caller that hands its callee's text on (the trouble-code menu passing the erase
    // module's "[DEL]@OK" up) or returns the bare head of what it showed ("[IDN]") does not
    // count twice.
    struct Frame {
        std::vector<std::string> childResults;
        std::vector<std::string> shownHeads;
    };
    void keep(const std::string& source, const std::vector<ReportSection>& sections);

    const Clock& clock_;
    SessionVehicle vehicle_;
    CivilTime started_;
    std::vector<SessionEntry> entries_;
    std::vector<Frame> frames_;
    SessionJournal journal_;
};

}  // namespace corvan::engine
