#pragma once
// Decoding of the measuring blocks (groups) of units that speak KW1281. A group answer
// carries up to four fields, each a formula number and two data bytes a and b (title 0xE7);
// a dynamic group is described once by a header block (title 0x02: per field a formula m, a
// factor o and a count of further bytes) and its data blocks (title 0xF4) then carry one
// byte u per field. Each field becomes the shown value and its unit.
//
// The live-data items of the kinds "VAG" and "VAGCAN" and the channel reader decode with the
// same tables; the channel reader, which always has the whole block at hand, also shows the
// text fields of formulas 63 and 95 (FormulaSet::Channels). Everything here is pure: bytes
// and texts in, texts out, never a read outside the answer.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvan::vag {

// Block titles (byte 2 of a block).
inline constexpr uint8_t kTitleGroup = 0xE7;        // group answer with formula numbers
inline constexpr uint8_t kTitleHeader = 0x02;       // header of a dynamic group
inline constexpr uint8_t kTitleDynamicData = 0xF4;  // data of a dynamic group
inline constexpr uint8_t kTitleRefused = 0x0A;      // the unit has no such group

// The value shown for a field that cannot be decoded.
inline constexpr std::string_view kUnknownValue = "???";

struct FieldText {
    std::string value;
    std::string unit;
    bool operator==(const FieldText&) const = default;
};

// Which copy of the fixed table: the live-data items, or the channel reader with its two
// text formulas.
enum class FormulaSet {
    LiveData,
    Channels,  // adds 63 (the block's text from byte 4) and 95 (counted text from byte 7)
};

// One row of the fixed table for formula `formula` and the data bytes a and b. Formulas
// without a row show "Factor: %.2X, Valor: %.2X" and the unit "?: %.3i".
FieldText fixedFormula(int formula, uint8_t a, uint8_t b);

// Field `field` (from 0) of a group answer `block` (the unit's bytes, byte 0 the block
// length): the formula at byte 3 + 3 field, a and b after it. nullopt when the field lies
// outside the answer.
std::optional<FieldText> decodeFixedField(std::span<const uint8_t> block, int field,
                                          FormulaSet set);

// Field `field` of a dynamic data block `data` (title 0xF4, u at byte 3 + field), described
// by `header` (title 0x02, descriptors from byte 3). nullopt when the field's descriptor or
// its data byte lies outside the answers. Formulas 139 and 140 need the descriptor's
// 17-byte table; without it the value is "???".
std::optional<FieldText> decodeDynamicField(std::span<const uint8_t> data, int field,
                                            std::span<const uint8_t> header);

}  // namespace corvan::vag
