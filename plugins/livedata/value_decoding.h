#pragma once
// The generic conversion of an ECU answer into the shown value: the raw value cut out of
// the answer by byte position, then the catalogue's rule: "CAL" arithmetic in single
// precision, "LOG" bit state texts, "TBL" table texts, or the answer itself in hexadecimal.
// Pure functions over texts; every failure shows "???".
#include <optional>
#include <string>
#include <string_view>

namespace corvan::livedata {

inline constexpr std::string_view kUnknownValue = "???";

// The raw value at `position` ("i" for one byte, "i,j" for byte i × 256 + byte j) of an
// answer written as hexadecimal text; nullopt when an index lies outside the answer or is
// not a number.
std::optional<int> rawValue(std::string_view answer, std::string_view position);

// The expression part of a "CAL" field evaluated strictly left to right on `raw`, without
// operator precedence: '*', '+', '-', '/' take the number after them, '!' negates, every
// other character is skipped with its operand.
float evaluateExpression(std::string_view expression, int raw);

// A whole "CAL" field ("CAL *0.5-40;1", "CAL #*1|-256;0") on `raw`, formatted with the
// decimals its last character asks for.
std::string calText(std::string_view conversion, int raw);

// A "LOG" field: the second state text of `unit` (written "\"ON\"/\"OFF\"") when the bit
// named by the field's last character is set in `raw`, else the first.
std::string logText(std::string_view conversion, std::string_view unit, int raw);

// Entry `index` of the table `name` written anywhere in `text` as name={a,b,"c"}, double
// quotes dropped; "???" when the table is missing or too short.
std::string tableEntry(std::string_view text, std::string_view name, int index);

// The whole generic decoding of one item's answer.
std::string decodeGeneric(std::string_view answer, std::string_view position,
                          std::string_view conversion, std::string_view unit,
                          std::string_view text);

}  // namespace corvan::livedata
