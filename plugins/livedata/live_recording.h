#pragma once
// The recording behind the graph, the CSV file and the trigger capture: for every polled item
// a ring of its last readings, each with its time on the run's clock and the polling cycle it
// came in. A ring holds a fixed number of readings; the oldest gives way to the newest, so a
// session of any length keeps the last minutes and never grows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/livedata/recommended_values.h"

namespace corvan::livedata {

struct Sample {
    int64_t ms = 0;      // the run's clock when the value was read
    uint32_t cycle = 0;  // the polling cycle (from 1); readings of one cycle share a CSV row
    double value = 0;    // the reading as a number; NaN when the shown text is not one
    std::string text;    // the value as the list shows it (without the range mark)
};

class SampleRing {
  public:
    explicit SampleRing(size_t capacity);
    void push(Sample s);
    size_t size() const { return count_; }
    size_t capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }
    const Sample& at(size_t i) const;  // 0: the oldest kept
    const Sample& newest() const { return at(count_ - 1); }
    // Copies of the readings taken from `fromMs` to `toMs`, both included, oldest first.
    std::vector<Sample> between(int64_t fromMs, int64_t toMs) const;

  private:
    size_t capacity_;
    std::vector<Sample> slots_;  // grows to the capacity, then is overwritten in turn
    size_t next_ = 0;            // slot the next reading goes to once full
    size_t count_ = 0;
};

struct RecordedItem {
    std::string key;                   // "D001"
    std::string description;           // as the list shows it (quotes as blanks, trimmed)
    std::string unit;                  // likewise; the state texts of a bit item are no unit: empty
    std::optional<RangeLimits> range;  // of the recommended table chosen
    SampleRing ring;
};

class LiveRecording {
  public:
    // 1200 readings: at ten readings a second (one item alone on a fast line) two minutes;
    // a list of several items on one line is read a few times a second, several minutes.
    static constexpr size_t kReadingsPerItem = 1200;

    explicit LiveRecording(size_t readingsPerItem = kReadingsPerItem)
        : readingsPerItem_(readingsPerItem) {}

    size_t addItem(std::string key, std::string description, std::string unit);
    void setRange(size_t item, std::optional<RangeLimits> range);
    // A polling cycle starts; its readings carry its number.
    void beginCycle(int64_t ms);
    // The value `text` of `item` was read at `ms`; returns the reading as kept.
    const Sample& record(size_t item, int64_t ms, std::string_view text);

    const std::vector<RecordedItem>& items() const { return items_; }
    uint32_t cycle() const { return cycle_; }
    // Time 0 of the graph and the CSV: the start of the first cycle.
    int64_t originMs() const { return origin_.value_or(0); }
    // The oldest and newest reading kept of any item (origin when nothing was read).
    int64_t oldestMs() const;
    int64_t newestMs() const;

  private:
    size_t readingsPerItem_;
    std::vector<RecordedItem> items_;
    uint32_t cycle_ = 0;
    std::optional<int64_t> origin_;
};

// Whether a reading lies outside the item's range (never for a text that is not a number).
bool outsideRange(const RecordedItem& item, const Sample& s);

}  // namespace corvan::livedata
