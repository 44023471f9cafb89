#pragma once
// The coding's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English again,
// 5 Portuguese), and the ones it shows in Spanish in every language.
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::vagcoding {

inline constexpr TextTable kTitlePrefix = {
    "CODIFICACION UCE: ", "ECU CODIFICATION: ", "CODIERUNG STEUERGERÄT: ",
    "CODIFICACION UCE: ", "ECU CODIFICATION: ", "CODIFICAÇÃO UCE: ",
};
inline constexpr TextTable kEnterNewCode = {
    "INTRODUZCA NUEVO CODIGO", "ENTER NEW CODE", "NEUE CODIERUNG EINGEBEN",
    "INTRODUZCA NUEVO CODIGO", "ENTER NEW CODE", "INTRODUZA NOVO CÓDIGO",
};
inline constexpr TextTable kRetrieving = {
    "           OBTENIENDO INFORMACION, POR FAVOR, ESPERE...",
    "           RETRIEVING INFORMATION, PLEASE, WAIT...",
    "           INFORMATIONEN WERDEN GELESEN, BITTE WARTEN...",
    "           OBTENIENDO INFORMACION, POR FAVOR, ESPERE...",
    "           RETRIEVING INFORMATION, PLEASE, WAIT...",
    "           A OBTER INFORMAÇÃO, POR FAVOR, AGUARDE...",
};
inline constexpr TextTable kDemoMode = {
    "MODO DEMOSTRACION", "DEMO MODE", "DEMO-MODUS",
    "MODO DEMOSTRACION", "DEMO MODE", "MODO DEMONSTRAÇÃO",
};
inline constexpr TextTable kActualCode = {
    "Código actual", "Actual code", "Aktuelle Codierung",
    "Código actual", "Actual code", "Código actual",
};
inline constexpr TextTable kNewCode = {
    "Nuevo código", "New code", "Neue Codierung", "Nuevo código", "New code", "Novo código",
};
inline constexpr TextTable kChangeCode = {
    "Cambiar código UCE", "Change ECU code", "Codierung ändern",
    "Cambiar código UCE", "Change ECU code", "Alterar código UCE",
};
inline constexpr TextTable kExitText = {"Salir", "Exit", "Ende", "Salir", "Exit", "Sair"};
inline constexpr TextTable kForceText = {
    "Reprogramar UCE. Sólo si no es posible programar una unidad codificada",
    "ECU Reprogram. Only if it is not possible to program a codified unit",
    "Steuergerät neu programmieren. Nur wenn ein codiertes Gerät nicht programmierbar ist",
    "Reprogramar UCE. Sólo si no es posible programar una unidad codificada",
    "ECU Reprogram. Only if it is not possible to program a codified unit",
    "Reprogramar UCE. Só se não for possível programar uma unidade codificada",
};
inline constexpr TextTable kCodingOk = {
    "CODIFICACION OK", "CODIFICATION OK", "CODIERUNG OK",
    "CODIFICACION OK", "CODIFICATION OK", "CODIFICAÇÃO OK",
};
inline constexpr TextTable kWrongCode = {
    "ATENCION: CODIGO ERRONEO", "ATTENTION: WRONG CODE", "ACHTUNG: FALSCHE CODIERUNG",
    "ATENCION: CODIGO ERRONEO", "ATTENTION: WRONG CODE", "ATENÇÃO: CÓDIGO ERRADO",
};

// Shown in Spanish whatever the language.
inline constexpr std::string_view kCodingText = "           CODIFICANDO, POR FAVOR ESPERE...";
inline constexpr std::string_view kNotAvailableNow = "Operación no disponible en este momento";
// The text names 32000, the accepted codings go up to 32767.
inline constexpr std::string_view kRangeMessage =
    "El código debe estar comprendido entre 0 y 32000";

}  // namespace corvan::vagcoding
