#include "plugins/vagadapt/adapt_requests.h"

#include "plugins/vagkline/block_requests.h"
#include "runtime/commands.h"

namespace corvan::vagadapt {

namespace {

using vagkline::replyByte;

constexpr uint8_t kTester = 0xF1;
constexpr uint8_t kRoutine = 0x31, kStopRoutine = 0x32;
constexpr uint8_t kStart = 0xB8, kSelect = 0xB9, kRead = 0xBA, kSave = 0xBB;
constexpr uint8_t kAccepted = 0x71;
constexpr uint8_t kTextMark = 0x25;  // "%": a value text code follows

// Format byte 0x80 + the count of service bytes, target, source, then the service bytes.
std::vector<uint8_t> message(uint8_t target, std::initializer_list<uint8_t> service,
                             std::span<const uint8_t> more = {}) {
    std::vector<uint8_t> m{static_cast<uint8_t>(0x80 | (service.size() + more.size())), target,
                           kTester};
    m.insert(m.end(), service.begin(), service.end());
    m.insert(m.end(), more.begin(), more.end());
    return cmd::ecuRequest(m);
}

uint8_t hi(uint16_t v) {
    return static_cast<uint8_t>(v >> 8);
}
uint8_t lo(uint16_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

}  // namespace

uint8_t targetAddress(std::span<const uint8_t> keepAliveReply, int length) {
    if (length < 6 || keepAliveReply.size() < 6 || keepAliveReply[2] != cmd::kReadKeepAlive)
        return 0;
    return keepAliveReply[5];
}

std::vector<uint8_t> startRequest(uint8_t target) {
    return message(target, {kRoutine, kStart, 0x01, 0x03});
}
std::vector<uint8_t> selectRequest(uint8_t target, uint8_t channel) {
    return message(target, {kRoutine, kSelect, 0x01, 0x03, channel});
}
std::vector<uint8_t> readRequest(uint8_t target) {
    return message(target, {kRoutine, kRead, 0x01, 0x03});
}
std::vector<uint8_t> stopRequest(uint8_t target) {
    return message(target, {kStopRoutine, kStart, 0x01, 0x03});
}
std::vector<uint8_t> testRequest(uint8_t target, uint16_t value) {
    return message(target, {kRoutine, kSelect, 0x01, 0x03, hi(value), lo(value)});
}
std::vector<uint8_t> saveRequest(uint8_t target, uint16_t value, const vagkline::WorkshopId& by) {
    return message(target, {kRoutine, kSave, 0x01, 0x03, hi(value), lo(value)}, by);
}

bool accepted(std::span<const uint8_t> reply) {
    return replyByte(reply, 7) == kAccepted;
}

uint16_t currentValue(std::span<const uint8_t> reply) {
    return static_cast<uint16_t>(replyByte(reply, 13) << 8 | replyByte(reply, 14));
}

std::optional<uint16_t> valueTextCode(std::span<const uint8_t> reply) {
    if (replyByte(reply, 16) != kTextMark) return std::nullopt;
    return static_cast<uint16_t>(replyByte(reply, 17) << 8 | replyByte(reply, 18));
}

}  // namespace corvan::vagadapt
