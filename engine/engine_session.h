#pragma once
// The engine's run: the data record named on the command line becomes the parameter text
// and the function menu is called with it, once, as the whole diagnosis of one ECU.
#include <optional>
#include <string>
#include <string_view>

#include "engine/plugin_call.h"

namespace corvan {
class DeviceRoot;
}

namespace corvan::engine {

class EngineHost;

// The function menu every diagnosis starts from.
inline constexpr std::string_view kFunctionMenu = "FUNCMENU.DLL";

// The data record install path + "\FICHAS\" + record, Windows-1252 turned into UTF-8;
// nullopt with `error` set when the name is empty or the file cannot be read.
// A NUL byte ends the text the plug-ins get (they take it as a C text): `note`, when given,
// then says where, so the cut is never silent.
std::optional<std::string> readDataRecord(const DeviceRoot& root, std::string_view installPath,
                                          std::string_view record, std::string* error,
                                          std::string* note = nullptr);

// The function menu with the whole record, start 0, the mode word ("EXE", "EXE@" or
// "DEMO") and the selection as the function name.
PluginOutcome runFunctionMenu(EngineHost& host, const std::string& text, const std::string& mode,
                              const std::string& name, int32_t language);

}  // namespace corvan::engine
