#pragma once
// The Renault airbag module's texts: Spanish, English and German (3 and 4 repeat Spanish and
// English; Portuguese falls back to Spanish).
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::renaultsrs {

inline constexpr std::string_view kTitle = "ACTIVACION/DESACTIVACION SRS";

inline constexpr TextTable kOnButton = {
    "SRP ACTIVADO (DESBLOQUEAR)", "SRP ON (UNLOCK)", "SRP EIN (ENTRIEGELN)",
    "SRP ACTIVADO (DESBLOQUEAR)", "SRP ON (UNLOCK)", "",
};
inline constexpr TextTable kOffButton = {
    "SRP DESACTIVADO (BLOQUEAR)", "SRP OFF (LOCK)", "SRP AUS (VERRIEGELN)",
    "SRP DESACTIVADO (BLOQUEAR)", "SRP OFF (LOCK)", "",
};
inline constexpr TextTable kStatusDemo = {
    "ESTADO SRP == MODO DEMO", "SRP STATUS == DEMO MODE", "SRP STATUS == DEMO MODUS",
    "ESTADO SRP == MODO DEMO", "SRP STATUS == DEMO MODE", "",
};
inline constexpr TextTable kStatusUnknown = {
    "ESTADO SRP == DESCONOCIDO", "SRP STATUS == UNKNOWN", "SRP STATUS == UNBEKANNT",
    "ESTADO SRP == DESCONOCIDO", "SRP STATUS == UNKNOWN", "",
};
inline constexpr TextTable kStatusOn = {
    "ESTADO SRP == ACTIVADO (DESBLOQUEADO)", "SRP STATUS == ON (UNLOCKED)",
    "SRP STATUS == EIN (ENTRIEGELT)",        "ESTADO SRP == ACTIVADO (DESBLOQUEADO)",
    "SRP STATUS == ON (UNLOCKED)",           "",
};
inline constexpr TextTable kStatusOff = {
    "ESTADO SRP == DESACTIVADO (BLOQUEADO)",
    "SRP STATUS == OFF (LOCKED)",
    "SRP STATUS == AUS (VERRIEGELT)",
    "ESTADO SRP == DESACTIVADO (BLOQUEADO)",
    "SRP STATUS == OFF (LOCKED)",
    "",
};
// Shown after a switch in every language.
inline constexpr std::string_view kSwitchDone =
    "Acción realizada. Verifique el nuevo estado del airbag";

}  // namespace corvan::renaultsrs
