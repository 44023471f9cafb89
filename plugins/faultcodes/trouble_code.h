#pragma once
// A trouble code as the modules keep it and the code list shows it, and the writing of a
// code number with its letter (the system area in the two top bits of the first byte).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvan::faultcodes {

struct TroubleCode {
    std::string code;         // "P0100"
    std::string description;  // from the definition text, or kUnidentifiedDescription
    std::string detail;       // from the definition text, or the ECU's reply in hexadecimal
    std::string kind;         // "AUTOTEST" for the self-test, "ACTUAL" or "FUGAZ" from the reader
    std::string extra;
    bool operator==(const TroubleCode&) const = default;
};

// Stored for a code that the definition text does not hold; the list shows the language's
// own text in its place (it looks for kUnidentifiedMark).
inline constexpr std::string_view kUnidentifiedDescription = "AVERÍA NO IDENTIFICADA";
inline constexpr std::string_view kUnidentifiedMark = "NO IDENTIFICADA";
// Where a detail carries the raw frame after its text; the list cuts it off there.
inline constexpr std::string_view kFrameMark = "@FRAME=";

// The letter from the two top bits of b1 (00 "P", 01 "C", 10 "B", 11 "N": stored definition
// files are written with "N" for network codes), then "%.2X%.2X" of (b1 AND 0x3F, b2).
std::string letteredCode(uint8_t b1, uint8_t b2);

// The self-test's code of a result pair; nullopt for a pair whose number is 0000 (a filler).
std::optional<std::string> resultPairCode(uint8_t b1, uint8_t b2);

}  // namespace corvan::faultcodes
