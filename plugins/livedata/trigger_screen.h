#pragma once
// The trigger window: the technician picks the item, the condition (above or below a
// threshold, or outside its recommended range) and the seconds kept before and after, and
// arms the capture, or cancels, which also disarms one already armed.
#include <optional>

#include "plugins/livedata/live_recording.h"
#include "plugins/livedata/trigger_capture.h"
#include "runtime/module_context.h"

namespace corvan::livedata {

// The rule as typed; problems with it are told and the window stays. nullopt: cancelled.
// The window starts from `current` (the rule armed before, or the defaults for `row`).
std::optional<TriggerRule> askTrigger(const ModuleContext& ctx, const LiveRecording& recording,
                                      const TriggerRule& current);

// The text of a rule the technician typed, checked: nullopt with the message to show.
struct TriggerEntry {
    int item = 0;  // drop-down position: recording index
    int condition = 0;
    std::string threshold, before, after;
};
std::optional<TriggerRule> checkTriggerEntry(const LiveRecording& recording,
                                             const TriggerEntry& entry, const TextTable** problem);

}  // namespace corvan::livedata
