#pragma once
// The journal screen's texts (0 Spanish, 1 English, 2 German, 3 and 4 Spanish and English
// again, 5 Portuguese).
#include "runtime/text_table.h"

namespace corvan::journal {

inline constexpr TextTable kTitlePrefix = {
    "DIARIO DE ESCRITURAS: ", "WRITE JOURNAL: ", "SCHREIBPROTOKOLL: ",
    "DIARIO DE ESCRITURAS: ", "WRITE JOURNAL: ", "DIÁRIO DE ESCRITAS: ",
};
inline constexpr TextTable kTimeHeading = {"Hora", "Time", "Zeit", "Hora", "Time", "Hora"};
inline constexpr TextTable kKindHeading = {"Tipo", "Kind", "Art", "Tipo", "Kind", "Tipo"};
inline constexpr TextTable kValueHeading = {"Valor", "Value", "Wert", "Valor", "Value", "Valor"};
inline constexpr TextTable kResultHeading = {"Res.", "Res.", "Erg.", "Res.", "Res.", "Res."};
inline constexpr TextTable kRestoreButton = {
    "Restaurar anterior", "Restore previous", "Alten Wert zurück",
    "Restaurar anterior", "Restore previous", "Repor anterior",
};
inline constexpr TextTable kExitButton = {"Salir", "Exit", "Ende", "Salir", "Exit", "Sair"};
inline constexpr TextTable kNoJournal = {
    "El diario de escrituras no está activado.",     "The write journal is not switched on.",
    "Das Schreibprotokoll ist nicht eingeschaltet.", "El diario de escrituras no está activado.",
    "The write journal is not switched on.",         "O DIÁRIO DE ESCRITAS NÃO ESTÁ ACTIVADO.",
};
inline constexpr TextTable kEmpty = {
    "Ninguna escritura registrada para este vehículo.",
    "No write recorded for this vehicle.",
    "Für dieses Fahrzeug ist kein Schreibvorgang gespeichert.",
    "Ninguna escritura registrada para este vehículo.",
    "No write recorded for this vehicle.",
    "NENHUMA ESCRITA REGISTADA PARA ESTE VEÍCULO.",
};
inline constexpr TextTable kBefore = {
    "Antes: ", "Before: ", "Vorher: ", "Antes: ", "Before: ", "Antes: "};
inline constexpr TextTable kSent = {
    "Enviado: ", "Sent: ", "Gesendet: ", "Enviado: ", "Sent: ", "Enviado: "};
inline constexpr TextTable kAnswer = {
    "Respuesta: ", "Answer: ", "Antwort: ", "Respuesta: ", "Answer: ", "Resposta: "};
inline constexpr TextTable kNeverAnswered = {
    "sin respuesta registrada (interrumpido)",
    "no answer recorded (cut off)",
    "keine Antwort gespeichert (abgebrochen)",
    "sin respuesta registrada (interrumpido)",
    "no answer recorded (cut off)",
    "SEM RESPOSTA REGISTADA (INTERROMPIDO)",
};
inline constexpr TextTable kNothingKnown = {"-", "-", "-", "-", "-", "-"};

// The kinds of write, in the order of the journal's kind words.
inline constexpr TextTable kKindErase = {"Borrado", "Erase", "Löschen",
                                         "Borrado", "Erase", "Apagar"};
inline constexpr TextTable kKindCoding = {"Codific.", "Coding", "Codierung",
                                          "Codific.", "Coding", "Codific."};
inline constexpr TextTable kKindAdaptation = {"Ajuste", "Adaptation", "Anpassung",
                                              "Ajuste", "Adaptation", "Ajuste"};
inline constexpr TextTable kKindLogin = {"Acceso", "Login", "Login", "Acceso", "Login", "Acesso"};
inline constexpr TextTable kKindKey = {"Llave", "Key", "Schlüssel", "Llave", "Key", "Chave"};
inline constexpr TextTable kKindAirbag = {"Airbag", "Airbag", "Airbag",
                                          "Airbag", "Airbag", "Airbag"};
inline constexpr TextTable kKindService = {"Servicio", "Service", "Service",
                                           "Servicio", "Service", "Serviço"};

}  // namespace corvan::journal
