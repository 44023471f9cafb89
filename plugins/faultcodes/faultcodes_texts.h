#pragma once
// The trouble-code module's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese). An empty German slot shows the English text and an empty
// Portuguese slot the Spanish one.
#include "runtime/text_table.h"

namespace corvan::faultcodes {

inline constexpr std::string_view kWarningEs =
    "ATENCION: durante el auto-chequeo se activarán actuadores como ventilador, bomba "
    "combustible, etc.\n\rLas pruebas son diferentes si el motor está parado o en marcha.\n\rCon "
    "motor en marcha es posible que el régimen de motor se eleve durante la misma.\n\r¿Desea "
    "usted continuar?";
inline constexpr std::string_view kWarningEn =
    "WARNING: activation test can start automatically fan, fuel pump and others "
    "actuators\n\rDifferent test will made if engine is running or not\n\rWhile engine is "
    "running, idle speed can raise automatically. Do you want to continue?";
inline constexpr TextTable kWarningQuestion = {kWarningEs, kWarningEn, "",
                                               kWarningEs, kWarningEn, ""};

inline constexpr TextTable kEngineQuestion = {
    "¿La prueba se hará con motor en marcha?", "Is engine running?", "",
    "¿La prueba se hará con motor en marcha?", "Is engine running?", ""};
inline constexpr TextTable kProgressTitle = {
    "Auto Comprobación en marcha...", "Test in course", "",
    "Auto Comprobación en marcha...", "Test in course", ""};
inline constexpr TextTable kTestFailed = {
    "ATENCION: no se pudo completar la prueba de auto comprobación",
    "WARNING: test could not be completed",
    "",
    "ATENCION: no se pudo completar la prueba de auto comprobación",
    "WARNING: test could not be completed",
    ""};
inline constexpr TextTable kTitlePrefix = {"AUTOCOMPROBACION: ", "AUTOTEST: ", "",
                                           "AUTOCOMPROBACION: ", "AUTOTEST: ", ""};
inline constexpr TextTable kStopText = {"Parar", "Stop", "Stopp", "Parar", "Stop", ""};

inline constexpr TextTable kNoDefinition = {
    "No existe definición para averías.\n\rEs posible consultar averías pero no se mostrará la "
    "descripción",
    "There is no trouble code definition.\n\rYou can consult troble codes but no description "
    "will be available",
    "Es gibt keine Definition für Fehler.\n\rFehler können erfragt werden aber es wird keine "
    "Beschreibung gezeigt.",
    "No existe definición para averías.\n\rEs posible consultar averías pero no se mostrará la "
    "descripción",
    "There is no trouble code definition.\n\rYou can consult troble codes but no description "
    "will be available",
    ""};
inline constexpr TextTable kOutOfMemory = {
    "No hay suficiente memoria.\n Libere memoria cerrando otros programas",
    "Insufficient memory.\nClose other programs to free memory",
    "Kein ausreichender Speicherplatz.Andere Programme schliessen und damit Platz frei machen.",
    "No hay suficiente memoria.\n Libere memoria cerrando otros programas",
    "Insufficient memory.\nClose other programs to free memory",
    ""};
inline constexpr TextTable kLibraryLoadError = {
    "Error en la carga de driver %s", "Load error, driver %s", "Fehler beim Laden des Treibers %s",
    "Error en la carga de driver %s", "Load error, driver %s", ""};

}  // namespace corvan::faultcodes
