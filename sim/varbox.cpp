#include "sim/varbox.h"

#include <algorithm>

#include "runtime/frame.h"

namespace corvan::sim {
namespace {

// The frame log keeps the last frames, at most this many and this many bytes in all.
constexpr size_t kFrameLog = 4096;
constexpr size_t kFrameLogBytes = 1 << 20;
// A keep-alive far behind (the clock jumped) is not replayed message by message.
constexpr int kMaxKeepAliveCatchUp = 1000;

}  // namespace

Varbox::Varbox(Scenario scenario)
    : scenario_(std::move(scenario)),
      reader_(scenario_.timing.frameGapUs),
      memory_(scenario_.box.download, scenario_.box.program != ProgramState::None,
              scenario_.box.driverName),
      regs_(scenario_.box.wiring, scenario_.box.registers),
      running_(scenario_.box.program == ProgramState::Running),
      config_(scenario_.box.configTemplate),
      keepAlive_(scenario_.box.keepAlive),
      keepAliveOn_(scenario_.box.keepAliveOn) {
    for (const Fault& f : scenario_.faults) faults_.add(f);
    const int wanted = scenario_.box.connectedEcu;
    if (running_) {
        if (wanted == BoxConfig::kFirstEcu && !scenario_.ecus.empty()) selected_ = 0;
        if (wanted >= 0 && size_t(wanted) < scenario_.ecus.size()) selected_ = wanted;
        if (selected_ >= 0) state_ = 1;
    }
    nextKeepAliveUs_ = scenario_.box.keepAliveIntervalUs;
}

ProgramState Varbox::program() const {
    if (running_) return ProgramState::Running;
    return memory_.valid() ? ProgramState::Loaded : ProgramState::None;
}

EcuModel* Varbox::ecu(size_t index) const {
    return index < scenario_.ecus.size() ? scenario_.ecus[index].ecu.get() : nullptr;
}

int64_t Varbox::pacedByte(int64_t fromUs, int64_t& freeTicks) const {
    const int64_t baud = scenario_.timing.baud;
    freeTicks = std::max(freeTicks, fromUs * baud) + 10 * 1000000;  // 10 bits per byte
    return (freeTicks + baud - 1) / baud;
}

void Varbox::received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) {
    if (hungUp_) return;
    for (uint8_t b : bytes) {
        // With pacing the box has a byte only once its last bit is on the line.
        const int64_t at = scenario_.timing.pacing ? pacedByte(nowUs, inFreeTicks_) : nowUs;
        reader_.push(b, at, [&](std::span<const uint8_t> frame) { onFrame(frame, at, out); });
        if (hungUp_) return;
    }
}

int64_t Varbox::takenAtUs(int64_t nowUs) const {
    if (!scenario_.timing.pacing) return nowUs;
    const int64_t baud = scenario_.timing.baud;
    return std::max(nowUs, (inFreeTicks_ + baud - 1) / baud);
}

bool Varbox::reconnect() {
    if (hungUp_ && comesBack_) hungUp_ = false;
    return !hungUp_;
}

void Varbox::poll(int64_t nowUs, ByteQueue&) {
    serviceKeepAlive(nowUs);
}

void Varbox::onFrame(std::span<const uint8_t> frame, int64_t atUs, ByteQueue& out) {
    ++framesReceived_;
    frames_.emplace_back(frame.begin(), frame.end());
    frameLogBytes_ += frame.size();
    while (frames_.size() > 1 && (frames_.size() > kFrameLog || frameLogBytes_ > kFrameLogBytes)) {
        frameLogBytes_ -= frames_.front().size();
        frames_.pop_front();
    }
    if (atUs < busyUntilUs_) return;  // still restarting after a reset

    const uint8_t command = frame[2];
    const std::vector<Fault> due = faults_.take(command);
    const FaultEffect effect = FaultPlan::effect(due);
    if (effect.hangUp) {
        hangUp(effect.comesBack);
        return;
    }
    if (effect.silence) return;

    serviceKeepAlive(atUs);
    const auto data = frame.subspan(frame::kHeaderSize, frame.size() - frame::kHeaderSize - 1);
    Reply r = dispatch(command, data, atUs);
    if (effect.disconnect) dropConnection();
    FaultPlan::apply(due, r.frame);
    if (r.frame.empty()) return;
    schedule(r.frame, atUs + scenario_.timing.replyDelayUs + r.delayUs + effect.extraDelayUs, out);
}

void Varbox::schedule(const std::vector<uint8_t>& bytes, int64_t startUs, ByteQueue& out) {
    // One line: a reply never overtakes the bytes still queued before it.
    const int64_t start = std::max(startUs, outFreeUs_);
    int64_t at = start;
    for (uint8_t b : bytes) {
        if (scenario_.timing.pacing) at = pacedByte(start, outFreeTicks_);
        out.push(b, at);
    }
    outFreeUs_ = at;
}

void Varbox::serviceKeepAlive(int64_t nowUs) {
    const int64_t interval = scenario_.box.keepAliveIntervalUs;
    EcuModel* model = selected_ >= 0 ? ecu(size_t(selected_)) : nullptr;
    if (!keepAliveOn_ || !model || state_ != 1 || !running_ || interval <= 0) {
        nextKeepAliveUs_ = nowUs + std::max<int64_t>(interval, 0);
        return;
    }
    int sent = 0;
    while (nowUs >= nextKeepAliveUs_ && sent < kMaxKeepAliveCatchUp) {
        model->keepAlive(keepAlive_, nextKeepAliveUs_);
        ++keepAlivesSent_;
        ++sent;
        nextKeepAliveUs_ += interval;
    }
    if (nowUs >= nextKeepAliveUs_) nextKeepAliveUs_ = nowUs + interval;
}

}  // namespace corvan::sim
