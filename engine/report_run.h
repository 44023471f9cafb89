#pragma once
// The engine's report mode: one pass over an ECU without a technician. The function menu
// in "REPORT" mode connects and gives the system-information record; then the ECU is
// connected again through its configuration plug-in, and every menu item with a "REPORT="
// key runs in "REPORT" mode on the extended text, as the function menu would have called
// it; the ECU's closing request and the box reset end the pass.
#include <cstdint>
#include <string>
#include <vector>

namespace corvan::engine {

class EngineHost;

struct ReportOutcome {
    bool ok = false;
    std::string report;  // the result texts, concatenated
    std::string error;   // why the pass stopped (with ok false)
    std::string notes;   // items that could not run, one per line (the pass went on)
};

ReportOutcome runReport(EngineHost& host, const std::string& text, const std::string& name,
                        int32_t language);

// The items the function menu lists: the "<MNU" positions after "#MENU" up to the first
// "#END" after it, at most 30.
std::vector<int> menuItemPositions(const std::string& text);

}  // namespace corvan::engine
