#pragma once
// The trouble-code display's own texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::dtcview {

inline constexpr TextTable kTitlePrefix = {"AVERIAS: ", "TROUBLE CODES: ", "FEHLERSPEICHER: ",
                                           "AVERIAS: ", "TROUBLE CODES: ", "AVARIAS: "};
inline constexpr TextTable kPresentWord = {"PRESENTE", "PRESENT", "AKTUELL",
                                           "PRESENTE", "PRESENT", "PRESENTE"};
inline constexpr TextTable kIntermittentWord = {"INTERMITENTE", "INTERMITTENT", "SPORADISCH",
                                                "INTERMITENTE", "INTERMITTENT", "INTERMITENTE"};
inline constexpr TextTable kEraseQuestion = {
    "Se borrarán las averías memorizadas en la unidad.\n¿Desea continuar?",
    "The trouble codes stored in the unit will be erased.\nDo you want to continue?",
    "Die im Steuergerät gespeicherten Fehler werden gelöscht.\nFortfahren?",
    "Se borrarán las averías memorizadas en la unidad.\n¿Desea continuar?",
    "The trouble codes stored in the unit will be erased.\nDo you want to continue?",
    "As avarias memorizadas na unidade serão apagadas.\nDeseja continuar?"};
inline constexpr TextTable kErased = {"Averías borradas",     "Trouble codes erased",
                                      "Fehler gelöscht",      "Averías borradas",
                                      "Trouble codes erased", "Avarias apagadas"};
inline constexpr TextTable kNotErased = {
    "La unidad no ha borrado las averías",           "The unit did not erase the trouble codes",
    "Das Steuergerät hat die Fehler nicht gelöscht", "La unidad no ha borrado las averías",
    "The unit did not erase the trouble codes",      "A unidade não apagou as avarias"};
inline constexpr TextTable kNoEraseInDemo = {
    "No es posible borrar averías en modo DEMO",  "Can´t erase trouble codes in DEMO mode",
    "Fehler löschen im DEMO-Modus nicht möglich", "No es posible borrar averías en modo DEMO",
    "Can´t erase trouble codes in DEMO mode",     "NÃO É POSSIVEL APAGAR AVARIAS EM MODO DEMO"};
inline constexpr TextTable kLoadError = {
    "Error en la carga de driver %s", "Load error, driver %s", "Fehler beim Laden des Treibers %s",
    "Error en la carga de driver %s", "Load error, driver %s", ""};

}  // namespace corvan::dtcview
