#pragma once
// The function menu's texts, one six-slot table per use (0 Spanish, 1 English, 2 German,
// 3 and 4 Spanish and English again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::funcmenu {

inline constexpr TextTable kTitlePrefix = {
    "MENU DE OPCIONES: ", "OPTIONS MENU: ", "MENÜPUNKTE ",
    "MENU DE OPCIONES: ", "OPTIONS MENU: ", "MENU DE OPÇÕES ",
};
inline constexpr TextTable kColumnHeading = {
    "OPCIONES", "OPTIONS", "OPTIONEN", "OPCIONES", "OPTIONS", "OPÇÕES",
};
inline constexpr TextTable kRunButton = {
    "SELECCIONAR", "SELECT", "WÄHLEN", "SELECCIONAR", "SELECT", "SELECIONAR",
};
inline constexpr TextTable kInformationButton = {
    "Información", "Information", "Information", "Información", "Information", "INFORMAÇÃO",
};
// Slot 3 is written in lower case, unlike slot 0.
inline constexpr TextTable kExitButton = {
    "SALIR", "Exit", "Verlassen", "Salir", "Exit", "SAIR",
};
inline constexpr TextTable kPowerLabel = {
    "Alimentación", "Power", "Einspeisung", "Alimentación", "Power", "Alimentación",
};
inline constexpr TextTable kDemoNotice = {
    "MODO DEMO", "DEMO MODE", "DEMO-MODE", "MODO DEMO", "DEMO MODE", "MODO DEMO",
};
inline constexpr TextTable kLoadError = {
    "Error en carga de DLL %s", "Load Error, DLL %s", "Fehler beim Laden der DLL %s",
    "Error en carga de DLL %s", "Load Error, DLL %s", "ERRO NA CARREGAMENTO DO DLL %s",
};

// Connection state of the box (state reply byte 3).
inline constexpr TextTable kStateDisconnected = {
    "Desconectado", "Disconnected", "Abgeschaltet", "Desconectado", "Disconnected", "DESLIGADO",
};
inline constexpr TextTable kStateConnected = {
    "Conectado", "Connected", "Angeschlossen", "Conectado", "Connected", "LIGADO",
};
inline constexpr TextTable kStateConnecting = {
    "Reintentando conexión", "Trying to connect", "Neuer Anschluss-Versuch",
    "Reintentando conexión", "Trying to connect", "REINTENTANDO LIGAÇÃO",
};
inline constexpr TextTable kStateOther = {
    "Desconocido", "Unknown", "Unbekannt", "Desconocido", "Unknown", "DESCONHECIDO",
};
inline constexpr TextTable kConnectionError = {
    "ERROR DE CONEXION", "CONNECTION ERROR", "VERBINDUNGSFEHLER",
    "ERROR DE CONEXION", "CONNECTION ERROR", "ERRO DE LIGAÇÃO",
};

// The information box. Only Spanish, English and Portuguese exist: German falls back to
// English. Fields: box code, box version, data name, data version, driver name, driver
// checksum word, connection state.
inline constexpr TextTable kInformationText = {
    "Código VarBox: %s\r\nVersion VarBox: %s\r\n\r\nNombre de ficha: %s\r\nVersión ficha: "
    "%s\r\n\r\nNombre driver: %s\r\nChecksum driver: %s\r\n\r\nEstado conexión: %s",
    "VarBox Code: %s\r\nVarBox Version: %s\r\n\r\nData name: %s\r\nData Version: "
    "%s\r\n\r\nDriver name: %s\r\nDriver checksum: %s\r\n\r\nConnection status: %s",
    "",
    "",
    "",
    "Código VarBox: %s\r\nVersÃo VarBox: %s\r\n\r\nNome da ficha: %s\r\nVERSÃO DA FICHA: "
    "%s\r\n\r\nNOME DO DRIVER: %s\r\nChecksum do driver: %s\r\n\r\nEstado de ligaçÃo: %s",
};

}  // namespace corvan::funcmenu
