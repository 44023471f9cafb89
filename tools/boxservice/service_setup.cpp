#include "tools/boxservice/service_setup.h"

namespace corvan::boxservice {

std::string configBesideProgram(std::string_view programPath) {
    const size_t slash = programPath.rfind('\\');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : programPath.substr(0, slash);
    return std::string(folder) + "\\iCor.cfg";
}

int oneByteReadTimeoutMs(const PortSettings& s) {
    return s.readTotalPerByteMs * 1 + s.readTotalMs;
}

SerialSettings termiosSettings(const PortSettings& s) {
    SerialSettings t;
    t.baud = s.baud;
    t.readTimeoutMs = oneByteReadTimeoutMs(s);
    return t;
}

std::string portDeviceName(std::string_view portValue) {
    return std::string(portValue) + ":";
}

}  // namespace corvan::boxservice
