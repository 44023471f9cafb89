#pragma once
// The write journal: every request that changes the vehicle (an erase, a coding, an
// adaptation save, a login attempt, a key coding, an airbag switch or coding, a service
// reset) is told to the host before it goes out and again with the unit's answer, so the
// workshop can later see what a car held before the terminal changed it. Modules reach it
// through `HostServices::journal`; a host without a journal (a test, a plain ecor-run) has
// none and the modules write as before.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/host_services.h"

namespace corvan {

struct JournalWrite {
    std::string kind;    // "erase", "coding", "adaptation", "login", "key", "airbag", "service"
    std::string unit;    // the unit or function as the menus named it
    std::string before;  // what the module read before writing (a coding, a channel value,
                         // a status byte, the codes); empty when there is nothing to read
    std::string value;   // the value being written, as the technician sees it
    std::string sent;    // the request's bytes in hexadecimal ("10 03 02 ...")
    // Where the value can be put back, the module that wrote it: its plug-in file
    // ("VAGCODING.DLL"), its menu item's "ID=" and the value it takes to write `before`
    // again (given to it as "RESTORE=[...]" in its menu item). Empty otherwise.
    std::string module;
    std::string item;
    std::string restore;
};

// One write as the journal holds it.
struct JournalEntry {
    int64_t id = 0;
    std::string time;     // "2007-02-03 09:05:07", the terminal's clock when it went out
    std::string vehicle;  // as the host named it
    JournalWrite write;
    bool answered = false;  // false: the terminal never learnt the answer (it was cut off)
    std::string answerTime;
    std::string answer;
    bool done = false;
};

class WriteJournal {
  public:
    virtual ~WriteJournal() = default;
    // Before the request is sent. The host adds the time and the vehicle.
    virtual int64_t aboutToWrite(const JournalWrite& write) = 0;
    // The unit's answer to the request `id` names: its reply bytes in hexadecimal, or a
    // text ("no answer", "refused"); `done` says whether the module took it as done.
    virtual void answered(int64_t id, const std::string& answer, bool done) = 0;
    // Every write the journal holds for the vehicle at hand, oldest first (the journal
    // screen shows them); a journal that keeps nothing readable has none.
    virtual std::vector<JournalEntry> entries() const { return {}; }
};

// Sees every plug-in a module calls through the runtime and the text it returned (the
// session report collects the report records of a session from it).
struct PluginCall;
class PluginCallObserver {
  public:
    virtual ~PluginCallObserver() = default;
    // Before the plug-in's `dll` runs (every pluginReturned follows one of these, so nested
    // calls can be told apart from a caller handing its callee's text on).
    virtual void pluginCalled(const std::string& fileName, const PluginCall& call) {
        (void)fileName;
        (void)call;
    }
    virtual void pluginReturned(const std::string& fileName, const PluginCall& call,
                                const std::string& result) = 0;
    // What a function showed the technician, in report form ("[IDN]" and its records, "[DTC]"
    // and the codes listed), when its result text in "EXE" and "DEMO" does not carry it.
    // `unit` is the function name the module was called with.
    virtual void reportShown(const std::string& unit, const std::string& report) {
        (void)unit;
        (void)report;
    }
};

// Tells the host's observer, when there is one, what the module just showed.
inline void tellReportShown(const HostServices& host, const std::string& unit,
                            const std::string& report) {
    if (host.calls) host.calls->reportShown(unit, report);
}

}  // namespace corvan
