#include "plugins/livedata/trigger_capture.h"

#include <cmath>

namespace corvan::livedata {

bool triggers(const TriggerRule& rule, double value) {
    if (std::isnan(value)) return false;
    switch (rule.condition) {
        case TriggerCondition::Above:
            return value > rule.threshold;
        case TriggerCondition::Below:
            return value < rule.threshold;
        case TriggerCondition::OutsideRange:
            return value < rule.range.low || value > rule.range.high;
    }
    return false;
}

void TriggerCapture::arm(const TriggerRule& rule) {
    rule_ = rule;
    state_ = State::Armed;
    readings_.clear();
}

void TriggerCapture::disarm() {
    state_ = State::Idle;
    readings_.clear();
}

bool TriggerCapture::observe(const LiveRecording& recording, size_t item, const Sample& reading) {
    if (state_ == State::Armed) {
        if (item != rule_.item || !triggers(rule_, reading.value)) return false;
        state_ = State::Collecting;
        triggerMs_ = reading.ms;
        // The seconds before, the triggering reading included, from every item's ring now.
        readings_.clear();
        for (const RecordedItem& it : recording.items())
            readings_.push_back(it.ring.between(fromMs(), triggerMs_));
        return false;
    }
    if (state_ != State::Collecting || item >= readings_.size()) return false;
    if (reading.ms > toMs()) {
        state_ = State::Complete;
        return true;
    }
    // Every reading after the one that set the capture off is new to it.
    readings_[item].push_back(reading);
    return false;
}

}  // namespace corvan::livedata
