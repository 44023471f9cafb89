#pragma once
// The channel reader's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English
// again, 5 Portuguese), chosen as the live-data modules choose theirs.
#include "runtime/text_table.h"

namespace corvan::vagchannels {

inline constexpr TextTable kTitlePrefix = {
    "LEER CANAL: ", "READ CHANNEL: ", "KANAL LESEN: ",
    "LEER CANAL: ", "READ CHANNEL: ", "LER CANAL: ",
};
inline constexpr TextTable kChannelLabel = {
    "CANAL", "CHANNEL", "KANAL", "CANAL", "CHANNEL", "CANAL",
};
inline constexpr TextTable kGroupHeading = {
    "GRUPO", "GROUP", "GRUPPE", "GRUPO", "GROUP", "GRUPO",
};
inline constexpr TextTable kDescriptionHeading = {
    "DESCRIPCION", "DESCRIPTION", "BESCHREIBUNG", "DESCRIPCION", "DESCRIPTION", "DESCRIÇÃO",
};
inline constexpr TextTable kValueHeading = {
    "VALOR REAL", "REAL VALUE", "ISTWERT", "VALOR REAL", "REAL VALUE", "VALOR REAL",
};
inline constexpr TextTable kUnitHeading = {
    "UNIDAD", "UNIT", "EINHEIT", "UNIDAD", "UNIT", "UNIDADE",
};
inline constexpr TextTable kBeginText = {
    "Comenzar", "Begin", "Beginnen", "Comenzar", "Begin", "Começar",
};
inline constexpr TextTable kPauseText = {
    "Pausa", "Pause", "Pause", "Pausa", "Pause", "Pausa",
};
inline constexpr TextTable kExitText = {
    "Salir", "Exit", "Ende", "Salir", "Exit", "Sair",
};

}  // namespace corvan::vagchannels
