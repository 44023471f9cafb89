#pragma once
// One diagnosis session on the built sample installation, run in this process as the engine
// runs it (the function menu called with the whole data record, the installation's simulated
// box on the line), on the headless screen or on the Qt screens drawn offscreen at the
// device's 320 x 240. Both run on the virtual clock, so the same technician script gives the
// same session, wire trace times included, whichever screen shows it.
#include <filesystem>
#include <string>

namespace corvan::e2e {

struct SessionSetup {
    std::string script;  // technician script (text)
    std::string record = "EDC16_KWP.TXT";
    std::string selection = "VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV";
    std::string mode = "EXE";
    // Qt only: one picture per screen shown or closed and per message box; empty: none.
    std::filesystem::path screenshots;
};

struct SessionOutcome {
    std::string result;  // the function menu's result text
    std::string trace;   // the wire trace
    std::string dump;    // the screen dump
    std::string report;  // what went differently from the script (empty: as written)
};

// The whole session on the headless screen.
SessionOutcome runHeadlessSession(const SessionSetup& setup);

// The same on the Qt screens (offscreen, unattended, scale 1). Needs the QApplication.
SessionOutcome runQtSession(const SessionSetup& setup);

// The text of a file (empty when it cannot be read).
std::string fileText(const std::filesystem::path& file);

}  // namespace corvan::e2e
