#pragma once
// The login's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English again,
// 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::vaglogin {

inline constexpr TextTable kTitlePrefix = {
    "ENTRADA CODIGO ACCESO: ", "CODE ACCESS ENTRY: ", "EINGABE ZUGRIFFSCODE: ",
    "ENTRADA CODIGO ACCESO: ", "CODE ACCESS ENTRY: ", "ENTRADA CÓDIGO DE ACESSO: ",
};
inline constexpr TextTable kCodeLabel = {
    "CODIGO DE ACCESO:", "ACCESS CODE:", "ZUGRIFFSCODE:",
    "CODIGO DE ACCESO:", "ACCESS CODE:", "CÓDIGO DE ACESSO:",
};
inline constexpr TextTable kReadingText = {
    "Leyendo información. Por favor, espere...",     "Reading information. Please, wait...",
    "Informationen werden gelesen. Bitte warten...", "Leyendo información. Por favor, espere...",
    "Reading information. Please, wait...",          "A LER INFORMAÇÃO. POR FAVOR, AGUARDE...",
};
inline constexpr TextTable kLockWarning = {
    "ATENCION: la UCE se bloqueará tras 3 intentos",
    "ATTENTION: ECU will lock after 3 attempts",
    "ACHTUNG: Steuergerät sperrt nach 3 Versuchen",
    "ATENCION: la UCE se bloqueará tras 3 intentos",
    "ATTENTION: ECU will lock after 3 attempts",
    "ATENÇÃO: A UCE BLOQUEIA APÓS 3 TENTATIVAS",
};
inline constexpr TextTable kAccepted = {
    "Código ACEPTADO", "Code ACCEPTED", "Code AKZEPTIERT",
    "Código ACEPTADO", "Code ACCEPTED", "CÓDIGO ACEITE",
};
inline constexpr TextTable kRefused = {
    "ATENCION: ¡¡¡código erróneo!!!", "ATTENTION: wrong code!!!", "ACHTUNG: falscher Code!!!",
    "ATENCION: ¡¡¡código erróneo!!!", "ATTENTION: wrong code!!!", "ATENÇÃO: CÓDIGO ERRADO!!!",
};
inline constexpr TextTable kDemoRefused = {
    "PROCEDIMIENTO NO DISPONIBLE EN MODO DEMO", "PRECEDURE NOT SUPPORTED IN DEMO MODE",
    "VERFAHREN IM DEMO-MODUS NICHT VERFÜGBAR",  "PROCEDIMIENTO NO DISPONIBLE EN MODO DEMO",
    "PRECEDURE NOT SUPPORTED IN DEMO MODE",     "PROCEDIMENTO NÃO DISPONÍVEL EM MODO DEMO",
};
inline constexpr TextTable kOkText = {"OK", "OK", "OK", "OK", "OK", "OK"};
inline constexpr TextTable kCancelText = {
    "Cancelar", "Cancel", "Abbrechen", "Cancelar", "Cancel", "Cancelar",
};
inline constexpr TextTable kExitText = {"Salir", "Exit", "Ende", "Salir", "Exit", "Sair"};

}  // namespace corvan::vaglogin
