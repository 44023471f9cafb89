#include "plugins/vagkline/block_requests.h"

#include <limits>

#include "runtime/commands.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::vagkline {

namespace {

// The largest message one count byte can announce (the 00 in front counts too).
constexpr size_t kLongestMessage = 254;

std::vector<uint8_t> withMessage(uint8_t command, uint8_t lead, std::span<const uint8_t> m) {
    std::vector<uint8_t> data{lead};
    data.insert(data.end(), m.begin(), m.end());
    return cmd::request(command, data);
}

}  // namespace

KeepAliveRequests presetKeepAliveRequests() {
    static constexpr uint8_t kEmptyAcknowledge[] = {0x00, 0x00, 0x00, 0x00};
    static constexpr uint8_t kAcknowledgeBlock[] = {0x03, 0x00, 0x09, 0x00};
    return {withMessage(cmd::kEcuMessage, 0x00, kEmptyAcknowledge),
            withMessage(cmd::kSetKeepAlive, 0x00, kAcknowledgeBlock),
            withMessage(cmd::kSetKeepAlive, 0x01, kAcknowledgeBlock)};
}

KeepAliveRequests keepAliveRequests(std::span<const uint8_t> reply, int length) {
    // Only the box's own answer to the query carries its message; a count that needs the
    // high length bits cannot be sent back with one count byte.
    if (length < 4 || reply.size() < 4 || reply[2] != cmd::kReadKeepAlive || (reply[0] & 0x7F))
        return presetKeepAliveRequests();
    const size_t count = reply[1];
    if (count < 2 || count + 3 > static_cast<size_t>(length)) return presetKeepAliveRequests();
    const std::span<const uint8_t> message = reply.subspan(4, count - 1);
    return {withMessage(cmd::kEcuMessage, 0x00, message),
            withMessage(cmd::kSetKeepAlive, 0x00, message),
            withMessage(cmd::kSetKeepAlive, 0x01, message)};
}

std::vector<uint8_t> identificationRequest(std::string_view parameterText) {
    int pos = findFrom(parameterText, "DATA=");
    std::vector<uint8_t> message;
    if (pos >= 0) message = hexToBytes(readBracket(parameterText, pos));
    if (message.size() > kLongestMessage) message.resize(kLongestMessage);
    return cmd::ecuRequest(message);
}

std::vector<uint8_t> codingRequest(uint16_t coding, uint16_t workshopCode) {
    const uint16_t c = static_cast<uint16_t>(coding * 2);
    const uint8_t block[] = {0x07,
                             0x00,
                             0x10,
                             static_cast<uint8_t>(c >> 8),
                             static_cast<uint8_t>(c & 0xFF),
                             static_cast<uint8_t>(workshopCode >> 8),
                             static_cast<uint8_t>(workshopCode & 0xFF)};
    return cmd::ecuRequest(block);
}

std::vector<uint8_t> loginRequest(uint16_t accessCode, uint16_t workshopCode) {
    const uint8_t block[] = {0x08,
                             0x00,
                             0x2B,
                             static_cast<uint8_t>(accessCode >> 8),
                             static_cast<uint8_t>(accessCode & 0xFF),
                             0x00,
                             static_cast<uint8_t>(workshopCode >> 8),
                             static_cast<uint8_t>(workshopCode & 0xFF)};
    return cmd::ecuRequest(block);
}

CodingData codingDataOf(std::span<const uint8_t> fourthReply) {
    auto word = [&](size_t at) {
        return static_cast<uint16_t>(replyByte(fourthReply, at) << 8 |
                                     replyByte(fourthReply, at + 1));
    };
    return {static_cast<uint16_t>(word(8) / 2), word(10)};
}

uint16_t workshopCodeToSend(std::optional<uint16_t> unitCode, uint16_t defaultCode) {
    return unitCode && *unitCode != 0 ? *unitCode : defaultCode;
}

uint32_t typedNumber(std::string_view text) {
    constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
    uint64_t n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        n = n * 10 + static_cast<uint64_t>(ch - '0');
        if (n > kMax) return static_cast<uint32_t>(kMax);
    }
    return static_cast<uint32_t>(n);
}

}  // namespace corvan::vagkline
