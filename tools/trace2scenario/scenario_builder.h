#pragma once
// A trace turned into a scenario of table ECUs. The box's own part comes from what it
// answered (box_inference.h); the ECUs are found by playing the trace into a simulated box
// whose ECUs record what they are asked: the box decides, as it does in every replay, which
// configuration selects which ECU and which messages reach it, so each ECU's rules hold
// exactly the requests it will see again, with the answers in the order they came and the
// delays measured from the trace.
#include <string>
#include <vector>

#include "tools/trace2scenario/box_inference.h"
#include "tools/trace2scenario/trace_reader.h"

namespace corvan::trace {

struct BuiltScenario {
    Json scenario;
    std::vector<std::string> notes;  // what could not be inferred, and what was done instead
    std::string error;               // nothing to build a scenario from
    bool ok() const { return error.empty(); }
};

// The scenario file's text. Bytes of the box's texts that are not UTF-8 become U+FFFD (the
// check then shows the difference) instead of failing the whole conversion.
std::string scenarioText(const Json& scenario);

// `comment` goes into the scenario's "comment".
BuiltScenario buildScenario(const Exchanges& exchanges, const std::string& comment);

// The "select" of the ECU a configuration addresses (the 40 bytes of the 0x80 request), by
// the fields the box looks at for its line: address, pin and initial message on the K line,
// channel and identifier bytes on CAN.
Json selectorFor(const std::vector<uint8_t>& config);

}  // namespace corvan::trace
