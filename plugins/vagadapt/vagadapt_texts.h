#pragma once
// The channel adaptation's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese), and the one it shows in Spanish in every language.
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::vagadapt {

inline constexpr TextTable kTitlePrefix = {
    "AJUSTE DE CANALES: ", "CHANNEL ADJUSTMENT: ", "KANALANPASSUNG: ",
    "AJUSTE DE CANALES: ", "CHANNEL ADJUSTMENT: ", "AJUSTE DE CANAIS: ",
};
inline constexpr TextTable kDemoRefused = {
    "No es posible iniciar la prueba en modo DEMO",
    "Can´t start activation test in DEMO mode",
    "Test im DEMO-Modus nicht möglich",
    "No es posible iniciar la prueba en modo DEMO",
    "Can´t start activation test in DEMO mode",
    "NÃO É POSSIVEL INICIAR O TESTE EM MODO DEMO",
};
inline constexpr TextTable kSaveQuestion = {
    "ATENCION: se guardarán los cambios.\n\r¿Está seguro?",
    "ATTENTION: changes will be saved.\n\rAre you sure?",
    "ACHTUNG: Änderungen werden gespeichert.\n\rSind Sie sicher?",
    "ATENCION: se guardarán los cambios.\n\r¿Está seguro?",
    "ATTENTION: changes will be saved.\n\rAre you sure?",
    "ATENÇÃO: AS ALTERAÇÕES SERÃO GRAVADAS.\n\rTEM A CERTEZA?",
};
inline constexpr TextTable kChannelLocked = {
    "Ajuste no permitido.\r\nEl canal seleccionado está bloqueado y puede requerir una "
    "contraseña para modificar la información",
    "Adjustment not allowed.\r\nThe selected channel is locked and can request a pssword to "
    "modify information",
    "Anpassung nicht erlaubt.\r\nDer gewählte Kanal ist gesperrt und kann zum Ändern ein "
    "Passwort verlangen",
    "Ajuste no permitido.\r\nEl canal seleccionado está bloqueado y puede requerir una "
    "contraseña para modificar la información",
    "Adjustment not allowed.\r\nThe selected channel is locked and can request a pssword to "
    "modify information",
    "AJUSTE NÃO PERMITIDO.\r\nO CANAL SELECCIONADO ESTÁ BLOQUEADO E PODE PEDIR UMA "
    "PALAVRA-PASSE PARA MODIFICAR A INFORMAÇÃO",
};
inline constexpr TextTable kSaveRefused = {
    "Ajuste no permitido", "Adjustment not allowed", "Anpassung nicht erlaubt",
    "Ajuste no permitido", "Adjustment not allowed", "AJUSTE NÃO PERMITIDO",
};
inline constexpr TextTable kSaveAccepted = {
    "Ajuste OK", "Adjustment OK", "Anpassung OK", "Ajuste OK", "Adjustment OK", "AJUSTE OK",
};
inline constexpr TextTable kReadRefused = {
    "No permitido", "Not allowed", "Nicht erlaubt", "No permitido", "Not allowed", "NÃO PERMITIDO",
};
inline constexpr TextTable kNoValueText = {
    "No disponible", "Not available", "Nicht verfügbar",
    "No disponible", "Not available", "NÃO DISPONÍVEL",
};
inline constexpr TextTable kLoadError = {
    "Error en carga de DLL %s", "Load Error, DLL %s", "Fehler beim Laden der DLL %s",
    "Error en carga de DLL %s", "Load Error, DLL %s", "ERRO NA CARREGAMENTO DO DLL %s",
};
inline constexpr TextTable kStartText = {"Iniciar", "Start", "Start",
                                         "Iniciar", "Start", "Iniciar"};
inline constexpr TextTable kStopText = {"Parar", "Stop", "Stopp", "Parar", "Stop", "Parar"};
inline constexpr TextTable kSaveText = {
    "Guardar nuevo dato", "Save new data", "Neue Daten speichern",
    "Guardar nuevo dato", "Save new data", "Gravar novos dados",
};
inline constexpr TextTable kResetText = {
    "Borrar valores de adaptación", "Reset adaptation values", "Anpassungswerte zurücksetzen",
    "Borrar valores de adaptación", "Reset adaptation values", "Repor valores de adaptação",
};
inline constexpr TextTable kAccessCodeText = {
    "Código de acceso", "Access code", "Zugriffscode",
    "Código de acceso", "Access code", "Código de acesso",
};
inline constexpr TextTable kChannelLabel = {"CANAL", "CHANNEL", "KANAL",
                                            "CANAL", "CHANNEL", "CANAL"};
inline constexpr TextTable kNewValueLabel = {
    "Nuevo valor", "New value", "Neuer Wert", "Nuevo valor", "New value", "Novo valor",
};
inline constexpr TextTable kCurrentValueLabel = {
    "VALOR ACTUAL", "CURRENT VALUE", "AKTUELLER WERT",
    "VALOR ACTUAL", "CURRENT VALUE", "VALOR ACTUAL",
};
inline constexpr TextTable kFunctionLabel = {
    "Función", "Function", "Funktion", "Función", "Function", "Função",
};
inline constexpr TextTable kSpecialLabel = {
    "Ajuste especial", "Special adjustment", "Sonderanpassung",
    "Ajuste especial", "Special adjustment", "Ajuste especial",
};
inline constexpr TextTable kExitText = {"Salir", "Exit", "Ende", "Salir", "Exit", "Sair"};

// The small window while the main one is being set up.
inline constexpr std::string_view kPreparing = "Leyendo identificación, por favor espere";
// The current value after a save, until the channel is read again.
inline constexpr std::string_view kValueAfterSave = "???";

}  // namespace corvan::vagadapt
