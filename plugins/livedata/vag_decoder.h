#pragma once
// Where KW1281 measuring blocks are turned into a shown value and unit. A block answer
// (hexadecimal text of the ECU's bytes: length, counter, title, then the fields) carries
// per field either a formula number and two data bytes (title 0xE7, and the CAN answers
// once "00" is put in front) or, in a dynamic group, one value byte per field described by
// the header block (title 0x02) that the ECU sent for the same request.
//
// A field the tables cannot decode (outside the answer, no descriptor) shows "???" and keeps
// the unit of the catalogue.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvan::livedata {

struct VagField {
    std::string value;
    std::string unit;
};

class VagDecoder {
  public:
    virtual ~VagDecoder() = default;
    // Field `field` (from 0) of a block with formula numbers; `unit` is the item's unit
    // before decoding (kept where the block gives none).
    virtual VagField decodeFixed(std::string_view answer, int field,
                                 std::string_view unit) const = 0;
    // Field `field` of a dynamic group's data block (title 0xF4), described by `header`,
    // the bytes of the header block.
    virtual VagField decodeDynamic(std::string_view answer, int field,
                                   std::span<const uint8_t> header,
                                   std::string_view unit) const = 0;
};

// The decoder the plug-in uses: the measuring-block formula tables the channel reader shares.
const VagDecoder& vagDecoder();

}  // namespace corvan::livedata
