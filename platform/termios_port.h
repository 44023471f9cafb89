#pragma once
// The real serial line: /dev/ttyUSB*, /dev/rfcomm* (Bluetooth serial) or a pseudo-terminal.
#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace corvan {

struct SerialSettings {
    int baud = 9600;  // 8 data bits, no parity, 1 stop bit, raw
    int readTimeoutMs = 80;
};

// Opens with O_RDWR|O_NOCTTY|O_CLOEXEC, takes the port exclusively (flock, then TIOCEXCL),
// sets raw 8N1 with VMIN=0/VTIME=0; each one-byte read is a poll() with the read time-out,
// retried on EINTR against a monotonic deadline. A hang-up or error marks the link lost.
// nullptr with `error` set when the port cannot be opened or is busy.
std::unique_ptr<SerialPort> openTermiosPort(const std::string& device, const SerialSettings& s,
                                            std::string* error);

}  // namespace corvan
