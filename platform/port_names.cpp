#include "platform/port_names.h"

#include <cctype>

#include "platform/config_text.h"

namespace corvan {

namespace {

// The n of "COMn" (any letter case, an optional ':' after it, as Windows writes "COM1:");
// 0 when the setting is no such name.
int comNumber(std::string_view setting) {
    if (!setting.empty() && setting.back() == ':') setting.remove_suffix(1);
    if (setting.size() < 4 || setting.size() > 6) return 0;
    for (size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(setting[i])) != "COM"[i]) return 0;
    int n = 0;
    for (char c : setting.substr(3)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

HostPort hostPortFor(std::string_view setting, std::string_view configText) {
    HostPort port{std::string(setting), std::string(setting)};
    const int n = comNumber(setting);
    if (n == 0) return port;
    port.device = configValue(configText, "SERIAL" + std::to_string(n) + "=");
    if (port.device.empty() && n == 1) port.device = kCom1Device;
    if (port.device.empty() && n == 2) port.device = kCom2Device;
    return port;
}

std::string describePort(const HostPort& port) {
    if (port.device == port.setting) return port.device;
    return port.setting + " (" + (port.device.empty() ? "no host device" : port.device) + ")";
}

}  // namespace corvan
