#pragma once
// Texts of the graph, the trigger capture and the CSV saves (0 Spanish, 1 English, 2 German,
// 3 and 4 Spanish and English again, 5 Portuguese), chosen with the live-data fallback.
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::livedata {

inline constexpr TextTable kGraphButton = {"Gráfico", "Graph", "Grafik",
                                           "Gráfico", "Graph", "Gráfico"};
inline constexpr TextTable kGraphTitle = {
    "GRÁFICO: ", "GRAPH: ", "GRAFIK: ", "GRÁFICO: ", "GRAPH: ", "GRÁFICO: "};
inline constexpr TextTable kPauseButton = {"Pausa", "Pause", "Pause", "Pausa", "Pause", "Pausa"};
inline constexpr TextTable kRunButton = {"Seguir", "Run", "Weiter", "Seguir", "Run", "Seguir"};
inline constexpr TextTable kTriggerButton = {"Disparo", "Trigger", "Trigger",
                                             "Disparo", "Trigger", "Disparo"};
inline constexpr TextTable kNoItem = {"-", "-", "-", "-", "-", "-"};
inline constexpr TextTable kPausedNote = {"PAUSA", "PAUSED", "PAUSE", "PAUSA", "PAUSED", "PAUSA"};
inline constexpr TextTable kArmedNote = {"DISPARO ARMADO", "TRIGGER ARMED", "TRIGGER AKTIV",
                                         "DISPARO ARMADO", "TRIGGER ARMED", "DISPARO ARMADO"};
inline constexpr TextTable kCapturingNote = {"CAPTURANDO", "CAPTURING", "AUFZEICHNUNG",
                                             "CAPTURANDO", "CAPTURING", "A CAPTURAR"};

inline constexpr TextTable kTriggerTitle = {
    "DISPARO: ", "TRIGGER: ", "TRIGGER: ", "DISPARO: ", "TRIGGER: ", "DISPARO: "};
inline constexpr TextTable kTriggerItem = {"Parámetro", "Item", "Messwert",
                                           "Parámetro", "Item", "Parâmetro"};
inline constexpr TextTable kTriggerCondition = {"Condición", "Condition", "Bedingung",
                                                "Condición", "Condition", "Condição"};
inline constexpr TextTable kAbove = {"Mayor que", "Above", "Über",
                                     "Mayor que", "Above", "Maior que"};
inline constexpr TextTable kBelow = {"Menor que", "Below", "Unter",
                                     "Menor que", "Below", "Menor que"};
inline constexpr TextTable kOutsideRange = {
    "Fuera de valores recomendados", "Outside recommended values", "Außerhalb der Sollwerte",
    "Fuera de valores recomendados", "Outside recommended values", "Fora dos valores recomendados",
};
inline constexpr TextTable kThreshold = {"Umbral", "Threshold", "Schwelle",
                                         "Umbral", "Threshold", "Limiar"};
inline constexpr TextTable kSecondsBefore = {"Segundos antes", "Seconds before", "Sekunden vorher",
                                             "Segundos antes", "Seconds before", "Segundos antes"};
inline constexpr TextTable kSecondsAfter = {"Segundos después", "Seconds after", "Sekunden nachher",
                                            "Segundos después", "Seconds after", "Segundos depois"};
inline constexpr TextTable kArmButton = {"Armar", "Arm", "Aktivieren", "Armar", "Arm", "Armar"};
inline constexpr TextTable kCancelButton = {"Cancelar", "Cancel", "Abbrechen",
                                            "Cancelar", "Cancel", "Cancelar"};

inline constexpr TextTable kThresholdNotNumber = {
    "El umbral debe ser un número",     "The threshold must be a number",
    "Die Schwelle muss eine Zahl sein", "El umbral debe ser un número",
    "The threshold must be a number",   "O limiar deve ser um número",
};
inline constexpr TextTable kNoRange = {
    "Este parámetro no tiene valores recomendados", "This item has no recommended range",
    "Dieser Messwert hat keinen Sollwertbereich",   "Este parámetro no tiene valores recomendados",
    "This item has no recommended range",           "Este parâmetro não tem valores recomendados",
};
inline constexpr TextTable kSecondsOutOfBounds = {
    "Segundos antes y después: de 1 a 30",   "Seconds before and after: 1 to 30",
    "Sekunden vorher und nachher: 1 bis 30", "Segundos antes y después: de 1 a 30",
    "Seconds before and after: 1 to 30",     "Segundos antes e depois: de 1 a 30",
};
// Followed by the device path of the file.
inline constexpr TextTable kSaved = {"Guardado en\n", "Saved to\n", "Gespeichert in\n",
                                     "Guardado en\n", "Saved to\n", "Guardado em\n"};
inline constexpr TextTable kCaptureSaved = {
    "Captura guardada en\n", "Capture saved to\n", "Aufzeichnung gespeichert in\n",
    "Captura guardada en\n", "Capture saved to\n", "Captura guardada em\n",
};
inline constexpr TextTable kCannotSave = {
    "No es posible guardar\n", "Cannot save\n", "Speichern nicht möglich\n",
    "No es posible guardar\n", "Cannot save\n", "Não é possível guardar\n",
};

}  // namespace corvan::livedata
