#pragma once
// The PSA airbag coding's texts: Spanish, English and German (3 and 4 repeat Spanish and
// English; Portuguese falls back to Spanish).
#include "runtime/text_table.h"

namespace corvan::psasrs {

inline constexpr TextTable kTitle = {
    "CODIFICACION UCE", "ECU CODIFICATION", "STEUERGERÄTECODIERUNG",
    "CODIFICACION UCE", "ECU CODIFICATION", "",
};
inline constexpr TextTable kChooseLabel = {
    "Elija la configuración", "Choose configuration", "Konfiguration wählen",
    "Elija la configuración", "Choose configuration", "",
};
inline constexpr TextTable kDriverOnly = {
    "Sólo conductor", "Only driver", "Nur Fahrer", "Sólo conductor", "Only driver", "",
};
inline constexpr TextTable kDriverPassenger = {
    "Conductor y acompañante", "Driver and passenger", "Fahrer und Beifahrer",
    "Conductor y acompañante", "Driver and passenger", "",
};
inline constexpr TextTable kDriverPassengerKey = {
    "Conductor, acompañante y desactivación por llave",
    "Driver, passenger and key deactivation",
    "Fahrer, Beifahrer und Schlüsseldeaktivierung",
    "Conductor, acompañante y desactivación por llave",
    "Driver, passenger and key deactivation",
    "",
};
inline constexpr TextTable kCodeButton = {
    "Codificar", "Key codifying", "Codieren", "Codificar", "Key codifying", "",
};
inline constexpr TextTable kAlreadyCoded = {
    "ATENCIÓN: UCE ya codificada. No es posible codificarla de nuevo",
    "ATTENTION: ECU still codified. Is not possible to codify it again",
    "ACHTUNG: Steuergerät bereits codiert. Erneutes Codieren nicht möglich",
    "ATENCIÓN: UCE ya codificada. No es posible codificarla de nuevo",
    "ATTENTION: ECU still codified. Is not possible to codify it again",
    "",
};
inline constexpr TextTable kCodingDone = {
    "Codificación realizada", "Codification done", "Codierung durchgeführt",
    "Codificación realizada", "Codification done", "",
};

// The coding request got no reply at all: the unit may or may not be coded, so the
// technician is not told that it is.
inline constexpr TextTable kCodingUnconfirmed = {
    "La UCE no ha respondido: codificación no confirmada. Lea el estado antes de codificar "
    "de nuevo",
    "The ECU did not answer: coding not confirmed. Read its status before coding again",
    "Das Steuergerät hat nicht geantwortet: Codierung nicht bestätigt. Vor erneutem Codieren "
    "den Status lesen",
    "La UCE no ha respondido: codificación no confirmada. Lea el estado antes de codificar "
    "de nuevo",
    "The ECU did not answer: coding not confirmed. Read its status before coding again",
    "",
};

}  // namespace corvan::psasrs
