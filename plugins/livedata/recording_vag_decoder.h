#pragma once
// For the tests: a VAG decoder that shows what it was handed, "F<field>:<answer>" for a
// block with formulas (unit "deg") and "D<field>:<answer>:<header bytes>" for a dynamic
// group (unit "rpm"), so a test sees which decoding an item got and with which bytes.
#include <string>

#include "plugins/livedata/vag_decoder.h"

namespace corvan::livedata::testing {

class RecordingVagDecoder final : public VagDecoder {
  public:
    VagField decodeFixed(std::string_view answer, int field, std::string_view) const override {
        return {"F" + std::to_string(field) + ":" + std::string(answer), "deg"};
    }
    VagField decodeDynamic(std::string_view answer, int field, std::span<const uint8_t> header,
                           std::string_view) const override {
        return {"D" + std::to_string(field) + ":" + std::string(answer) + ":" +
                    std::to_string(header.size()),
                "rpm"};
    }
};

}  // namespace corvan::livedata::testing
