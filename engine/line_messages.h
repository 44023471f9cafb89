#pragma once
// What the engine tells the technician about its line, in the session's language: a port
// that cannot be opened (before anything runs) and a line lost during the run (at its end).
// Both also go to standard error; the exit statuses are the program's.
#include <cstdint>
#include <string>

#include "runtime/text_table.h"

namespace corvan::engine {

class EngineHost;

inline constexpr TextTable kCannotOpenPortText = {
    "No se puede abrir el puerto %s:\n%s",
    "Cannot open the port %s:\n%s",
    "Die Schnittstelle %s kann nicht geöffnet werden:\n%s",
    "",
    "",
    "Não é possível abrir a porta %s:\n%s",
};

inline constexpr TextTable kLineLostText = {
    "Se ha perdido la conexión con el VarBox (%s).\nCompruebe el cable o el enlace Bluetooth.",
    "The line to the VarBox was lost (%s).\nCheck the cable or the Bluetooth link.",
    "Die Verbindung zur VarBox ist verloren (%s).\nKabel oder Bluetooth-Verbindung prüfen.",
    "",
    "",
    "A ligação à VarBox perdeu-se (%s).\nVerifique o cabo ou a ligação Bluetooth.",
};

// The text of each message with its blanks filled in.
std::string cannotOpenPortMessage(const EngineHost& host, int32_t language);
std::string lineLostMessage(const EngineHost& host, int32_t language);

// Shows the message in a box on the host's screen (OK, stop icon).
void tellCannotOpenPort(EngineHost& host, int32_t language);
void tellLineLost(EngineHost& host, int32_t language);

}  // namespace corvan::engine
