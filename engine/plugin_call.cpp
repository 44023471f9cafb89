#include "engine/plugin_call.h"

#include "engine/engine_host.h"
#include "engine/install_config.h"
#include "runtime/write_journal.h"

namespace corvan::engine {

std::optional<std::filesystem::path> locatePlugin(const EngineHost& host, std::string_view plugin,
                                                  std::string* error) {
    if (plugin.find('/') != std::string_view::npos) {
        std::filesystem::path file(plugin);
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) return file;
        if (error) *error = "no plug-in library " + file.string();
        return std::nullopt;
    }
    const auto folder = host.root().toHost(installFile(host.installPath(), "DLL"));
    if (auto file = findPluginFile(folder, plugin)) return file;
    if (error) *error = "no plug-in " + std::string(plugin) + " in " + folder.string();
    return std::nullopt;
}

PluginOutcome callPlugin(EngineHost& host, const std::filesystem::path& library,
                         const PluginCall& call, int32_t language) {
    PluginOutcome outcome;
    std::string why;
    auto loaded = host.loader().load(library, &why);
    if (!loaded) {
        outcome.error = "cannot load " + library.string() + ": " + why;
        return outcome;
    }
    const auto entry = reinterpret_cast<PluginEntry>(loaded->symbol("dll"));
    if (!entry) {
        outcome.error = library.string() + " has no entry \"dll\"";
        return outcome;
    }
    // The session report sees the host's own calls as it sees the modules' calls.
    PluginCallObserver* calls = host.services().calls;
    const std::string fileName = library.filename().string();
    if (calls) calls->pluginCalled(fileName, call);
    const char* produced = entry(call.text.c_str(), call.start, call.mode.c_str(), &host.link(),
                                 language, call.name.c_str());
    // The text lives in the library: copied before it is unloaded.
    outcome.result = produced ? produced : "";
    outcome.ran = true;
    if (calls) calls->pluginReturned(fileName, call, outcome.result);
    return outcome;
}

PluginOutcome callPluginNamed(EngineHost& host, std::string_view plugin, const PluginCall& call,
                              int32_t language) {
    PluginOutcome outcome;
    const auto library = locatePlugin(host, plugin, &outcome.error);
    if (!library) return outcome;
    return callPlugin(host, *library, call, language);
}

}  // namespace corvan::engine
