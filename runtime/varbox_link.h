#pragma once
// The engine's link object, borrowed by a plug-in for one call. The fields the runtime
// uses come first, in this order; `host` belongs to the engine and carries its services.
#include <cstdint>

namespace corvan {
class SerialPort;
struct HostServices;
}  // namespace corvan

extern "C" {

struct VarboxLink {
    int32_t lastFailureKind = 0;  // 0: header missing (silence), 1: check failed, line flushed
    corvan::SerialPort* port = nullptr;
    uint8_t writeOk = 0;
    uint8_t readOk = 0;
    uint32_t bytesWritten = 0;
    uint32_t bytesRead = 0;  // 0: no byte arrived within the read time-out
    uint8_t readByte = 0;
    uint8_t writeByte = 0;
    corvan::HostServices* host = nullptr;
};

// The single export of every plug-in. Texts are NUL-terminated UTF-8; the returned text
// stays valid until the next call of the same library or its unload.
typedef const char* (*PluginEntry)(const char* text, int32_t start, const char* mode,
                                   VarboxLink* link, int32_t language, const char* name);
}
