#include "plugins/faultcodes/self_test_protocol.h"

#include <algorithm>

#include "engine/dtcbase/definition_text.h"
#include "runtime/commands.h"
#include "runtime/hex_text.h"

namespace corvan::faultcodes {

namespace {

constexpr size_t kServiceIndex = 7;  // format, target, source come first from byte 4
constexpr size_t kPairsIndex = 8;
constexpr uint8_t kNegativeAnswer = 0x7F;
constexpr uint8_t kPositiveBit = 0x40;

std::vector<uint8_t> selfTestRequest(uint8_t byte3, uint8_t service, uint8_t a, uint8_t b) {
    return {0x80, 0x07, cmd::kEcuMessage, byte3, 0xC4, 0x10, 0xFA, service, a, b};
}

// Reply byte `i`, or 0 past the bytes that came.
uint8_t byteAt(std::span<const uint8_t> reply, int length, size_t i) {
    const size_t have = std::min(reply.size(), static_cast<size_t>(std::max(length, 0)));
    return i < have ? reply[i] : 0;
}

}  // namespace

std::vector<uint8_t> preReadRequest() {
    return selfTestRequest(0x00, 0x22, 0x02, 0x00);
}
std::vector<uint8_t> startRequest(uint8_t routine) {
    return selfTestRequest(0x00, 0x31, routine, 0x00);
}
std::vector<uint8_t> watchRequest(uint8_t routine) {
    return selfTestRequest(0x00, 0x32, routine, 0x00);
}
std::vector<uint8_t> resultsRequest(uint8_t routine) {
    return selfTestRequest(0xFF, 0x33, routine, 0x00);
}

std::vector<uint8_t> eraseRequest(std::string_view eraseHex) {
    const std::vector<uint8_t> message = hexToBytes(eraseHex);
    if (message.empty()) return {};
    return cmd::ecuRequest(message);
}

bool eraseAccepted(std::span<const uint8_t> request, std::span<const uint8_t> reply, int length) {
    if (request.size() <= kServiceIndex) return false;
    return byteAt(reply, length, kServiceIndex) == (request[kServiceIndex] | kPositiveBit);
}

bool resultsRefused(std::span<const uint8_t> reply, int length) {
    return byteAt(reply, length, kServiceIndex) == kNegativeAnswer;
}

std::vector<TroubleCode> resultCodes(std::span<const uint8_t> reply, int length,
                                     std::string_view definitions) {
    std::vector<TroubleCode> codes;
    const int announced = byteAt(reply, length, 1);
    const int pairs = (announced - 5) / 2;
    // Everything read lies in the frame's data, before its check byte.
    const size_t have = std::min(reply.size(), static_cast<size_t>(std::max(length, 0)));
    const size_t dataEnd = have > 0 ? have - 1 : 0;
    // The ECU's whole answer, for codes the definitions do not hold.
    std::string answer;
    for (size_t i = 4; i < dataEnd && i < 4 + static_cast<size_t>(std::max(announced - 1, 0)); ++i)
        answer += byteToHex(reply[i]);
    for (int p = 0; p < pairs && codes.size() < kMaxCodes; ++p) {
        const size_t at = kPairsIndex + 2 * static_cast<size_t>(p);
        if (at + 2 > dataEnd) break;
        const auto code = resultPairCode(reply[at], reply[at + 1]);
        if (!code) continue;
        TroubleCode t;
        t.code = *code;
        t.kind = std::string(kSelfTestKind);
        if (const auto d = dtc::findDefinition(definitions, t.code)) {
            t.description = d->description;
            t.detail = d->detail;
            t.extra = d->extra;
        } else {
            t.description = std::string(kUnidentifiedDescription);
            t.detail = answer;
        }
        codes.push_back(std::move(t));
    }
    return codes;
}

}  // namespace corvan::faultcodes
