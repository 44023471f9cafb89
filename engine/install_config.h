#pragma once
// The installation as the engine finds it: "iCor.cfg" at the root of the storage card
// names the install path (PATH=), the Varbox port (PORT=) and the language (LANGUAGE=).
// The engine's own file is "\" + install path + "\EXE\ECOR.EXE"; the plug-ins find the
// configuration file again from that path.
#include <optional>
#include <string>
#include <string_view>

namespace corvan {
class DeviceRoot;
}

namespace corvan::engine {

// Where the shell and the engine look for the configuration file.
inline constexpr std::string_view kConfigDevicePath = "\\STORAGE CARD\\iCor.cfg";
// The port word that selects the built-in simulator.
inline constexpr std::string_view kSimulatorPort = "SIM";

struct InstallConfig {
    std::string installPath;  // PATH=, e.g. "STORAGE CARD\CORVANDATA"
    std::string port;         // PORT=: a device file, or "SIM"
    std::string language;     // LANGUAGE=
    int languageIndex = 0;
};

// The value of `key` (with its "="): from the key's first occurrence, the text strictly
// between the first "[" and the first "]" after it. Empty when the key or a bracket is
// missing, or when the "]" comes before the "[".
std::string configValue(std::string_view text, std::string_view key);

// "SPANISH" 0, "ENGLISH" 1, "GERMAN" 2, "PORTUGUESE" 5, anything else 0 (exact, case-sensitive).
int languageIndex(std::string_view name);

// The configuration from the file's text (Windows-1252 bytes as read).
InstallConfig parseInstallConfig(std::string_view fileBytes);

// Reads the file under the device root; nullopt with `error` set when it cannot be read.
std::optional<InstallConfig> readInstallConfig(const DeviceRoot& root, std::string* error);

// "\" + install path + "\EXE\ECOR.EXE".
std::string engineProgramPath(std::string_view installPath);

// Device path of a file of the installation: "\" + install path + "\" + relative.
std::string installFile(std::string_view installPath, std::string_view relative);

}  // namespace corvan::engine
