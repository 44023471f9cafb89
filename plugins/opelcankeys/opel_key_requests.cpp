#include "plugins/opelcankeys/opel_key_requests.h"

#include "plugins/codingcommon/key_entry.h"
#include "runtime/commands.h"

namespace corvan::opelcankeys {

namespace {

constexpr uint8_t kIdHigh = 0x02, kIdLow = 0x45;
constexpr uint8_t kWriteLocalId = 0x3B, kWriteAccepted = 0x7B, kRefusal = 0x7F;
constexpr uint8_t kPinId = 0x60, kEraseId = 0x68, kLearnId = 0x69;
constexpr uint8_t kStopPeriodic = 0xAA;
constexpr uint8_t kNoTransponder = 0x31, kAlreadyProgrammed = 0xAF;
constexpr size_t kServiceByte = 7, kReasonByte = 9;

std::vector<uint8_t> canRequest(std::initializer_list<uint8_t> service) {
    std::vector<uint8_t> m{kIdHigh, kIdLow, static_cast<uint8_t>(service.size())};
    m.insert(m.end(), service);
    return cmd::ecuRequest(m);
}

uint8_t at(std::span<const uint8_t> reply, int length, size_t index) {
    return index + 1 < size_t(length > 0 ? length : 0) && index < reply.size() ? reply[index] : 0;
}

}  // namespace

std::vector<uint8_t> pinEntryRequest(std::string_view typedPin) {
    std::string pin = coding::pinCharacters(typedPin);
    pin.resize(coding::kPinLength, '\0');
    const auto c = [&pin](size_t i) { return static_cast<uint8_t>(pin[i]); };
    return canRequest({kWriteLocalId, kPinId, c(0), c(1), c(2), c(3)});
}

std::vector<uint8_t> stopPeriodicRequest() {
    return canRequest({kStopPeriodic, 0x00});
}

std::vector<uint8_t> eraseKeysRequest() {
    return canRequest({kWriteLocalId, kEraseId});
}

std::vector<uint8_t> learnKeyRequest() {
    return canRequest({kWriteLocalId, kLearnId});
}

bool accepted(std::span<const uint8_t> reply, int length) {
    return at(reply, length, kServiceByte) == kWriteAccepted;
}

LearnOutcome learnOutcome(std::span<const uint8_t> reply, int length) {
    // A reply too short to hold a service (the box's "no ECU answer") taught nothing.
    if (length <= int(kServiceByte) + 1) return LearnOutcome::Refused;
    if (at(reply, length, kServiceByte) != kRefusal) return LearnOutcome::Codified;
    switch (at(reply, length, kReasonByte)) {
        case kNoTransponder:
            return LearnOutcome::NoTransponder;
        case kAlreadyProgrammed:
            return LearnOutcome::AlreadyProgrammed;
        default:
            return LearnOutcome::Refused;
    }
}

}  // namespace corvan::opelcankeys
