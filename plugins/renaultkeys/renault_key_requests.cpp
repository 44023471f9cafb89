#include "plugins/renaultkeys/renault_key_requests.h"

#include "plugins/codingcommon/key_entry.h"
#include "runtime/commands.h"
#include "runtime/hex_text.h"

namespace corvan::renaultkeys {

namespace {

constexpr uint8_t kFormat = 0x80, kImmobilizer = 0x26, kTester = 0xF1;
constexpr uint8_t kStartRoutine = 0x31, kKeyLearning = 0xC5, kStarted = 0x71;
constexpr uint8_t kWriteLocalId = 0x3B, kLearningEnd = 0xD2;

std::vector<uint8_t> message(std::initializer_list<uint8_t> data) {
    std::vector<uint8_t> m{static_cast<uint8_t>(kFormat | data.size()), kImmobilizer, kTester};
    m.insert(m.end(), data);
    return cmd::ecuRequest(m);
}

}  // namespace

std::array<uint8_t, 2> pinBytes(std::string_view typedPin) {
    // One byte per character, so that a character outside ASCII still takes one place.
    const std::string pin = coding::pinCharacters(typedPin);
    return {hexByteAt(pin, 0), hexByteAt(pin, 2)};
}

std::vector<uint8_t> learningStartRequest(std::string_view typedPin) {
    const auto pin = pinBytes(typedPin);
    return message({kStartRoutine, kKeyLearning, 0x00, pin[0], pin[1]});
}

std::vector<uint8_t> learningEndRequest() {
    return message({kWriteLocalId, kLearningEnd, 0x01, 0x00});
}

bool learningStarted(std::span<const uint8_t> reply) {
    return reply.size() > 8 && reply[7] == kStarted && reply[8] == kKeyLearning;
}

}  // namespace corvan::renaultkeys
