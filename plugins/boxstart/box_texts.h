#pragma once
// Every text the box start-up shows, by language (slots 3 and 4 repeat Spanish and English).
// "%s" and "%i" are filled in with fillIn().
#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::boxstart {

// Title of the progress window.
inline constexpr TextTable kTitleText = {
    "CONEXION UCE", "ECU CONNECTION", "ANSCHLUSS ECU",
    "CONEXION UCE", "ECU CONNECTION", "LIGAÇÃO UCE",
};

// Stages shown in the progress window's text line.
inline constexpr TextTable kCheckingStatusText = {
    "Comprobando estado del VARBOX", "Checking VARBOX status", "VARBOX-Status wird geprüft",
    "Comprobando estado del VARBOX", "Checking VARBOX status", "A VERIFICAR ESTADO DA VARBOX",
};
inline constexpr TextTable kCheckingVersionText = {
    "Comprobando versión", "Checking version", "Version wird geprüft",
    "Comprobando versión", "Checking version", "A VERIFICAR VERSÃO",
};
inline constexpr TextTable kInitializingProgramText = {
    "Inicializando programa", "Initializing program", "Programm wird initialisiert",
    "Inicializando programa", "Initializing program", "A INICIALIZAR PROGRAMA",
};
inline constexpr TextTable kCheckingProgramText = {
    "Comprobando programa", "Checking program", "Programm wird geprüft",
    "Comprobando programa", "Checking program", "A VERIFICAR PROGRAMA",
};
inline constexpr TextTable kInitializingBoxText = {
    "Inicializando VARBOX", "Initializing VARBOX", "VARBOX wird initialisiert",
    "Inicializando VARBOX", "Initializing VARBOX", "A INICIALIZAR VARBOX",
};
inline constexpr TextTable kDataTransferText = {
    "Transferencia de datos", "Data Transfer", "Datenübertragung",
    "Transferencia de datos", "Data Transfer", "TRANSFERÊNCIA DE DADOS",
};
inline constexpr TextTable kReadingInformationText = {
    "Leyendo información", "Reading information", "Informationen werden gelesen",
    "Leyendo información", "Reading information", "A LER INFORMAÇÃO",
};
inline constexpr TextTable kCheckingAdapterText = {
    "Comprobando adaptador", "Checking adapter", "Adapter wird geprüft",
    "Comprobando adaptador", "Checking adapter", "A VERIFICAR ADAPTADOR",
};
inline constexpr TextTable kCheckingConfigurationText = {
    "Comprobando configuración", "Checking configuration", "Konfiguration wird geprüft",
    "Comprobando configuración", "Checking configuration", "A VERIFICAR CONFIGURAÇÃO",
};
inline constexpr TextTable kStartingDriverText = {
    "Iniciando driver", "Starting up driver", "Driver wird gestartet",
    "Iniciando driver", "Starting up driver", "A INICIAR DRIVER",
};
// "%i from %i": the attempt number and the number of attempts.
inline constexpr TextTable kConnectionAttemptsText = {
    "Intentos de conexión: %i de %i",  "Connection attempts: %i from %i",
    "Anschlussversuche: %i von %i",    "Intentos de conexión: %i de %i",
    "Connection attempts: %i from %i", "TENTATIVAS DE LIGAÇÃO: %i DE %i",
};

// Messages.
inline constexpr TextTable kLoadErrorText = {
    "ERROR DE CARGA DE LA INFORMACIÓN", "LOAD INFORMATION ERROR",
    "FEHLER BEI LADEN DER INFO",        "ERROR DE CARGA DE LA INFORMACIÓN",
    "LOAD INFORMATION ERROR",           "ERRO NO CARREGAMENTO DA INFORMAÇÃO",
};
// "%s": the driver file's path.
inline constexpr TextTable kDriverMissingText = {
    "ERROR: no es posible abrir DRIVER %s",
    "ERROR: can´t open %s DRIVER",
    "FEHLER: DRIVER %s kann nicht geöffnet werden.",
    "ERROR: no es posible abrir DRIVER %s",
    "ERROR: can´t open %s DRIVER",
    "ERRO: NÃO É POSSIVEL ABRIR DRIVE %s",
};
inline constexpr TextTable kNoMemoryText = {
    "No hay suficiente memoria.\nLibere memoria cerrando otros programas",
    "Insufficinet memory space.\nClose programs in order to free memory space",
    "Nicht genügend Speicher.\nSchließen Sie andere Programme, um Speicher freizugeben.",
    "No hay suficiente memoria.\nLibere memoria cerrando otros programas",
    "Insufficinet memory space.\nClose programs in order to free memory space",
    "NÃO HÁ MEMÓRIA SUFICIENTE.\nFECHE OUTROS PROGRAMAS PARA LIBERTAR MEMÓRIA",
};
// "%s": the adapter the box found.
inline constexpr TextTable kWrongAdapterText = {
    "ATENCION: el adaptador %s no es el adecuado.\nVerifique que el tipo de adaptador es el "
    "correcto.",
    "ATTENTION: %s wrong adapter.\nPlug the correct adapter.",
    "ACHTUNG: Adapter %s ist nicht der richtige.\nSchließen Sie den richtigen Adapter an.",
    "ATENCION: el adaptador %s no es el adecuado.\nVerifique que el tipo de adaptador es el "
    "correcto.",
    "ATTENTION: %s wrong adapter.\nPlug the correct adapter.",
    "ATENÇÃO: O ADAPTADOR %s NÃO É O ADEQUADO.\nVERIFIQUE SE O TIPO DE ADAPTADOR É O CORRECTO.",
};
inline constexpr TextTable kCannotConnectText = {
    "No fue posible establecer comunicación con UCE",
    "Can´t connect with ECU",
    "Eine Kommunikation mit ECU ist nicht zustande gekommen.",
    "No fue posible establecer comunicación con UCE",
    "Can´t connect with ECU",
    "NÃO FOI POSSIVEL ESTABELECER COMINICAÇÃO COM A UCE",
};

// The format with each "%s" or "%i" replaced, in order, by the next of `values` (a marker
// without a value left is dropped). The values are never read as formats themselves.
std::string fillIn(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace corvan::boxstart
