#include "plugins/bmwservice/reset_line.h"

#include "runtime/commands.h"
#include "runtime/exchange.h"

namespace corvan::bmwservice {

namespace {
constexpr int kAttempts = 4;
constexpr int kPollMs = 350;
constexpr int kSettleMs = 10;
}  // namespace

int RegisterLine::exchange(std::span<const uint8_t> request) {
    return ExchangePumping(ctx_, request, reply_, kAttempts, 0, kPollMs, ctx_.mode());
}

uint8_t RegisterLine::read(uint8_t reg) {
    exchange(cmd::readRegisterRequest(reg));
    return reply_[3];
}

int RegisterLine::write(uint8_t reg, uint8_t value) {
    return exchange(cmd::writeRegisterRequest(reg, value));
}

void RegisterLine::pause() {
    ctx_.clock().sleepMs(kSettleMs);
}

uint8_t checkResetOutput(RegisterLine& line) {
    line.write(kInputs, line.read(kInputs) | kLoopSelect);
    const uint8_t d = line.read(kOutputs) & 0x5F;
    line.write(kOutputs, d);
    line.pause();
    line.write(kOutputs, d & ~kTestOutput);
    line.pause();
    // An input that is already on cannot be the loop: the line is on the other output.
    if (line.read(kInputs) & kLoopInput) return kOutputB;
    line.write(kOutputs, d | kTestOutput);
    line.pause();
    if (!(line.read(kInputs) & kLoopInput)) return kOutputB;
    line.write(kOutputs, d & 0xF0);
    return kOutputA;
}

}  // namespace corvan::bmwservice
