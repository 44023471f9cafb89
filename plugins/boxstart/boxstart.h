#pragma once
// The box start-up as the function menu runs it for the "#CONFIGURATION" section of an ECU:
// bring the box up with the driver the data name (up to five attempts), then set up the
// ECU connection. The result tells the function menu whether it can go on.
#include <string>
#include <string_view>

#include "runtime/module_context.h"

namespace corvan::boxstart {

inline constexpr std::string_view kNotLoaded = "ERROR 0";    // five attempts, no driver
inline constexpr std::string_view kNoEcu = "ERROR 1";        // box ready, ECU not
inline constexpr std::string_view kBoxNotReady = "ERROR 2";  // box silent or file missing

// The ECU's answer as hexadecimal text, or one of the errors above.
std::string RunBoxStart(const ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::boxstart
