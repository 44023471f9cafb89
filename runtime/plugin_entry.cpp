#include "runtime/plugin_entry.h"

namespace corvan {

const char* runPluginEntry(PluginFunction function, std::string& result, const char* text,
                           int32_t start, const char* mode, VarboxLink* link, int32_t language,
                           const char* name) noexcept {
    try {
        result.clear();
        if (!function || !linkUsable(link)) return result.c_str();
        PluginCall call{text ? text : "", start, mode ? mode : "", name ? name : ""};
        ModuleContext ctx(*link, language, call.mode);
        // The callee may itself be called again (a plug-in loading its own library) before
        // this call returns, so the result is assigned only at the very end.
        std::string produced = function(ctx, call);
        result = std::move(produced);
    } catch (...) {
        // No exception crosses the library boundary: the caller sees an empty text, the
        // same answer as a function that found nothing to report.
        result.clear();
    }
    return result.c_str();
}

}  // namespace corvan
