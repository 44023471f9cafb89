#pragma once
// Which host device a port of the configuration file opens. The terminal's options offer
// "COM1" and "COM2": on the device the first was its Bluetooth serial module and the second
// the wired serial port, so on a Linux terminal COM1 is the first Bluetooth serial binding
// (/dev/rfcomm0) and COM2 the first USB serial adapter (/dev/ttyUSB0). "iCor.cfg" names
// other devices with "SERIAL1=[...]" and "SERIAL2=[...]" (any COMn with "SERIALn="). Any
// other PORT= value is a host device path as it stands.
#include <string>
#include <string_view>

namespace corvan {

inline constexpr std::string_view kCom1Device = "/dev/rfcomm0";
inline constexpr std::string_view kCom2Device = "/dev/ttyUSB0";

struct HostPort {
    std::string setting;  // PORT= as written
    std::string device;   // the host device it opens; empty: none is known (COM3 unnamed)
};

// `configText`: the configuration file's text, for the SERIALn= keys.
HostPort hostPortFor(std::string_view setting, std::string_view configText);

// "COM1 (/dev/rfcomm0)" for a mapped port, the device alone otherwise: what a message names.
std::string describePort(const HostPort& port);

}  // namespace corvan
