#pragma once
// How the host program calls a plug-in: find its library, load it, call `dll` once with
// the host's link and unload it. Unlike RunPlugin inside a plug-in, the host reports a
// library it cannot load to its caller (a program's error message and exit status) instead
// of a message box.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/module_context.h"

namespace corvan::engine {

class EngineHost;

// The library of a plug-in: a name as the data write it ("IDENTIFY.DLL") is looked up in
// the installation's DLL folder; a text holding "/" is a host path of the library itself.
std::optional<std::filesystem::path> locatePlugin(const EngineHost& host, std::string_view plugin,
                                                  std::string* error);

struct PluginOutcome {
    bool ran = false;    // the library loaded and its `dll` was called
    std::string result;  // the plug-in's result text
    std::string error;   // why it did not run
};

PluginOutcome callPlugin(EngineHost& host, const std::filesystem::path& library,
                         const PluginCall& call, int32_t language);

// locatePlugin and callPlugin together.
PluginOutcome callPluginNamed(EngineHost& host, std::string_view plugin, const PluginCall& call,
                              int32_t language);

}  // namespace corvan::engine
