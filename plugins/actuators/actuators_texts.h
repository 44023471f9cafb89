#pragma once
// The actuator test's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English
// again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::actuators {

inline constexpr TextTable kTitlePrefix = {
    "TEST DE ACTUADORES: ", "ACTIVATION TEST: ", "STELLGLIEDTEST: ",
    "TEST DE ACTUADORES: ", "ACTIVATION TEST: ", "TESTE DE ACTUADORES: "};
inline constexpr TextTable kCodeColumn = {"CODIGO", "CODE", "CODE", "CODIGO", "CODE", "CODIGO"};
inline constexpr TextTable kDescriptionColumn = {"DESCRIPCION", "DESCRIPTION", "BESCHREIBUNG",
                                                 "DESCRIPCION", "DESCRIPTION", "DESCRIÇÃO"};
inline constexpr TextTable kNextText = {"Siguiente actuador",  "Next actuator",
                                        "Nächstes Stellglied", "Siguiente actuador",
                                        "Next actuator",       "Actuador seguinte"};
inline constexpr TextTable kWaitText = {"Espere...", "Wait...", "Warten...",
                                        "Espere...", "Wait...", "Aguarde..."};
inline constexpr TextTable kExitText = {"Salir", "Exit", "Verlassen", "Salir", "Exit", "Sair"};
inline constexpr TextTable kUnknownActuator = {"ACTUADOR DESCONOCIDO",   "UNKNOWN ACTUATOR",
                                               "UNBEKANNTES STELLGLIED", "ACTUADOR DESCONOCIDO",
                                               "UNKNOWN ACTUATOR",       "ACTUADOR DESCONHECIDO"};
inline constexpr TextTable kCannotStart = {
    "No es posible iniciar el test de actuadores en este momento",
    "Can´t start activation test at this moment",
    "Stellgliedtest kann jetzt nicht gestartet werden",
    "No es posible iniciar el test de actuadores en este momento",
    "Can´t start activation test at this moment",
    "NÃO É POSSIVEL INICIAR O TESTE DE ACTUADORES NESTE MOMENTO"};
inline constexpr TextTable kFinished = {
    "Test de actuadores finalizado", "Activation test finalized", "Stellgliedtest beendet",
    "Test de actuadores finalizado", "Activation test finalized", "TESTE DE ACTUADORES FINALIZADO"};
inline constexpr TextTable kNoDemo = {"No es posible iniciar el test de actuadores en modo DEMO",
                                      "Can´t start activation test in DEMO mode",
                                      "Stellgliedtest im DEMO-Modus nicht möglich",
                                      "No es posible iniciar el test de actuadores en modo DEMO",
                                      "Can´t start activation test in DEMO mode",
                                      "NÃO É POSSIVEL INICIAR O TESTE DE ACTUADORES EM MODO DEMO"};
inline constexpr TextTable kFileMissing = {"No es posible abrir el fichero DTC: %s",
                                           "Can´t open DTC file: %s",
                                           "DTC-Datei kann nicht geöffnet werden: %s",
                                           "No es posible abrir el fichero DTC: %s",
                                           "Can´t open DTC file: %s",
                                           "NÃO É POSSIVEL ABRIR O FICHEIRO DTC: %s"};

// The help document of a code the data do not hold.
inline constexpr std::string_view kNoHelpDocument = "DTCnotfound.htm";

}  // namespace corvan::actuators
