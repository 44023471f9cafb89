#include "sim/ecu_selector.h"

#include <algorithm>

#include "sim/hex_pattern.h"

namespace corvan::sim {
namespace {

// How the host writes a K-line pin into the configuration (frame indexes 5 and 6).
uint8_t pin8Flag(int pin) {
    return pin == 8 ? 0x20 : 0x00;
}
uint8_t pinCode(int pin) {
    switch (pin) {
        case 1:
            return 0xA0;
        case 6:
            return 0x20;
        case 12:
            return 0x80;
        default:
            return 0x00;
    }
}

}  // namespace

bool EcuSelector::matches(ConfigBytes c) const {
    if (line == Line::KLine) {
        if (id && c[cfg::kIdCode] != *id) return false;
        if (pin && (c[cfg::kPin8] != pin8Flag(*pin) || c[cfg::kPinCode] != pinCode(*pin)))
            return false;
        if (begins.size() > c.size() - cfg::kBegin) return false;
        return std::equal(begins.begin(), begins.end(), c.begin() + cfg::kBegin);
    }
    if (line == Line::Can) {
        if (channel && c[cfg::kChannel] != *channel) return false;
        if (respCode && c[cfg::kSccResp] != *respCode) return false;
        if (acceptCode && c[cfg::kIdCode] != *acceptCode) return false;
        if (acceptMask && c[cfg::kBrgMask] != *acceptMask) return false;
    }
    return true;
}

std::string EcuSelector::describe() const {
    auto byte = [](uint8_t b) { return formatHex(std::span<const uint8_t>(&b, 1)); };
    std::string s;
    switch (line) {
        case Line::Any:
            return "any configuration";
        case Line::KLine:
            s = "K line";
            if (id) s += " ID " + byte(*id);
            if (pin) s += " pin " + std::to_string(*pin);
            if (!begins.empty()) s += " BEG " + formatHex(begins);
            return s;
        case Line::Can:
            s = "CAN";
            if (channel) s += " channel " + std::to_string(*channel);
            if (respCode) s += " RESPCODE " + byte(*respCode);
            if (acceptCode) s += " ACCEPTCODE " + byte(*acceptCode);
            if (acceptMask) s += " ACCEPTMASK " + byte(*acceptMask);
            return s;
    }
    return s;
}

}  // namespace corvan::sim
