#pragma once
// One attempt to bring the box up with the protocol driver the data name: ask the box what
// it runs, restart it when needed, download the driver file in 256-byte blocks when the box
// does not run it already, and start the program.
#include <string>
#include <string_view>

#include "runtime/module_context.h"

namespace corvan::boxstart {

inline constexpr int kBoxStarted = 1;  // the right driver runs and was started
inline constexpr int kBoxRetry = 0;    // the download or its final check failed
inline constexpr int kBoxGiveUp = -1;  // the box stayed silent, or the driver file is missing

// `modeText` is the mode without its "@": empty keeps the progress window hidden and the
// exchanges from asking to retry. `skipChecks` downloads at once, without asking the box.
int StartBox(const ModuleContext& ctx, const std::string& driverPath, std::string_view modeText,
             bool skipChecks);

}  // namespace corvan::boxstart
