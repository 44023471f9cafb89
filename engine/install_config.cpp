#include "engine/install_config.h"

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
