#pragma once
// The options dialog of the root menu: language and port of "iCor.cfg" (the installation
// folder is shown, not edited), and the rewrite of the file when the technician accepts.
#include <string>
#include <vector>

namespace corvan::shell {

struct ShellHost;
struct ShellSettings;

// The drop-down entries. The port list also offers the installation's current port when it
// is neither "COM1" nor "COM2" (the simulated box "SIM", or a device file), so that it can
// be chosen again.
std::vector<std::string> languageChoices();
std::vector<std::string> portChoices(const std::string& currentPort);

// Runs the dialog. True when the technician accepted and the new settings were applied (the
// caller then rebuilds the root page and the name maps).
bool OptionsDialog(ShellHost& host, ShellSettings& settings, const std::string& title);

// What "SELECT" and "Yes" do: rewrite the file with the chosen texts (atomically: a power cut
// leaves the old file or the new one) and take the language into the settings. False, with
// the technician told, when the file cannot be opened.
bool applyOptions(ShellHost& host, ShellSettings& settings, const std::string& chosenLanguage,
                  const std::string& chosenPort);

}  // namespace corvan::shell
