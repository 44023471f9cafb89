// The "bluetooth" part of a scenario file: the terminal's Bluetooth serial module in front
// of the box (used by the box service program and by varbox-sim --bluetooth).
#include <algorithm>
#include <cctype>

#include "sim/scenario_parts.h"

namespace corvan::sim {
namespace {

constexpr int64_t kMaxMs = 600000;

bool readAddress(const JsonNode& node, const char* key, std::string& out, bool emptyOk) {
    if (!node.get(key, out)) return false;
    if (emptyOk && out.empty()) return true;
    const bool hex = out.size() == 12 && std::all_of(out.begin(), out.end(), [](char c) {
                         return std::isxdigit(uint8_t(c));
                     });
    return hex || node[key].fail("expected 12 hexadecimal digits");
}

bool readMs(const JsonNode& node, const char* key, int64_t& us) {
    if (!node.has(key)) return true;
    int64_t ms = 0;
    if (!node.get(key, ms, 0, kMaxMs)) return false;
    us = ms * 1000;
    return true;
}

bool readCommandList(const JsonNode& node, const char* key, std::vector<std::string>& out) {
    static const char* kKnown[] = {"ZV", "ZX", "ZU", "ZM1", "ZM2", "ZM3", "ZI", "ZA", "ZE"};
    const JsonNode list = node[key];
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
        const JsonNode item = list.at(i);
        const std::string name = item.isString() ? item.value().get<std::string>() : "";
        if (std::none_of(std::begin(kKnown), std::end(kKnown),
                         [&](const char* k) { return name == k; }))
            return item.fail("expected one of ZV, ZX, ZU, ZM1, ZM2, ZM3, ZI, ZA, ZE");
        out.push_back(name);
    }
    return true;
}

bool readDevices(const JsonNode& node, std::vector<BluetoothDevice>& out) {
    const JsonNode list = node["devices"];
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    out.clear();
    for (size_t i = 0; i < list.size(); ++i) {
        const JsonNode d = list.at(i);
        BluetoothDevice device;
        if (!d.expectObject() || !d.onlyKeys({"address", "name", "pin"}) ||
            !readAddress(d, "address", device.address, false) || !d.get("name", device.name) ||
            !d.get("pin", device.pin))
            return false;
        out.push_back(std::move(device));
    }
    return true;
}

}  // namespace

bool readBluetooth(const JsonNode& node, std::optional<BluetoothConfig>& out) {
    if (!node.present()) return true;
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"linked", "address", "version", "mode", "remote", "pin", "devices",
                        "answerDelayMs", "restartMs", "linkDelayMs", "inquiryMs", "refuse",
                        "silent"}))
        return false;
    BluetoothConfig c;
    int64_t mode = c.mode;
    if (!node.get("linked", c.linked) || !readAddress(node, "address", c.address, false) ||
        !node.get("version", c.version) || !node.get("mode", mode, 1, 3) ||
        !readAddress(node, "remote", c.remote, true) || !node.get("pin", c.pin) ||
        !readDevices(node, c.devices) || !readMs(node, "answerDelayMs", c.answerDelayUs) ||
        !readMs(node, "restartMs", c.restartUs) || !readMs(node, "linkDelayMs", c.linkDelayUs) ||
        !readMs(node, "inquiryMs", c.inquiryUs) || !readCommandList(node, "refuse", c.refuse) ||
        !readCommandList(node, "silent", c.silent))
        return false;
    c.mode = int(mode);
    out = std::move(c);
    return true;
}

}  // namespace corvan::sim
