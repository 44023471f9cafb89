#pragma once
// The identification's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English
// again, 5 Portuguese).
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::identify {

inline constexpr TextTable kTitlePrefix = {
    "IDENTIFICACION UCE: ", "ECU IDENTIFICATION: ", "IDENTIFIZIERUNG ECU ",
    "IDENTIFICACION UCE: ", "ECU IDENTIFICATION: ", "IDENTIFICAÇÃO ECU ",
};
inline constexpr TextTable kDescriptionHeading = {
    "DESCRIPCION", "DESCRIPTION", "BESCHREIBUNG", "DESCRIPCION", "DESCRIPTION", "DESCRIÇÃO",
};
inline constexpr TextTable kInformationHeading = {
    "INFORMACION", "INFORMATION", "INFORMATION", "INFORMACION", "INFORMATION", "INFORMAÇÃO",
};
inline constexpr TextTable kDemoValue = {
    "MODO SIMULACION", "SIMULATION MODE", "SIMULATIONSBETRIEB",
    "MODO SIMULACION", "SIMULATION MODE", "MODO DEMONSTRAÇÃO",
};

inline constexpr std::string_view kExitText = "Exit";
// A value that cannot be obtained or rendered.
inline constexpr std::string_view kUnknownValue = "???";

}  // namespace corvan::identify
