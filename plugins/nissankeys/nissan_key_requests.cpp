#include "plugins/nissankeys/nissan_key_requests.h"

#include "runtime/commands.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::nissankeys {

namespace {

constexpr size_t kMaxRequestBytes = 99;
constexpr uint8_t kClosingMessage = 0x30;

std::vector<uint8_t> dataRequest(std::string_view text, std::string_view key, int start) {
    const auto message = hexToBytesPaired(GetKeyValue(text, key, start), kMaxRequestBytes);
    return message.empty() ? std::vector<uint8_t>{} : cmd::ecuRequest(message);
}

}  // namespace

NissanRequests readRequests(std::string_view text, int start) {
    const uint8_t closing[] = {kClosingMessage};
    return {dataRequest(text, "CODEKEY=", start), dataRequest(text, "INFKEY=", start),
            cmd::ecuRequest(closing)};
}

bool codingStarted(std::span<const uint8_t> reply) {
    return reply.size() > 4 && reply[4] == 0x01;
}

bool codingDone(std::span<const uint8_t> reply) {
    return reply.size() > 6 && reply[6] == 0x02;
}

int pollProgress(int pollsDone) {
    return pollsDone / 2;
}

}  // namespace corvan::nissankeys
