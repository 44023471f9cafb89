#include "plugins/codingcommon/airbag_data.h"

#include "runtime/commands.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::coding {

namespace {

constexpr size_t kMaxRequestBytes = 99;
constexpr size_t kStatusOffset = 4;  // the ECU's answer starts after the box's header

// atoi as the data were written for: blanks, a sign, digits; saturated instead of wrapping.
int decimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if ((n = n * 10 + (text[i] - '0')) > 1'000'000'000) n = 1'000'000'000;
    return static_cast<int>(negative ? -n : n);
}

}  // namespace

AirbagData readAirbagData(std::string_view text, int start) {
    AirbagData d;
    d.inf = GetKeyValue(text, "INF=", start);
    d.on = GetKeyValue(text, "ON=", start);
    d.off = GetKeyValue(text, "OFF=", start);
    d.pos = decimal(GetKeyValue(text, "POS=", start));
    d.bit = decimal(GetKeyValue(text, "BIT=", start));
    return d;
}

std::vector<uint8_t> airbagRequest(std::string_view hexText) {
    const auto message = hexToBytesPaired(hexText, kMaxRequestBytes);
    return message.empty() ? std::vector<uint8_t>{} : cmd::ecuRequest(message);
}

std::optional<uint8_t> statusMask(int bit) {
    if (bit < 0 || bit > 7) return std::nullopt;
    return static_cast<uint8_t>(1u << bit);
}

uint8_t statusByte(std::span<const uint8_t> reply, int pos) {
    if (pos < 0 || kStatusOffset + size_t(pos) >= reply.size()) return 0;
    return reply[kStatusOffset + size_t(pos)];
}

bool maskSet(uint8_t byte, uint8_t mask) {
    return (byte & mask) == mask;
}

}  // namespace corvan::coding
