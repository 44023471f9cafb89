#include "runtime/data_path.h"

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/library_loader.h"
#include "platform/text_codec.h"
#include "runtime/param_text.h"

namespace corvan {

namespace {
// Left part before `pos`; a part that is not there leaves nothing, as the device's
// string functions do with a position of -1.
std::string leftOf(const std::string& s, size_t pos) {
    return pos == std::string::npos ? std::string() : s.substr(0, pos);
}
}  // namespace

std::string configFileDevicePath(std::string_view programPath) {
    const std::string upper = asciiUpper(programPath);
    const std::string installFolder = leftOf(upper, upper.find("\\EXE\\ECOR.EXE"));
    return leftOf(installFolder, installFolder.rfind('\\')) + "\\iCor.cfg";
}

std::optional<std::string> readConfigText(const ModuleContext& ctx) {
    const DeviceRoot* root = ctx.host().root;
    if (!root) return std::nullopt;
    const auto bytes = readWholeFile(root->toHost(configFileDevicePath(root->programPath())));
    if (!bytes) return std::nullopt;
    return cp1252ToUtf8(*bytes);
}

std::string ReadDataPath(const ModuleContext& ctx, std::string_view missingMessage) {
    const std::optional<std::string> text = readConfigText(ctx);
    if (!text) {
        ctx.messageBox(std::string(missingMessage));
        return {};
    }
    return GetKeyValue(*text, "PATH=", 0);
}

std::string ReadDataPath(const ModuleContext& ctx) {
    return ReadDataPath(ctx, ctx.pick(kConfigNotFoundText));
}

std::string pluginDevicePath(std::string_view dataPath, std::string_view fileName) {
    std::string path(dataPath);
    path += "\\DLL\\";
    path += fileName;
    return path;
}

std::optional<std::filesystem::path> pluginHostPath(const ModuleContext& ctx,
                                                    std::string_view dataPath,
                                                    std::string_view fileName) {
    const DeviceRoot* root = ctx.host().root;
    if (!root) return std::nullopt;
    std::string folder(dataPath);
    folder += "\\DLL";
    return findPluginFile(root->toHost(folder), fileName);
}

}  // namespace corvan
