#pragma once
// What the box itself showed in a trace, as the "box" and "timing" parts of a scenario: the
// program it ran at power-up and the driver's name, the state reply's voltage and codes,
// the keep-alive message, the configuration template, the adapter cable (found by trying
// the simulator's cables against the register replies) and how the driver download went.
// Pure: exchanges in, JSON and notes out.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/trace2scenario/trace_reader.h"

namespace corvan::trace {

using Json = nlohmann::ordered_json;

struct BoxFindings {
    Json box = Json::object();
    Json timing = Json::object();
    int64_t replyDelayMs = 0;  // the box's quickest turnaround; ECU delays count on top
    // What the trace does not tell or the simulator cannot show, one sentence each.
    std::vector<std::string> notes;
};

BoxFindings inferBox(const Exchanges& exchanges);

// Data bytes of a frame (after the command byte, before the check byte).
std::vector<uint8_t> frameData(const std::vector<uint8_t>& frame);
// "80 00 88" for messages and scenario files.
std::string hexText(const std::vector<uint8_t>& bytes);

}  // namespace corvan::trace
