#pragma once
// The Nissan key coding and pairing procedure over KWP 2000: one button starts it with the
// data's coding request, a progress window follows the status the vehicle reports (polled
// at most 200 times), then the driver's closing message ends it and the technician reads
// how to code the next keys, or that the key could not be coded.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::nissankeys {

inline constexpr int kCodeId = 1001;
// The progress window.
inline constexpr int kTryingId = 1001;
inline constexpr int kWaitId = 1002;
inline constexpr int kBarId = 1003;

ui::DialogTemplate nissanKeysTemplate();
ui::DialogTemplate nissanProgressTemplate();

// Empty result text; returns at once in modes other than "EXE" and "DEMO".
std::string runNissanKeys(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::nissankeys
