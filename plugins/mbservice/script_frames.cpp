#include "plugins/mbservice/script_frames.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_codec.h"
#include "plugins/mbservice/script_text.h"
#include "runtime/commands.h"

namespace corvan::mbservice {

namespace {

std::string hexDigits(uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.*X", digits, static_cast<unsigned>(value));
    return buf;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::vector<uint8_t> sendRequest(std::span<const uint8_t> message) {
    if (message.empty()) return cmd::request(cmd::kEcuMessage, {});
    return cmd::ecuRequest(message);
}

std::vector<uint8_t> closingRequest(std::span<const uint8_t> message) {
    return cmd::ecuRequest(message);
}

std::vector<uint8_t> keepAliveOnRequest(std::span<const uint8_t> message) {
    return cmd::keepAliveRequest(true, message);
}

std::vector<uint8_t> keepAliveOffRequest() {
    static constexpr uint8_t kOff[] = {0x03, 0x00, 0x09, 0x00};
    return cmd::keepAliveRequest(false, kOff);
}

std::array<uint8_t, kConfigBytes> withDelay(std::span<const uint8_t, kConfigBytes> config,
                                            int32_t value) {
    std::array<uint8_t, kConfigBytes> out;
    std::copy(config.begin(), config.end(), out.begin());
    out[6] = static_cast<uint8_t>((value / 256) & 0xFF);
    out[7] = static_cast<uint8_t>(value & 0xFF);
    return out;
}

bool writeFrameChars(std::string& frame, size_t at, std::string_view chars) {
    if (at > kMaxFrameChars || chars.size() > kMaxFrameChars - at) return false;
    if (frame.size() < at + chars.size()) frame.resize(std::max(frame.size(), at), '0');
    frame.replace(at, chars.size(), chars);
    return true;
}

EncodedEntry encodeEntry(std::string_view type, std::string_view entry) {
    EncodedEntry out;
    if (type == "TYPE_1") {
        for (char c : entry) out.bad = out.bad || !isHexDigit(c);
        if (!out.bad) out.chars = entry;
    } else if (type == "TYPE_2") {
        // Two bytes: a larger number keeps its low 16 bits rather than spill a fifth digit.
        out.chars = hexDigits(static_cast<uint32_t>(readDecimal(entry)) & 0xFFFF, 4);
    } else if (type == "TYPE_5") {
        out.chars = hexDigits(static_cast<uint32_t>(readDecimal(entry)) & 0xFFFFFF, 6);
    } else if (type == "TYPE_3") {
        const std::string bytes = utf8ToCp1252(entry);
        for (size_t i = 0; i < bytes.size() && i < 4; ++i) {
            const int code = static_cast<unsigned char>(bytes[i]);
            const int value = code >= '0' && code <= '9' ? code - '0' : code - 55;
            out.chars += hexDigits(static_cast<uint32_t>(value) & 0xFF, 2);
        }
    } else if (type == "TYPE_4") {
        for (char c : utf8ToCp1252(entry)) out.chars += hexDigits(static_cast<unsigned char>(c), 2);
    }
    return out;
}

size_t entryWidth(std::string_view type, size_t length) {
    if (type == "TYPE_1") return length;
    if (type == "TYPE_2") return 4;
    if (type == "TYPE_3") return 2 * std::min<size_t>(length, 4);
    if (type == "TYPE_4") return 2 * length;
    if (type == "TYPE_5") return 6;
    return 0;
}

std::string_view changingKind(std::span<const uint8_t> message) {
    if (message.empty()) return {};
    switch (message[0]) {
        case 0x14:
            return "erase";
        case 0x27:
            return message.size() > 1 && message[1] % 2 == 0 ? "login" : "";
        case 0x2E:
        case 0x2F:
        case 0x30:
        case 0x31:
        case 0x3B:
        case 0x3D:
            return "service";
        default:
            return {};
    }
}

}  // namespace corvan::mbservice
