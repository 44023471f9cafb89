#include "engine/install_config.h"

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::engine {

std::string configValue(std::string_view text, std::string_view key) {
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    // Both brackets are searched from the key itself, as the shell does.
    const size_t open = text.find('[', at);
    const size_t close = text.find(']', at);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

int languageIndex(std::string_view name) {
    if (name == "SPANISH") return 0;
    if (name == "ENGLISH") return 1;
    if (name == "GERMAN") return 2;
    if (name == "PORTUGUESE") return 5;
    return 0;
}

InstallConfig parseInstallConfig(std::string_view fileBytes) {
    const std::string text = cp1252ToUtf8(fileBytes);
    InstallConfig c;
    c.installPath = configValue(text, "PATH=");
    c.port = configValue(text, "PORT=");
    c.language = configValue(text, "LANGUAGE=");
    c.languageIndex = languageIndex(c.language);
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
