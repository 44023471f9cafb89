#include "tools/boxservice/at_exchange.h"

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace corvan::boxservice {

namespace {

constexpr int kAfterSendMs = 100;
constexpr int kQuietPauseMs = 10;
constexpr int kInquiryPauseMs = 1;

// One UTF-8 character from `s` at `i` (advancing it); malformed bytes count one each.
uint32_t nextCodePoint(std::string_view s, size_t& i) {
    const uint8_t b = uint8_t(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b < 0x80 || extra == 0 || i + size_t(extra) > s.size()) return b;
    uint32_t cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const uint8_t c = uint8_t(s[i + size_t(k)]);
        if ((c & 0xC0) != 0x80) return b;
        cp = (cp << 6) | (c & 0x3F);
    }
    i += size_t(extra);
    return cp;
}

}  // namespace

std::vector<uint8_t> atCommandBytes(std::string_view command) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < command.size();) bytes.push_back(uint8_t(nextCodePoint(command, i)));
    return bytes;
}

AtAnswer sendAtCommand(SerialPort& port, Clock& clock, std::string_view command, int quietCount) {
    AtAnswer answer;
    for (uint8_t b : atCommandBytes(command)) {
        size_t written = 0;
        if (!port.write(&b, 1, written) || written != 1) return answer;
    }
    clock.sleepMs(kAfterSendMs);

    std::string& text = answer.text;
    int empty = 0;
    bool ended = false;  // the inquiry list is complete
    while (text.size() < kMaxAnswer && !ended) {
        if (empty >= (quietCount > 0 ? quietCount : kInquiryEmptyReads)) break;
        uint8_t byte = 0;
        size_t got = 0;
        if (!port.readByte(byte, got)) break;  // the line is lost: nothing more will come
        if (got) {
            text += byte == 0 ? ' ' : char(byte);
            empty = 0;
            ended = quietCount <= 0 && text.ends_with("EOI");
        } else {
            ++empty;
            clock.sleepMs(quietCount > 0 ? kQuietPauseMs : kInquiryPauseMs);
        }
    }
    answer.ok = !text.empty();
    return answer;
}

bool answerHas(const AtAnswer& answer, std::string_view word) {
    return answer.text.find(word) != std::string::npos;
}

}  // namespace corvan::boxservice
