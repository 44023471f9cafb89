#pragma once
// Setting the running driver up for the chosen ECU and letting the box connect to it:
// adapter check, configuration frame, up to two connection attempts.
#include <string>
#include <string_view>

#include "plugins/boxstart/download_plan.h"
#include "runtime/module_context.h"

namespace corvan::boxstart {

inline constexpr std::string_view kConnectError = "ERROR";

inline constexpr Pacing kFirstConnectionStatus{1, 0, 100};
inline constexpr Pacing kMaintenanceFrame{4, 0, 100};
inline constexpr Pacing kConfigTemplate{4, 0, 100};
inline constexpr Pacing kConfiguration{4, 0, 350};
inline constexpr Pacing kConnectionStatus{4, 0, 100};
inline constexpr int kConnectAttempts = 2;
inline constexpr int kAfterFailedConnectMs = 1000;
inline constexpr uint8_t kEcuConnected = 1;  // connection status byte 3

// The ECU's answer to the initial message as hexadecimal text (possibly empty) when the box
// reports the ECU connected, "ERROR" otherwise. `modeText` is the mode without its "@".
std::string ConnectEcu(const ModuleContext& ctx, std::string_view text, std::string_view modeText);

}  // namespace corvan::boxstart
