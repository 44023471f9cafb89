#pragma once
// The entry every plug-in exports. A plug-in writes its function as
//
//     std::string run(corvan::ModuleContext& ctx, const corvan::PluginCall& call);
//     CORVAN_PLUGIN(run)
//
// and the macro defines the C entry `dll` around it: it builds the call's context, runs the
// function, lets no exception out (a function that throws returns an empty text) and keeps
// the result in a text of this plug-in that stays valid until the library's next call or
// its unload. A call without a usable link returns an empty text and does nothing.
#include <cstdint>
#include <string>
#include <type_traits>

#include "runtime/module_context.h"
#include "runtime/varbox_link.h"

namespace corvan {

using PluginFunction = std::string (*)(ModuleContext&, const PluginCall&);

// The body of every `dll`: never throws; returns result.c_str().
const char* runPluginEntry(PluginFunction function, std::string& result, const char* text,
                           int32_t start, const char* mode, VarboxLink* link, int32_t language,
                           const char* name) noexcept;

}  // namespace corvan

#define CORVAN_PLUGIN(function)                                                                   \
    extern "C" __attribute__((visibility("default"))) const char* dll(                            \
        const char* text, int32_t start, const char* mode, VarboxLink* link, int32_t language,    \
        const char* name) {                                                                       \
        static std::string corvanPluginResult;                                                    \
        return ::corvan::runPluginEntry(&(function), corvanPluginResult, text, start, mode, link, \
                                        language, name);                                          \
    }                                                                                             \
    static_assert(std::is_same_v<decltype(&dll), PluginEntry>, "dll must match PluginEntry")
