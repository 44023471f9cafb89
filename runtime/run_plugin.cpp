#include "runtime/run_plugin.h"

#include <memory>

#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "runtime/data_path.h"
#include "runtime/write_journal.h"

namespace corvan {

std::string formatLoadError(std::string_view format, std::string_view path) {
    // Only "%s" is substituted: the format comes from a module's table and must never be
    // handed to a printf-style function with an argument list it does not match.
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            out += path;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::unique_ptr<LoadedLibrary> loadPluginLibrary(const ModuleContext& ctx,
                                                 std::string_view dataPath,
                                                 std::string_view fileName) {
    const LibraryLoader* loader = ctx.host().loader;
    if (!loader) return nullptr;
    const auto hostPath = pluginHostPath(ctx, dataPath, fileName);
    if (!hostPath) return nullptr;
    std::string error;
    return loader->load(*hostPath, &error);
}

PluginOutcome CallPluginIn(const ModuleContext& ctx, std::string_view deviceFolder,
                           std::string_view fileName, const PluginCall& call, int32_t language) {
    PluginOutcome outcome;
    std::unique_ptr<LoadedLibrary> library;
    const LibraryLoader* loader = ctx.host().loader;
    const DeviceRoot* root = ctx.host().root;
    if (loader && root) {
        if (const auto hostPath = findPluginFile(root->toHost(deviceFolder), fileName)) {
            std::string error;
            library = loader->load(*hostPath, &error);
        }
    }
    if (!library) return outcome;
    const auto entry = reinterpret_cast<PluginEntry>(library->symbol("dll"));
    outcome.status = PluginStatus::NoEntry;
    if (!entry) return outcome;
    // The callee gets its own copies; the caller's texts stay as they are whatever it does.
    const std::string text = call.text, mode = call.mode, name = call.name;
    PluginCallObserver* calls = ctx.host().calls;
    if (calls) calls->pluginCalled(std::string(fileName), call);
    const char* produced =
        entry(text.c_str(), call.start, mode.c_str(), &ctx.link(), language, name.c_str());
    // The callee's text lives in the library: copy it before the library goes.
    outcome.result = produced ? produced : "";
    outcome.status = PluginStatus::Called;
    // The session report collects what every function of the session handed back.
    if (calls) calls->pluginReturned(std::string(fileName), call, outcome.result);
    return outcome;
}

std::string RunPlugin(const ModuleContext& ctx, std::string_view dataPath,
                      std::string_view fileName, const PluginCall& call, int32_t language,
                      std::string_view loadErrorFormat) {
    std::string folder(dataPath);
    folder += "\\DLL";
    PluginOutcome outcome = CallPluginIn(ctx, folder, fileName, call, language);
    if (outcome.status == PluginStatus::NotLoaded)
        ctx.messageBox(formatLoadError(loadErrorFormat, pluginDevicePath(dataPath, fileName)));
    return std::move(outcome.result);
}

}  // namespace corvan
