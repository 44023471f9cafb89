#include "plugins/livedata/live_recording.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvan::livedata {

SampleRing::SampleRing(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

void SampleRing::push(Sample s) {
    if (slots_.size() < capacity_) {
        slots_.push_back(std::move(s));
        count_ = slots_.size();
        return;
    }
    slots_[next_] = std::move(s);
    next_ = (next_ + 1) % capacity_;
}

const Sample& SampleRing::at(size_t i) const {
    // While filling, slot 0 is the oldest; once full, the slot the next reading takes.
    return slots_[(next_ + i) % slots_.size()];
}

std::vector<Sample> SampleRing::between(int64_t fromMs, int64_t toMs) const {
    std::vector<Sample> out;
    for (size_t i = 0; i < count_; ++i) {
        const Sample& s = at(i);
        if (s.ms >= fromMs && s.ms <= toMs) out.push_back(s);
    }
    return out;
}

size_t LiveRecording::addItem(std::string key, std::string description, std::string unit) {
    items_.push_back({std::move(key), std::move(description), std::move(unit), std::nullopt,
                      SampleRing(readingsPerItem_)});
    return items_.size() - 1;
}

void LiveRecording::setRange(size_t item, std::optional<RangeLimits> range) {
    if (item < items_.size()) items_[item].range = range;
}

void LiveRecording::beginCycle(int64_t ms) {
    if (!origin_) origin_ = ms;
    ++cycle_;
}

const Sample& LiveRecording::record(size_t item, int64_t ms, std::string_view text) {
    const std::optional<double> number = readingNumber(text);
    RecordedItem& it = items_.at(item);
    it.ring.push(
        {ms, cycle_, number.value_or(std::numeric_limits<double>::quiet_NaN()), std::string(text)});
    if (!origin_) origin_ = ms;
    return it.ring.newest();
}

int64_t LiveRecording::oldestMs() const {
    std::optional<int64_t> oldest;
    for (const RecordedItem& it : items_)
        if (!it.ring.empty())
            oldest = std::min(oldest.value_or(it.ring.at(0).ms), it.ring.at(0).ms);
    return oldest.value_or(originMs());
}

int64_t LiveRecording::newestMs() const {
    std::optional<int64_t> newest;
    for (const RecordedItem& it : items_)
        if (!it.ring.empty())
            newest = std::max(newest.value_or(it.ring.newest().ms), it.ring.newest().ms);
    return newest.value_or(originMs());
}

bool outsideRange(const RecordedItem& item, const Sample& s) {
    if (!item.range || std::isnan(s.value)) return false;
    return s.value < item.range->low || s.value > item.range->high;
}

}  // namespace corvan::livedata
