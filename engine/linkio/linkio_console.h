#pragma once
// The send/receive console: the technician types hexadecimal bytes, the console sends them
// to the ECU as one message through the box and lists every exchange with the ECU's reply
// (or "no answer"). Called by the function menu with the usual six arguments; it returns
// an empty text. In demonstration mode nothing goes out on the line; in report mode (any
// word but "EXE" and "DEMO") no window is shown and nothing is sent.
#include <string>

#include "runtime/module_context.h"
#include "runtime/text_table.h"

namespace corvan::linkio {

// Control identifiers of the console's dialog.
inline constexpr int kExchangeList = 1000;
inline constexpr int kMessageEdit = 1001;
inline constexpr int kSendButton = 1002;
inline constexpr int kExitButton = 2;

inline constexpr TextTable kTitlePrefix = {
    "CONSOLA DE COMUNICACIÓN: ", "LINK CONSOLE: ", "KOMMUNIKATIONSKONSOLE: ",
    "CONSOLA DE COMUNICACIÓN: ", "LINK CONSOLE: ", "CONSOLA DE COMUNICAÇÃO: ",
};
inline constexpr TextTable kSendText = {"ENVIAR", "SEND", "SENDEN", "ENVIAR", "SEND", "ENVIAR"};
inline constexpr TextTable kExitText = {"SALIR", "Exit", "Verlassen", "Salir", "Exit", "SAIR"};
inline constexpr TextTable kSentHeading = {"ENVIADO", "SENT", "GESENDET",
                                           "ENVIADO", "SENT", "ENVIADO"};
inline constexpr TextTable kReplyHeading = {"RESPUESTA", "REPLY", "ANTWORT",
                                            "RESPUESTA", "REPLY", "RESPOSTA"};
inline constexpr TextTable kNoAnswerText = {"sin respuesta", "no answer", "keine Antwort",
                                            "sin respuesta", "no answer", "sem resposta"};
inline constexpr TextTable kDemoText = {"MODO DEMO", "DEMO MODE", "DEMO-MODE",
                                        "MODO DEMO", "DEMO MODE", "MODO DEMO"};
inline constexpr TextTable kBadInputText = {
    "Escriba el mensaje en bytes hexadecimales (1A 80), 64 como máximo",
    "Type the message as hexadecimal bytes (1A 80), at most 64",
    "Nachricht als Hexadezimal-Bytes eingeben (1A 80), höchstens 64",
    "Escriba el mensaje en bytes hexadecimales (1A 80), 64 como máximo",
    "Type the message as hexadecimal bytes (1A 80), at most 64",
    "Escreva a mensagem em bytes hexadecimais (1A 80), no máximo 64",
};

std::string runConsole(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::linkio
