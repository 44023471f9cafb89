#pragma once
// The texts of the trouble-code list (the self-test's and the stored codes' display).
#include "runtime/text_table.h"

namespace corvan::faultcodes {

inline constexpr TextTable kCodeColumn = {"CODIGO", "CODE", "CODE", "CODIGO", "CODE", ""};
inline constexpr TextTable kDescriptionColumn = {"DESCRIPCION", "DESCRIPTION", "BESCHREIBUNG",
                                                 "DESCRIPCION", "DESCRIPTION", ""};
inline constexpr TextTable kSearching = {
    "BUSCANDO AVERIAS...", "SEARCHING FOR TROUBLE CODES...", "SUCHE NACH FEHLERSCHLÜSELN…",
    "BUSCANDO AVERIAS...", "SEARCHING FOR TROUBLE CODES...", ""};
inline constexpr TextTable kNoCodes = {"NO HAY AVERÍAS MEMORIZADAS", "NO TROUBLE CODES FOUND",
                                       "KEINE FEHLER GESPEICHERT",   "NO HAY AVERÍAS MEMORIZADAS",
                                       "NO TROUBLE CODES FOUND",     "NÃO HA AVARIAS MEMORIZADAS"};
inline constexpr TextTable kUnidentified = {
    "AVERIA NO IDENTIFICADA", "NO DESCRIPTION AVAILABLE", "FEHLER NICHT IDENTIFIZIERT",
    "AVERIA NO IDENTIFICADA", "NO DESCRIPTION AVAILABLE", ""};
inline constexpr TextTable kDetailMissing = {"TRAMA NO DISPONIBLE",     "FRAME NOT AVAILABLE",
                                             "RAHMEN NICHT ERHÄLTLICH", "TRAMA NO DISPONIBLE",
                                             "FRAME NOT AVAILABLE",     ""};
inline constexpr TextTable kCountLabel = {
    "Número de averías memorizadas:", "Trouble codes found:", "Gespeicherte Fehlercodes:",
    "Número de averías memorizadas:", "Trouble codes found:", ""};
inline constexpr TextTable kEraseButton = {"Borrar averías", "Erase DTC", "Fehler löschen",
                                           "Borrar averías", "Erase DTC", ""};
inline constexpr TextTable kEraseRefusedHere = {
    "Realizar el borrado desde el menu de averías", "Clear DTC from Trouble menu", "",
    "Realizar el borrado desde el menu de averías", "Clear DTC from Trouble menu", ""};
inline constexpr TextTable kDetailPrompt = {
    "Pulse sobre la avería para ver detalles", "Click on desired DTC to further information", "",
    "Pulse sobre la avería para ver detalles", "Click on desired DTC to further information", ""};
inline constexpr TextTable kExitText = {"Salir", "Exit", "Verlassen", "Salir", "Exit", "Sair"};

}  // namespace corvan::faultcodes
