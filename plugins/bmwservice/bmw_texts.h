#pragma once
// The BMW service reset's texts, by language (Spanish, English, German, Spanish, English,
// Portuguese).
#include "runtime/text_table.h"

namespace corvan::bmwservice {

inline constexpr TextTable kTitle = {
    "SERVICIOS DE INSPECCION", "RESET INSPECTIONS", "INSPEKTIONS-SERVICE",
    "SERVICIOS DE INSPECCION", "RESET INSPECTIONS", "SERVIÇO DE REVISÕES",
};
inline constexpr TextTable kOilButton = {
    "APAGADO SERVICIO DE ACEITE", "RESET OIL SERVICE", "RESET ÖL-SERVICE",
    "APAGADO SERVICIO DE ACEITE", "RESET OIL SERVICE", "RESET SERVIÇO DE OLEO",
};
inline constexpr TextTable kInspectionButton = {
    "APAGADO SERVICIO DE INSPECCIONES", "RESET INSPECTION SERVICE", "RESET INSPEKTION",
    "APAGADO SERVICIO DE INSPECCIONES", "RESET INSPECTION SERVICE", "RESET SERVIÇO DE REVISÕES",
};
inline constexpr TextTable kExitButton = {"SALIR", "Exit", "Verlassen", "Salir", "Exit", "SAIR"};
inline constexpr TextTable kProgressText = {
    "Reiniciando indicador de intervalos",
    "Reset interval services",
    "Intervall-Anzeige neu initiieren",
    "Reiniciando indicador de intervalos",
    "Reset interval services",
    "RESET INTERVALO DE REVISÕES",
};

}  // namespace corvan::bmwservice
