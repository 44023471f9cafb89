#pragma once
// Where the service program finds its settings and how it opens the line: its own
// "iCor.cfg" beside the program file, and the only serial settings the system fixes.
#include <string>
#include <string_view>

#include "platform/termios_port.h"

namespace corvan::boxservice {

// The configuration file of a program at `programPath` (a device path): the path up to its
// last "\" followed by "\iCor.cfg" ("\STORAGE CARD\CORVANDATA\EXE\iCor.cfg").
std::string configBesideProgram(std::string_view programPath);

// The serial port as the service program sets it.
struct PortSettings {
    int inBuffer = 1200, outBuffer = 1200;  // driver buffers, bytes
    int baud = 9600;
    int dataBits = 8, stopBits = 1;
    bool parity = false;
    bool dtr = true, rts = true, abortOnError = true;
    int readIntervalMs = 80;
    int readTotalPerByteMs = 10, readTotalMs = 80;
    int writeTotalPerByteMs = 1, writeTotalMs = 100;
};
inline constexpr PortSettings kPortSettings{};

// The time-out of one one-byte read: the total time-out for one byte (10 + 80 ms). The
// interval time-out only runs between two bytes of one read, which never happens here.
int oneByteReadTimeoutMs(const PortSettings& s = kPortSettings);

// The termios port's equivalent: raw 9600 8N1 and the one-byte read time-out.
SerialSettings termiosSettings(const PortSettings& s = kPortSettings);

// The device the port is opened as: the "PORT=" value and a colon ("COM1:").
std::string portDeviceName(std::string_view portValue);

}  // namespace corvan::boxservice
