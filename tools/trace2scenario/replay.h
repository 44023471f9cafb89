#pragma once
// A trace's requests played into a simulated box: each frame the terminal sent goes in at
// its recorded time, and what the box sends back for it is collected with the moment it
// becomes available on the line. The builder plays the trace this way to learn what the
// ECUs were asked; the check plays it against the finished scenario and compares.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/varbox.h"
#include "tools/trace2scenario/trace_reader.h"

namespace corvan::trace {

struct ReplayedFrame {
    std::vector<uint8_t> bytes;
    int64_t ms = 0;  // when its last byte is on the line
};

// For each exchange, the frames the box answered its request with. `before(i)` runs just
// before request i goes in.
std::vector<std::vector<ReplayedFrame>> replayRequests(
    sim::Varbox& box, const Exchanges& exchanges, const std::function<void(size_t)>& before = {});

// The reply the box meant to send for an exchange: a good frame, or a frame whose only fault
// is an inverted check byte (the simulator reproduces that with a corruptCheck fault).
struct MeantReply {
    std::vector<uint8_t> frame;  // with a good check byte
    int64_t ms = 0;
    bool corrupted = false;
    const TraceLine* line = nullptr;
};
std::optional<MeantReply> meantReply(const Exchange& e);

// What a replay showed against the trace: frames compared, differences (one sentence each,
// naming the trace line), and how many reply times differ from the recorded ones.
struct ReplayCheck {
    int framesCompared = 0;
    int timesDiffering = 0;
    std::vector<std::string> differences;
    bool ok() const { return differences.empty(); }
};
ReplayCheck compareReplay(const Exchanges& exchanges,
                          const std::vector<std::vector<ReplayedFrame>>& replayed);

// Loads a scenario text, plays the trace into it and compares; a scenario that does not
// load is one difference.
ReplayCheck checkScenario(const std::string& scenarioText, const Exchanges& exchanges);

}  // namespace corvan::trace
