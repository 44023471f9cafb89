#include "engine/install_config.h"

#include <filesystem>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::engine {

InstallConfig parseInstallConfig(std::string_view fileBytes) {
    const std::string text = cp1252ToUtf8(fileBytes);
    InstallConfig c;
    c.installPath = configValue(text, "PATH=");
    c.port = configValue(text, "PORT=");
    c.language = configValue(text, "LANGUAGE=");
    c.languageIndex = languageIndexOf(c.language);
    c.text = text;
    return c;
}

std::optional<InstallConfig> readInstallConfig(const DeviceRoot& root, std::string* error) {
    const auto host = root.toHost(kConfigDevicePath);
    const auto bytes = readWholeFile(host);
    if (!bytes) {
        if (error) *error = "iCor.cfg NOT FOUND: cannot read " + host.string();
        return std::nullopt;
    }
    return parseInstallConfig(*bytes);
}

bool checkInstallPath(const DeviceRoot& root, const InstallConfig& config, std::string* error) {
    const std::string file = root.toHost(kConfigDevicePath).string();
    if (config.installPath.empty()) {
        if (error)
            *error =
                "iCor.cfg gives no installation folder (PATH= is missing, empty or "
                "without its [ ]): " +
                file;
        return false;
    }
    std::error_code ec;
    const auto folder = root.toHost(installFile(config.installPath, ""));
    if (!std::filesystem::is_directory(folder, ec)) {
        if (error)
            *error = "iCor.cfg names an installation folder that does not exist: PATH=[" +
                     config.installPath + "] (" + folder.string() + ", in " + file + ")";
        return false;
    }
    return true;
}

std::string engineProgramPath(std::string_view installPath) {
    return installFile(installPath, "EXE\\ECOR.EXE");
}

std::string installFile(std::string_view installPath, std::string_view relative) {
    std::string path = "\\";
    path += installPath;
    if (!installPath.empty() && installPath.back() != '\\') path += '\\';
    path += relative;
    return path;
}

}  // namespace corvan::engine
