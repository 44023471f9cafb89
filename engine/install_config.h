#pragma once
// The installation as the engine finds it: "iCor.cfg" at the root of the storage card
// names the install path (PATH=), the Varbox port (PORT=) and the language (LANGUAGE=).
// The engine's own file is "\" + install path + "\EXE\ECOR.EXE"; the plug-ins find the
// configuration file again from that path.
#include <optional>
#include <string>
#include <string_view>

#include "platform/config_text.h"

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
    std::string text;  // the whole file as UTF-8, for further keys (SERIALn=)
};

// The configuration from the file's text (Windows-1252 bytes as read).
InstallConfig parseInstallConfig(std::string_view fileBytes);

// Reads the file under the device root; nullopt with `error` set when it cannot be read.
std::optional<InstallConfig> readInstallConfig(const DeviceRoot& root, std::string* error);

// The installation folder PATH= names must be there: false with `error` saying that iCor.cfg
// is the cause (PATH= empty, without brackets, or naming no folder of the device root).
bool checkInstallPath(const DeviceRoot& root, const InstallConfig& config, std::string* error);

// "\" + install path + "\EXE\ECOR.EXE".
std::string engineProgramPath(std::string_view installPath);

// Device path of a file of the installation: "\" + install path + "\" + relative.
std::string installFile(std::string_view installPath, std::string_view relative);

}  // namespace corvan::engine
