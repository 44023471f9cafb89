#pragma once
// The Renault key coding's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::renaultkeys {

inline constexpr TextTable kPinLabel = {
    "PIN (4 caracteres)", "PIN (4 characters)", "PIN (4 Zeichen)",
    "PIN (4 caracteres)", "PIN (4 characters)", "PIN (4 caracteres)",
};
inline constexpr TextTable kKeysLabel = {
    "Número de llaves (1-2)", "Number of keys (1-2)", "Anzahl Schlüssel (1-2)",
    "Número de llaves (1-2)", "Number of keys (1-2)", "Número de chaves (1-2)",
};
inline constexpr TextTable kCodeButton = {
    "Codificar llaves", "Key codifying", "Schlüssel codieren",
    "Codificar llaves", "Key codifying", "Codificar chaves",
};
inline constexpr TextTable kPullKeyOut = {
    "Retire la llave", "Pull key out", "Schlüssel abziehen",
    "Retire la llave", "Pull key out", "Retire a chave",
};
// %i: the key's number, from 1.
inline constexpr TextTable kEnterKey = {
    "Introduzca la llave %i, ponga el contacto y espere (no arranque el motor)",
    "Enter key %i, turn ignition on and wait (don´t start engine)",
    "Schlüssel %i einstecken, Zündung einschalten und warten (Motor nicht starten)",
    "Introduzca la llave %i, ponga el contacto y espere (no arranque el motor)",
    "Enter key %i, turn ignition on and wait (don´t start engine)",
    "Introduza a chave %i, ligue a ignição e espere (não ligue o motor)",
};
inline constexpr TextTable kKeyDone = {
    "Codificación de llave realizada.\n\rRetire la llave",
    "Key codifying done.\n\rPull key out",
    "Schlüsselcodierung beendet.\n\rSchlüssel abziehen",
    "Codificación de llave realizada.\n\rRetire la llave",
    "Key codifying done.\n\rPull key out",
    "Codificação da chave efectuada.\n\rRetire a chave",
};
inline constexpr TextTable kInvalidCode = {
    "ATENCIÓN: código no válido.", "ATTENTIÓN: invalid code.", "ACHTUNG: ungültiger Code.",
    "ATENCIÓN: código no válido.", "ATTENTIÓN: invalid code.", "ATENÇÃO: código inválido.",
};

}  // namespace corvan::renaultkeys
