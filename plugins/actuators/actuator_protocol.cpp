#include "plugins/actuators/actuator_protocol.h"

#include "runtime/commands.h"

namespace corvan::actuators {

namespace {

constexpr uint8_t kTester = 0xF1;
constexpr uint8_t kAccepted = 0x71;

uint8_t at(std::span<const uint8_t> reply, size_t i) {
    return i < reply.size() ? reply[i] : 0;
}

}  // namespace

uint8_t targetAddress(std::span<const uint8_t> reply, int length) {
    if (cmd::replyCommand(reply, length) == cmd::kReplyNoEcuAnswer) return 0;
    const auto message = cmd::ecuAnswer(reply, length);
    return message.size() >= 2 ? message[1] : 0;
}

std::vector<uint8_t> stepRequest(Step step, uint8_t target) {
    struct Words {
        uint8_t service, routine, a, b;
    };
    static constexpr Words kWords[] = {
        {0x31, 0xB8, 0x00, 0x00},  // prepare
        {0x31, 0xB8, 0x01, 0x02},  // start
        {0x31, 0xBA, 0x01, 0x02},  // read the actuator being driven
        {0x31, 0xB9, 0x01, 0x02},  // advance
        {0x32, 0xB8, 0x01, 0x02},  // stop
    };
    const Words& w = kWords[static_cast<int>(step)];
    const uint8_t message[] = {0x84, target, kTester, w.service, w.routine, w.a, w.b};
    return cmd::ecuRequest(message);
}

bool accepted(std::span<const uint8_t> reply) {
    return at(reply, 7) == kAccepted;
}

int actuatorCode(std::span<const uint8_t> reply) {
    return at(reply, 13) << 8 | at(reply, 14);
}

bool busy(std::span<const uint8_t> reply) {
    return at(reply, 11) == 0x01;
}

}  // namespace corvan::actuators
