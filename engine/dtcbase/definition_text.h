#pragma once
// Looking codes up in the text of a definition file once it was made readable. An entry is
// the code followed by bracketed fields; trouble codes have three (description and detail
// each written with a quote character inside its brackets, then the extra value), actuators
// two (the quoted description, then the help document):
//
//   [P0100]["Mass air flow circuit"]["Check the sensor's connector"][1]
//   [00017]["Fuel pump relay"][ACT017.htm]
//
// All searches are plain and case-sensitive; the first occurrence is the entry.
#include <optional>
#include <string>
#include <string_view>

namespace corvan::dtc {

struct DefinitionFields {
    std::string description, detail, extra;
};

// The three fields of the entry found at the first occurrence of `key` (the code text alone
// for the self-test list, "[" code "]" for the KWP reader); nullopt when `key` does not
// occur. A quoted field runs from the character after its opening quote to the next quote;
// a field written without quotes runs to its "]". Missing fields are empty.
std::optional<DefinitionFields> findDefinition(std::string_view text, std::string_view key);

struct ActuatorEntry {
    std::string description, helpDocument;
};

// The entry of actuator `code`, written "%.5i": the description starts two characters after
// the next "[" and ends before the next double quote; the help document is the bracketed
// field after it. nullopt when the code does not occur.
std::optional<ActuatorEntry> findActuator(std::string_view text, int code);

}  // namespace corvan::dtc
