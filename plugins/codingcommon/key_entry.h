#pragma once
// What the key-coding modules share: the technician's entry of the vehicle's PIN and of the
// number of keys to teach, the title prefix of their dialogs and the texts they all show.
// The modules never derive, look up or keep a PIN: they send what the technician typed.
#include <string>
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::coding {

inline constexpr size_t kPinLength = 4;
inline constexpr int kMinKeys = 1;
inline constexpr int kMaxKeys = 4;

// The number field's value: its leading decimal digits (none: 0); past 999 it stays 999.
int numberOfKeys(std::string_view text);

// The PIN as the terminal sends it: one Windows-1252 byte per typed character.
std::string pinCharacters(std::string_view typed);

// The coding buttons are enabled only for a PIN of exactly four characters and 1 to 4 keys.
bool entryComplete(std::string_view typedPin, std::string_view keysText);

inline constexpr TextTable kTitlePrefix = {
    "CODIFICACION LLAVES: ", "KEY CODIFYING: ", "SCHLÜSSELCODIERUNG: ",
    "CODIFICACION LLAVES: ", "KEY CODIFYING: ", "CODIFICAÇÃO DE CHAVES: ",
};
inline constexpr TextTable kNotInDemo = {
    "No disponible en modo DEMO", "Not available in DEMO mode", "Im DEMO-Modus nicht verfügbar",
    "No disponible en modo DEMO", "Not available in DEMO mode", "Não disponível em modo DEMO",
};
inline constexpr TextTable kPleaseWait = {
    "Por favor, espere...", "Please, wait...", "Bitte warten...",
    "Por favor, espere...", "Please, wait...", "Por favor, aguarde...",
};

}  // namespace corvan::coding
