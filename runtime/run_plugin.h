#pragma once
// Calling another plug-in: load it from the installation's DLL folder, call its `dll` once
// and unload it at once, as the engine does with every function.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/library_loader.h"
#include "runtime/module_context.h"

namespace corvan {

// Loads data path + "\DLL\" + `fileName`, calls its `dll` with copies of `call`'s texts,
// the caller's own link and `language` (callers pass their own index, or 0 where their
// module says so), copies the result and unloads the library before returning it.
// A library that cannot be loaded (or a file name with a path separator or "..") shows
// `loadErrorFormat` with its "%s" replaced by the full device path in an OK box and gives an
// empty text; a library without `dll` is not called and gives an empty text.
std::string RunPlugin(const ModuleContext& ctx, std::string_view dataPath,
                      std::string_view fileName, const PluginCall& call, int32_t language,
                      std::string_view loadErrorFormat);

// The library data path + "\DLL\" + `fileName`, loaded for the caller to look up an entry of
// its own shape (the libraries whose entry differs from `dll` of PluginEntry); null when it
// cannot be loaded or the name is refused. It is unloaded when the pointer goes.
std::unique_ptr<LoadedLibrary> loadPluginLibrary(const ModuleContext& ctx,
                                                 std::string_view dataPath,
                                                 std::string_view fileName);
// How a call of a plug-in went, for callers that decide themselves what a missing library
// means (the service scripts stop on one and go on silently after another).
enum class PluginStatus { NotLoaded, NoEntry, Called };
struct PluginOutcome {
    PluginStatus status = PluginStatus::NotLoaded;
    std::string result;  // the callee's result text when it was called
};

// Loads `fileName` from the device folder `deviceFolder` (found case-insensitively, "X.DLL"
// as "x.so"; a name with a path separator or ".." is not loaded), calls its `dll` once as
// RunPlugin does and unloads it. Shows nothing.
PluginOutcome CallPluginIn(const ModuleContext& ctx, std::string_view deviceFolder,
                           std::string_view fileName, const PluginCall& call, int32_t language);

// The caller's load-error message with every "%s" replaced by `path`.
std::string formatLoadError(std::string_view format, std::string_view path);

}  // namespace corvan
