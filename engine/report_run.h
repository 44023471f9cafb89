#pragma once
// The engine's report mode: one pass over an ECU without a technician, as the function menu
// would run it: the system-information record, the ECU's configuration plug-in (one
// connection), the "#AUTORUN" plug-in, every menu item with a "REPORT=" key in "REPORT"
// mode on the text extended with the ECU's answer, then the ECU's closing request and the
// box reset. A demonstration ("/DEMO=") puts nothing on the wire: the record alone.
#include <cstdint>
#include <string>

namespace corvan::engine {

class EngineHost;

struct ReportOutcome {
    bool ok = false;
    std::string report;  // the result texts, concatenated
    std::string error;   // why the pass stopped (with ok false)
    std::string notes;   // items that could not run, one per line (the pass went on)
};

ReportOutcome runReport(EngineHost& host, const std::string& text, const std::string& name,
                        int32_t language, bool demo = false);

}  // namespace corvan::engine
