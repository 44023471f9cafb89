#include "plugins/boxstart/connection_config.h"

#include <algorithm>

#include "runtime/commands.h"
#include "runtime/frame.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::boxstart {

namespace {

std::vector<std::string_view> splitAtCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        parts.push_back(text.substr(from, comma == std::string_view::npos ? comma : comma - from));
        if (comma == std::string_view::npos) return parts;
        from = comma + 1;
    }
}

// Writes `value` at `index` when the frame's data reach that far.
void put(std::span<uint8_t> frame, size_t end, size_t index, uint8_t value) {
    if (index < end) frame[index] = value;
}

}  // namespace

ConnectionKeys readConnectionKeys(std::string_view text) {
    auto key = [text](std::string_view name) { return GetKeyValue(text, name, 0); };
    ConnectionKeys k;
    k.plug = key("PLUG=");
    k.keyOn = key("KEYON=");
    k.can = findKey(text, "CHANNEL=", 0) >= 0;
    k.channel = key("CHANNEL=");
    k.btr0 = key("BTR0=");
    k.btr1 = key("BTR1=");
    k.respCode = key("RESPCODE=");
    k.acceptCode = key("ACCEPTCODE=");
    k.acceptMask = key("ACCEPTMASK=");
    k.tresp = key("TRESP=");
    k.pin = key("PIN=");
    k.id = key("ID=");
    k.brg = key("BRG=");
    k.scc = key("SCC=");
    k.tbyte = key("TBYTE=");
    k.tframe = key("TFRAME=");
    k.beg = key("BEG=");
    k.mnt = key("MNT=");
    return k;
}

int decimalValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    constexpr long long kLimit = 1'000'000'000;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kLimit, value * 10 + (text[i] - '0'));
    return static_cast<int>(negative ? -value : value);
}

AdapterMatch MatchAdapter(std::string_view plug, std::string_view pins, std::string_view adapter) {
    if (plug == adapter) return {0, decimalValue(pins)};
    const std::vector<std::string_view> plugs = splitAtCommas(plug);
    AdapterMatch match;
    for (size_t i = 0; i < plugs.size(); ++i)
        if (plugs[i] == adapter) match.index = static_cast<int>(i);
    if (match.index < 0) return match;
    const std::vector<std::string_view> pinList = splitAtCommas(pins);
    const size_t at = static_cast<size_t>(match.index);
    match.pin = at < pinList.size() ? decimalValue(pinList[at]) : 0;
    return match;
}

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

void fillConfigFrame(std::span<uint8_t> frame, const ConnectionKeys& keys, int pin) {
    if (frame.size() < frame::kHeaderSize) return;
    // Data bytes end at index L + 2; the check byte after them is the send's.
    const size_t end =
        std::min(frame.size(), frame::dataLength(frame[0], frame[1]) + frame::kHeaderSize);
    // Times are written as a high byte of 255 steps and a low byte modulo 256: the
    // driver's own reading of the two bytes.
    auto high = [](const std::string& t) { return static_cast<uint8_t>(decimalValue(t) / 255); };
    auto low = [](const std::string& t) { return static_cast<uint8_t>(decimalValue(t) % 256); };
    if (keys.can) {
        const uint8_t first = keys.channel.empty() ? 0 : static_cast<uint8_t>(keys.channel[0]);
        put(frame, end, 3, static_cast<uint8_t>((first + 208) % 256));  // "1" gives 1
        put(frame, end, 5, hexByteAt(keys.btr0, 0));
        put(frame, end, 6, hexByteAt(keys.btr1, 0));
        put(frame, end, 7, hexByteAt(keys.acceptMask, 0));
        put(frame, end, 8, hexByteAt(keys.acceptCode, 0));
        put(frame, end, 11, high(keys.tresp));
        put(frame, end, 12, low(keys.tresp));
        put(frame, end, 13, hexByteAt(keys.respCode, 0));
    } else {
        put(frame, end, 3, 1);
        put(frame, end, 5, pin8Flag(pin));
        put(frame, end, 6, pinCode(pin));
        put(frame, end, 7, hexByteAt(keys.brg, 0));
        put(frame, end, 8, hexByteAt(keys.id, 0));
        put(frame, end, 11, high(keys.tbyte));
        put(frame, end, 12, low(keys.tbyte));
        put(frame, end, 13,
            static_cast<uint8_t>(keys.scc.empty() ? 0 : hexDigitValue(keys.scc[0])));
    }
    put(frame, end, 9, high(keys.tframe));
    put(frame, end, 10, low(keys.tframe));
    const std::vector<uint8_t> begin = hexToBytes(keys.beg);
    for (size_t i = 0; i < begin.size(); ++i) put(frame, end, kBeginIndex + i, begin[i]);
}

std::vector<uint8_t> maintenanceRequest(std::string_view mnt) {
    const std::vector<uint8_t> message = hexToBytes(mnt);
    if (message.empty()) {
        const uint8_t off[4] = {0, 0, 0, 0};
        return cmd::keepAliveRequest(false, off);
    }
    return cmd::keepAliveRequest(true, message);
}

std::string ecuAnswerText(std::span<const uint8_t> reply, int length) {
    if (length <= 4 || reply.size() <= 4) return {};
    const int count = (reply[0] & 0x7F) * 255 + reply[1] - 1;
    // Never past the data of the frame (the check byte is its last byte).
    const size_t available = std::min(reply.size(), static_cast<size_t>(length) - 1) - 4;
    const size_t n = count < 1 ? 0 : std::min(static_cast<size_t>(count), available);
    return bytesToHex(reply.subspan(4, n));
}

}  // namespace corvan::boxstart
