#pragma once
// The Nissan key coding's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and
// English again, 5 Portuguese).
#include <string_view>

#include "runtime/text_table.h"

namespace corvan::nissankeys {

inline constexpr TextTable kCodeButton = {
    "PROCEDIMIENTO DE CODIFICACIÓN Y EMPAREJAMIENTO DE LLAVES",
    "KEY CODIFYING AND PAIRING PROCEDURE",
    "SCHLÜSSELCODIERUNG UND ANLERNVERFAHREN",
    "PROCEDIMIENTO DE CODIFICACIÓN Y EMPAREJAMIENTO DE LLAVES",
    "KEY CODIFYING AND PAIRING PROCEDURE",
    "PROCEDIMENTO DE CODIFICAÇÃO E EMPARELHAMENTO DE CHAVES",
};
inline constexpr TextTable kTrying = {
    "Intentando codificar", "Trying to codify", "Codierung läuft",
    "Intentando codificar", "Trying to codify", "A tentar codificar",
};
inline constexpr std::string_view kStartRefusedEs =
    "ATENCIÓN: no es posible iniciar el procedimiento de codificación. Compruebe los códigos "
    "de avería";
inline constexpr std::string_view kStartRefusedEn =
    "ATTENTION: can´t start codifying procedure. Check fault codes";
inline constexpr TextTable kStartRefused = {
    kStartRefusedEs,
    kStartRefusedEn,
    "ACHTUNG: Codierverfahren kann nicht gestartet werden. Fehlerspeicher prüfen",
    kStartRefusedEs,
    kStartRefusedEn,
    "ATENÇÃO: não é possível iniciar o procedimento de codificação. Verifique os códigos de "
    "avaria",
};
// What the technician does for each further key, after the first one is coded.
inline constexpr std::string_view kKeyProgrammedEs =
    "Llave programada OK. Para codificar las llaves siguientes siga estos pasos:\n\r\n\r"
    "   1. Quite el contacto, retire la llave y espere al menos 5 segundos\n\r"
    "   2. Introduzca la llave siguiente y ponga el contacto durante al menos 5 segundos (sin "
    "arrancar el motor)\n\r"
    "   3. Repita los pasos 1 y 2 con cada llave siguiente\n\r"
    "   4. Tras la última llave, quite el contacto y espere al menos 5 segundos\n\r"
    "   5. Compruebe que el motor arranca con cada llave codificada";
inline constexpr std::string_view kKeyProgrammedEn =
    "Key programmed OK. To codify next keys follow these steps:\n\r\n\r"
    "   1. Turn ignition off, pull key out and wait for at least 5 seconds\n\r"
    "   2. Enter next key and turn on ignition for at least 5 seconds (without starting "
    "engine)\n\r"
    "   3. Repeat steps 1&2 for each further key\n\r"
    "   4. After the last key, turn ignition off and wait for at least 5 seconds\n\r"
    "   5. Check that the engine starts with every key codified";
inline constexpr TextTable kKeyProgrammed = {
    kKeyProgrammedEs,
    kKeyProgrammedEn,
    "Schlüssel programmiert. Zum Codieren weiterer Schlüssel folgende Schritte ausführen:"
    "\n\r\n\r"
    "   1. Zündung ausschalten, Schlüssel abziehen und mindestens 5 Sekunden warten\n\r"
    "   2. Nächsten Schlüssel einstecken und Zündung mindestens 5 Sekunden einschalten (Motor "
    "nicht starten)\n\r"
    "   3. Schritte 1 und 2 für jeden weiteren Schlüssel wiederholen\n\r"
    "   4. Nach dem letzten Schlüssel Zündung ausschalten und mindestens 5 Sekunden warten\n\r"
    "   5. Prüfen, ob der Motor mit jedem codierten Schlüssel anspringt",
    kKeyProgrammedEs,
    kKeyProgrammedEn,
    "Chave programada OK. Para codificar as chaves seguintes siga estes passos:\n\r\n\r"
    "   1. Desligue a ignição, retire a chave e espere pelo menos 5 segundos\n\r"
    "   2. Introduza a chave seguinte e ligue a ignição durante pelo menos 5 segundos (sem "
    "ligar o motor)\n\r"
    "   3. Repita os passos 1 e 2 com cada chave seguinte\n\r"
    "   4. Depois da última chave, desligue a ignição e espere pelo menos 5 segundos\n\r"
    "   5. Verifique que o motor arranca com cada chave codificada",
};
inline constexpr TextTable kCannotCodify = {
    "ATENCIÓN: no es posible codificar la llave",
    "ATTENTION: can´t codify key",
    "ACHTUNG: Schlüssel kann nicht codiert werden",
    "ATENCIÓN: no es posible codificar la llave",
    "ATTENTION: can´t codify key",
    "ATENÇÃO: não é possível codificar a chave",
};

}  // namespace corvan::nissankeys
