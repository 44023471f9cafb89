#pragma once
// A capture set off by one item's reading: above or below a threshold, or outside the
// recommended range. It keeps every item's readings of the seconds before the reading that
// set it off (taken from the rings at that moment, so the rings may wrap afterwards) and
// collects the seconds after it; then it is complete and the module saves it.
#include <cstdint>
#include <vector>

#include "plugins/livedata/live_recording.h"

namespace corvan::livedata {

enum class TriggerCondition { Above, Below, OutsideRange };

struct TriggerRule {
    size_t item = 0;  // index in the recording
    TriggerCondition condition = TriggerCondition::Above;
    double threshold = 0;  // Above, Below
    RangeLimits range;     // OutsideRange: the item's recommended range when armed
    int64_t beforeMs = 10'000;
    int64_t afterMs = 10'000;
};

// Whether a reading sets the rule off; a text that is not a number never does.
bool triggers(const TriggerRule& rule, double value);

class TriggerCapture {
  public:
    enum class State { Idle, Armed, Collecting, Complete };

    // Waits for the first reading that sets the rule off (a reading already outside when the
    // capture is armed sets it off at once: the fault is there).
    void arm(const TriggerRule& rule);
    void disarm();
    // Called with every reading just recorded; returns true when this reading completed the
    // capture (the first reading of any item past the seconds after).
    bool observe(const LiveRecording& recording, size_t item, const Sample& reading);

    State state() const { return state_; }
    const TriggerRule& rule() const { return rule_; }
    int64_t triggerMs() const { return triggerMs_; }
    int64_t fromMs() const { return triggerMs_ - rule_.beforeMs; }
    int64_t toMs() const { return triggerMs_ + rule_.afterMs; }
    // The readings kept, per item of the recording, oldest first.
    const std::vector<std::vector<Sample>>& readings() const { return readings_; }

  private:
    State state_ = State::Idle;
    TriggerRule rule_;
    int64_t triggerMs_ = 0;
    std::vector<std::vector<Sample>> readings_;
};

}  // namespace corvan::livedata
