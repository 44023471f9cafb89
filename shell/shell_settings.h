#pragma once
// The three settings of the terminal the shell keeps in "iCor.cfg" (installation path, port
// of the Varbox, language), the language index that selects every text, and the loading
// of the file.
#include <string>
#include <string_view>

#include "platform/config_text.h"

namespace corvan::shell {

struct ShellHost;

// Fixed folders of the terminal.
inline constexpr std::string_view kDataFolder = "\\STORAGE CARD\\CORVANDATA\\";
inline constexpr std::string_view kFlashFolder = "\\MIP FLASH\\";

struct ShellSettings {
    std::string dataFolder{kDataFolder};
    std::string flashFolder{kFlashFolder};
    std::string installPath;   // PATH=: root-relative, no leading or trailing backslash
    std::string port;          // PORT=
    std::string languageName;  // LANGUAGE=: also the filter word of the root and utility menus
    int languageIndex = 0;
};

// The configuration file lies at the root of the volume holding the data folder: the data
// folder in upper case, cut before "CORVANDATA", plus "iCor.cfg".
std::string configFileLocation(std::string_view dataFolder);

// Replaces every occurrence of `from` by `to`, left to right; an empty `from` changes nothing.
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

// The options dialog's rewrite: every occurrence of the current language name by the chosen
// one, then every occurrence of the current port by the chosen one. An empty choice (no entry
// selected) leaves its setting as it is.
std::string rewriteConfigText(std::string text, std::string_view currentLanguage,
                              std::string_view chosenLanguage, std::string_view currentPort,
                              std::string_view chosenPort);

// Reads "iCor.cfg" into `settings`; when it cannot be opened, tells the technician and leaves
// the settings as they were.
void LoadConfiguration(ShellSettings& settings, ShellHost& host);

// The message shown when the file cannot be opened (Spanish in every language).
std::string configOpenError(std::string_view devicePath);

}  // namespace corvan::shell
