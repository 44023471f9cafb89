#pragma once
// The live-data texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English again,
// 5 Portuguese), chosen with the live-data fallback (an empty slot shows English).
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::livedata {

// The preparation window's caption and the selection hint exist in one form only.
inline constexpr std::string_view kPreparationCaption = "dUvad";
inline constexpr std::string_view kTapHint =
    "Para seleccionar/deselecionar, pulse sobre la columna de la izquierda";
// The selection list's mark of a chosen row (the initial marks have one blank less).
inline constexpr std::string_view kSelectedMark = "       -->    ";
inline constexpr std::string_view kInitialMark = "       -->   ";
inline constexpr std::string_view kOkText = "OK";
inline constexpr std::string_view kExitText = "Exit";

inline constexpr TextTable kSelectionHeading = {
    "Selección", "Selection", "Auswahl", "Selección", "Selection", "Selecção",
};
inline constexpr TextTable kIdHeading = {"ID", "ID", "ID", "ID", "ID", "ID"};
inline constexpr TextTable kItemsHeading = {
    "Parámetros", "Items", "Messwerte", "Parámetros", "Items", "Parâmetros",
};
inline constexpr TextTable kManual = {"MANUAL", "MANUAL", "MANUELL", "MANUAL", "MANUAL", "MANUAL"};
inline constexpr TextTable kAll = {"TODOS", "ALL", "ALLE", "TODOS", "ALL", "TODOS"};
inline constexpr TextTable kNone = {"NINGUNO", "NONE", "KEINE", "NINGUNO", "NONE", "NENHUM"};
inline constexpr TextTable kSelectedItems = {
    "PARAMETROS SELECCIONADOS: ", "SELECTED ITEMS: ", "AUSGEWÄHLTE WERTE: ",
    "PARAMETROS SELECCIONADOS: ", "SELECTED ITEMS: ", "PARÂMETROS SELECCIONADOS: ",
};
inline constexpr TextTable kAtLeastOne = {
    "DEBE SELECCIONAR AL MENOS UN PARAMETRO",  "AT LEAST ONE ITEM MUST BE SELECTED",
    "MINDESTENS EIN WERT MUSS GEWÄHLT WERDEN", "DEBE SELECCIONAR AL MENOS UN PARAMETRO",
    "AT LEAST ONE ITEM MUST BE SELECTED",      "DEVE SELECCIONAR PELO MENOS UM PARÂMETRO",
};

inline constexpr TextTable kRecommendedValues = {
    "Valores recomendados", "Recommended values", "Sollwerte",
    "Valores recomendados", "Recommended values", "Valores recomendados",
};
inline constexpr TextTable kDescriptionHeading = {
    "DESCRIPCION", "DESCRIPTION", "BESCHREIBUNG", "DESCRIPCION", "DESCRIPTION", "DESCRIÇÃO",
};
inline constexpr TextTable kMinMaxHeading = {"MIN-MAX", "MIN-MAX", "MIN-MAX",
                                             "MIN-MAX", "MIN-MAX", "MIN-MAX"};
inline constexpr TextTable kCurrentValueHeading = {
    "VALOR ACTUAL", "CURRENT VALUE", "ISTWERT", "VALOR ACTUAL", "CURRENT VALUE", "VALOR ACTUAL",
};
inline constexpr TextTable kUnitHeading = {"UNIDAD", "UNIT", "EINHEIT",
                                           "UNIDAD", "UNIT", "UNIDADE"};
inline constexpr TextTable kItemsList = {
    "LISTA DE PARAMETROS: ", "ITEMS LIST: ", "MESSWERTLISTE: ",
    "LISTA DE PARAMETROS: ", "ITEMS LIST: ", "LISTA DE PARÂMETROS: ",
};
inline constexpr TextTable kHelpPrompt = {
    "Para más información seleccione el parámetro deseado",
    "For further information select desired item",
    "Für weitere Informationen gewünschten Wert wählen",
    "Para más información seleccione el parámetro deseado",
    "For further information select desired item",
    "Para mais informação seleccione o parâmetro desejado",
};
inline constexpr TextTable kRecommendedPrefix = {
    "\n\rRECOMENDADO: ", "\n\rRECOMMENDED: ", "\n\rSOLLWERT: ",
    "\n\rRECOMENDADO: ", "\n\rRECOMMENDED: ", "\n\rRECOMENDADO: ",
};

inline constexpr TextTable kLinkError = {
    "Error de enlace con el VarBox\nSi el problema persiste, cierre y abra de nuevo la "
    "aplicación",
    "VarBox link error\nIf problem persist, close and open again the application",
    "VarBox-Verbindungsfehler\nWenn das Problem bleibt, Anwendung schließen und neu öffnen",
    "Error de enlace con el VarBox\nSi el problema persiste, cierre y abra de nuevo la "
    "aplicación",
    "VarBox link error\nIf problem persist, close and open again the application",
    "ERRO DE LIGAÇÃO COM A VARBOX\nSE O PROBLEMA PERSISTIR, FECHE E ABRA DE NOVO A APLICAÇÃO",
};
inline constexpr TextTable kInvalidRecommendedFile = {
    "Formato de fichero de valores recomendados no válido",
    "Invalid recommended values file format",
    "Ungültiges Format der Sollwertdatei",
    "Formato de fichero de valores recomendados no válido",
    "Invalid recommended values file format",
    "Formato de ficheiro de valores recomendados inválido",
};
inline constexpr TextTable kInsufficientMemory = {
    "Memoria insuficiente.\nCierre otros programas para liberar memoria",
    "Insufficient memory.\nClose other programs to free memory",
    "Nicht genügend Speicher.\nAndere Programme schließen, um Speicher freizugeben",
    "Memoria insuficiente.\nCierre otros programas para liberar memoria",
    "Insufficient memory.\nClose other programs to free memory",
    "Memória insuficiente.\nFeche outros programas para libertar memória",
};
// The item array holds 299 items; a longer catalogue is cut and the technician told so.
inline constexpr TextTable kTooManyItems = {
    "Solo se pueden mostrar los 299 primeros parámetros de esta función",
    "Only the first 299 items of this function can be shown",
    "Nur die ersten 299 Messwerte dieser Funktion können angezeigt werden",
    "Solo se pueden mostrar los 299 primeros parámetros de esta función",
    "Only the first 299 items of this function can be shown",
    "Só podem ser mostrados os primeiros 299 parâmetros desta função",
};
inline constexpr TextTable kNoItems = {
    "Esta función no tiene parámetros",     "This function has no live data items",
    "Diese Funktion hat keine Messwerte",   "Esta función no tiene parámetros",
    "This function has no live data items", "Esta função não tem parâmetros",
};

}  // namespace corvan::livedata
