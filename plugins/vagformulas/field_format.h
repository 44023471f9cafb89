#pragma once
// How the formula tables print a field: real results rounded to single precision (the units'
// arithmetic) before "%.Nf", whole-number results truncated toward zero, and the texts of a
// field whose formula has no row.
#include <cstdint>
#include <span>
#include <string>

namespace corvan::vag::detail {

// The result rounded to single precision and printed with `decimals` decimals.
std::string realText(double value, int decimals);
// The result rounded to single precision, truncated toward zero, printed as "%i".
std::string wholeText(double value);

// A formula without a row: the two bytes in hexadecimal and the formula number, so the
// technician can still read the raw field.
std::string factorText(int first, int second);  // "Factor: %.2X, Valor: %.2X"
std::string unknownUnit(int formula);           // "?: %.3i"

// Bytes shown as characters (Windows-1252, as the units write them); a zero byte ends the
// text, as it ends a printed character string.
std::string bytesAsText(std::span<const uint8_t> bytes);

}  // namespace corvan::vag::detail
