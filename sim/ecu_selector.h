#pragma once
// Which ECU a configuration addresses. The host writes the 40 configuration bytes (frame
// index 3 onwards of the 0x80 request); a K-line driver finds its ECU by the address byte
// (`ID`, frame index 8) and the connector pin, a CAN driver by its channel (index 3) and
// identifier bytes (`ACCEPTMASK` index 7, `ACCEPTCODE` index 8, `RESPCODE` index 13).
// Every field left out matches anything.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/ecu_model.h"

namespace corvan::sim {

struct EcuSelector {
    enum class Line { Any, KLine, Can };
    Line line = Line::Any;
    // K line
    std::optional<uint8_t> id;
    std::optional<int> pin;
    std::vector<uint8_t> begins;  // the initial message starts with these bytes
    // CAN
    std::optional<uint8_t> channel;
    std::optional<uint8_t> respCode, acceptCode, acceptMask;

    bool matches(ConfigBytes config) const;
    std::string describe() const;
};

// Configuration byte offsets (frame index minus 3).
namespace cfg {
constexpr size_t kChannel = 0, kPin8 = 2, kPinCode = 3, kBrgMask = 4, kIdCode = 5, kTFrameHigh = 6,
                 kTFrameLow = 7, kTByteHigh = 8, kTByteLow = 9, kSccResp = 10, kBegin = 11;
}

}  // namespace corvan::sim
