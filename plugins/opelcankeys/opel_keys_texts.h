#pragma once
// The Opel CAN key coding's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::opelcankeys {

inline constexpr TextTable kKeysLabel = {
    "Número de llaves (1-5)", "Number of keys (1-5)", "Anzahl Schlüssel (1-5)",
    "Número de llaves (1-5)", "Number of keys (1-5)", "Número de chaves (1-5)",
};
inline constexpr TextTable kPinLabel = {
    "PIN (4 dígitos)", "PIN (4 digits)", "PIN (4 Ziffern)",
    "PIN (4 dígitos)", "PIN (4 digits)", "PIN (4 dígitos)",
};
inline constexpr TextTable kEraseButton = {
    "Borrar todas las llaves", "Erase all keys", "Alle Schlüssel löschen",
    "Borrar todas las llaves", "Erase all keys", "Apagar todas as chaves",
};
inline constexpr TextTable kCodeButton = {
    "Codificar llave", "Codify Key", "Schlüssel codieren",
    "Codificar llave", "Codify Key", "Codificar chave",
};
inline constexpr TextTable kExitButton = {
    "Salir", "Exit", "Beenden", "Salir", "Exit", "Sair",
};
inline constexpr TextTable kErasingTitle = {
    "Borrando llaves", "Erasing keys", "Schlüssel werden gelöscht",
    "Borrando llaves", "Erasing keys", "A apagar chaves",
};
inline constexpr TextTable kCodingTitle = {
    "Codificando llave", "Codifying key", "Schlüssel wird codiert",
    "Codificando llave", "Codifying key", "A codificar chave",
};
inline constexpr TextTable kPinRefused = {
    "ATENCIÓN: código no válido.\n\rQuite el contacto antes de volver a introducir el código PIN",
    "ATTENTIÓN: invalid code.\n\rTurn ignition off before you enter again PIN code",
    "ACHTUNG: ungültiger Code.\n\rZündung ausschalten, bevor der PIN-Code erneut eingegeben wird",
    "ATENCIÓN: código no válido.\n\rQuite el contacto antes de volver a introducir el código PIN",
    "ATTENTIÓN: invalid code.\n\rTurn ignition off before you enter again PIN code",
    "ATENÇÃO: código inválido.\n\rDesligue a ignição antes de voltar a introduzir o código PIN",
};
inline constexpr TextTable kEraseQuestion = {
    "ATENCIÓN: se borrarán todas las llaves. ¿Está seguro?",
    "ATTENTIÓN: all keys will be erased. Are you sure?",
    "ACHTUNG: alle Schlüssel werden gelöscht. Sind Sie sicher?",
    "ATENCIÓN: se borrarán todas las llaves. ¿Está seguro?",
    "ATTENTIÓN: all keys will be erased. Are you sure?",
    "ATENÇÃO: todas as chaves serão apagadas. Tem a certeza?",
};
inline constexpr TextTable kEraseFailed = {
    "ATENCIÓN: no es posible borrar todas las llaves",
    "ATTENTION: can´t erase all keys",
    "ACHTUNG: Schlüssel können nicht gelöscht werden",
    "ATENCIÓN: no es posible borrar todas las llaves",
    "ATTENTION: can´t erase all keys",
    "ATENÇÃO: não é possível apagar todas as chaves",
};
inline constexpr TextTable kErased = {
    "Llaves borradas.\nDebe codificar al menos una llave",
    "Keys erased.\nYou must codify at least one key",
    "Schlüssel gelöscht.\nMindestens ein Schlüssel muss codiert werden",
    "Llaves borradas.\nDebe codificar al menos una llave",
    "Keys erased.\nYou must codify at least one key",
    "Chaves apagadas.\nDeve codificar pelo menos uma chave",
};
inline constexpr TextTable kInsertKey = {
    "Introduzca la llave a codificar y ponga el contacto (sin arrancar el motor)",
    "Insert key to codify and turn ignition on (without starting engine)",
    "Zu codierenden Schlüssel einstecken und Zündung einschalten (Motor nicht starten)",
    "Introduzca la llave a codificar y ponga el contacto (sin arrancar el motor)",
    "Insert key to codify and turn ignition on (without starting engine)",
    "Introduza a chave a codificar e ligue a ignição (sem ligar o motor)",
};
inline constexpr TextTable kKeyCodified = {
    "Llave codificada", "Key codified", "Schlüssel codiert",
    "Llave codificada", "Key codified", "Chave codificada",
};
inline constexpr TextTable kNoTransponder = {
    "ERROR DE CODIFICACIÓN: no se detecta la llave o no se puede leer su transponder",
    "KEY CODIFYING ERROR: no key detected or can´t read transponder´s key",
    "CODIERFEHLER: kein Schlüssel erkannt oder Transponder nicht lesbar",
    "ERROR DE CODIFICACIÓN: no se detecta la llave o no se puede leer su transponder",
    "KEY CODIFYING ERROR: no key detected or can´t read transponder´s key",
    "ERRO DE CODIFICAÇÃO: chave não detectada ou não é possível ler o transponder da chave",
};
inline constexpr TextTable kAlreadyProgrammed = {
    "ERROR DE CODIFICACIÓN: llave ya programada",   "KEY CODIFYING ERROR: key already programmed",
    "CODIERFEHLER: Schlüssel bereits programmiert", "ERROR DE CODIFICACIÓN: llave ya programada",
    "KEY CODIFYING ERROR: key already programmed",  "ERRO DE CODIFICAÇÃO: chave já programada",
};
inline constexpr TextTable kCannotCodify = {
    "ERROR DE CODIFICACIÓN: no es posible codificar la llave. Lea la memoria de averías",
    "KEY CODIFYING ERROR: can´t codify the key. Read the trouble codes memory",
    "CODIERFEHLER: Schlüssel kann nicht codiert werden. Fehlerspeicher auslesen",
    "ERROR DE CODIFICACIÓN: no es posible codificar la llave. Lea la memoria de averías",
    "KEY CODIFYING ERROR: can´t codify the key. Read the trouble codes memory",
    "ERRO DE CODIFICAÇÃO: não é possível codificar a chave. Leia a memória de avarias",
};

}  // namespace corvan::opelcankeys
