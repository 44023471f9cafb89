// What the box does with each command. The loader (no driver running) knows the program
// state, memory set-up, download, start, name and reset commands; the running driver
// knows those and the ECU commands. Replies of the running driver carry the flag bit, so
// the host tells from byte 0 of the program-state reply whether a driver runs.
#include <algorithm>

#include "runtime/frame.h"
#include "sim/varbox.h"

namespace corvan::sim {
namespace {

constexpr size_t kWriteLog = 65536;
constexpr size_t kNameBytes = 19;

// The program-state byte: 0xFF when a valid driver is in memory (the host's download
// succeeds only on 0xFF), 0 when the memory holds none.
constexpr uint8_t kProgramValid = 0xFF;

}  // namespace

Varbox::Reply Varbox::reply(uint8_t command, std::span<const uint8_t> data) const {
    const auto n = std::min(data.size(), frame::kMaxDataLength);
    return {frame::build(command, data.first(n), running_), 0};
}

Varbox::Reply Varbox::refused(uint8_t command) const {
    const uint8_t d[1] = {command};
    return reply(boxcmd::kRefused, d);
}

// The frame 00 00 0A 0A: no ECU answer.
Varbox::Reply Varbox::noAnswer(int64_t delayUs) {
    return {frame::build(boxcmd::kNoAnswer, {}, false), delayUs};
}

Varbox::Reply Varbox::dispatch(uint8_t command, std::span<const uint8_t> data, int64_t atUs) {
    switch (command) {
        case boxcmd::kProgramState:
        case boxcmd::kMemorySetup:
        case boxcmd::kBlock:
        case boxcmd::kStart:
        case boxcmd::kDriverName:
            return loaderCommand(command, data);
        case boxcmd::kReset: {
            Reply r = reply(boxcmd::kReset, {});
            resetBox(atUs);
            return r;
        }
        default:
            break;
    }
    if (running_) return driverCommand(command, data, atUs);
    // The loader has no ECU connection: ECU messages go unanswered, the state is 0.
    if (command == boxcmd::kEcuMessage) return noAnswer();
    if (command == boxcmd::kConnection) return connectionStateReply();
    return refused(command);
}

Varbox::Reply Varbox::loaderCommand(uint8_t command, std::span<const uint8_t> data) {
    switch (command) {
        case boxcmd::kProgramState: {
            const uint8_t d[1] = {memory_.valid() ? kProgramValid : uint8_t(0)};
            return reply(command, d);
        }
        case boxcmd::kDriverName:
            return nameReply();
        case boxcmd::kMemorySetup: {
            if (data.size() != 4) return refused(command);
            stopDriver();
            memory_.memorySetup(data);
            const uint8_t ok[1] = {0};
            return reply(command, ok);
        }
        case boxcmd::kBlock: {
            stopDriver();
            uint8_t result[1] = {0};
            if (data.size() == 5 && data[0] == 0xEA)
                memory_.transferEnd();
            else if (data.empty() || !memory_.block(data))
                result[0] = 0x0A;  // refused: the host sends the block again
            return reply(command, result);
        }
        case boxcmd::kStart: {
            const bool ok = memory_.valid();
            // The loader answers before it jumps into the driver.
            const uint8_t d[1] = {uint8_t(ok ? 1 : 0)};
            Reply r = reply(command, d);
            if (ok && !running_) {
                running_ = true;
                config_ = scenario_.box.configTemplate;
                state_ = 0;
                selected_ = -1;
            }
            return r;
        }
        default:
            return refused(command);
    }
}

Varbox::Reply Varbox::nameReply() const {
    const std::string& name = running_ ? memory_.name() : scenario_.box.loaderName;
    std::array<uint8_t, kNameBytes> d{};
    const size_t n = std::min(name.size(), kNameBytes);
    std::copy_n(name.begin(), n, d.begin());
    if (scenario_.box.nameBlank && n < kNameBytes) d[n] = ' ';
    return reply(boxcmd::kDriverName, d);
}

Varbox::Reply Varbox::connectionStateReply() const {
    // Byte 3 state, 4..8 supply voltage text, 9..13 driver code, 14 checksum flag.
    std::array<uint8_t, 12> d{};
    d[0] = scenario_.box.forcedState.value_or(state_);
    const std::string& v = scenario_.box.voltage;
    for (size_t i = 0; i < 5; ++i) d[1 + i] = i < v.size() ? uint8_t(v[i]) : ' ';
    std::copy(scenario_.box.driverCode.begin(), scenario_.box.driverCode.end(), d.begin() + 6);
    d[11] = scenario_.box.checksumFlag;
    return reply(boxcmd::kConnection, d);
}

Varbox::Reply Varbox::driverCommand(uint8_t command, std::span<const uint8_t> data, int64_t atUs) {
    switch (command) {
        case boxcmd::kEcuMessage:
            return ecuMessage(data, atUs);
        case boxcmd::kConfigWrite:
            return configure(data, atUs);
        case boxcmd::kConfigRead:
            // Same header as the write request, so the host can send the buffer back.
            return reply(boxcmd::kConfigWrite, config_);
        case boxcmd::kConnection:
            return connectionStateReply();
        case boxcmd::kRegRead: {
            if (data.empty()) return refused(command);
            const uint8_t d[1] = {regs_.read(data[0])};
            return reply(command, d);
        }
        case boxcmd::kRegWrite: {
            // 01 a 00 v: a count, then per register its address, 00 and the value.
            if (data.size() < 4 || data[0] == 0) return refused(command);
            for (size_t k = 0; k < data[0] && 1 + 3 * k + 2 < data.size(); ++k) {
                const uint8_t reg = data[1 + 3 * k], value = data[3 + 3 * k];
                regs_.write(reg, value);
                regWrites_.push_back({atUs, reg, value});
                if (regWrites_.size() > kWriteLog) regWrites_.pop_front();
            }
            return reply(command, {});
        }
        case boxcmd::kKeepAliveRead: {
            std::vector<uint8_t> d{uint8_t(keepAliveOn_ ? 1 : 0)};
            d.insert(d.end(), keepAlive_.begin(), keepAlive_.end());
            return reply(command, d);
        }
        case boxcmd::kKeepAliveSet: {
            if (data.empty()) return refused(command);
            // 01 + message: repeat this message; 00 ...: stop repeating (message kept).
            keepAliveOn_ = data[0] != 0;
            if (keepAliveOn_) keepAlive_.assign(data.begin() + 1, data.end());
            nextKeepAliveUs_ = atUs + scenario_.box.keepAliveIntervalUs;
            const uint8_t d[1] = {data[0]};
            return reply(command, d);
        }
        case boxcmd::kProbe: {
            const uint8_t d[1] = {regs_.probeAnswer()};
            return reply(command, d);
        }
        default:
            return refused(command);
    }
}

Varbox::Reply Varbox::ecuMessage(std::span<const uint8_t> data, int64_t atUs) {
    EcuModel* model = selected_ >= 0 ? ecu(size_t(selected_)) : nullptr;
    if (!model || state_ != 1) return noAnswer();
    // Data byte 0 is the 00 in front of every ECU message.
    const auto message = data.empty() ? data : data.subspan(1);
    const EcuReply r = model->request(message, atUs);
    // The line was busy: the next keep-alive is due one interval after this message.
    nextKeepAliveUs_ = atUs + scenario_.box.keepAliveIntervalUs;
    switch (r.kind) {
        case EcuReply::Kind::Silence:
            return {};
        case EcuReply::Kind::NoAnswer:
            return noAnswer(r.delayUs);
        case EcuReply::Kind::Answer:
            break;
    }
    std::vector<uint8_t> d{0x00};
    d.insert(d.end(), r.bytes.begin(), r.bytes.end());
    Reply out = reply(boxcmd::kEcuMessage, d);
    out.delayUs = r.delayUs;
    return out;
}

Varbox::Reply Varbox::configure(std::span<const uint8_t> data, int64_t atUs) {
    if (data.size() != config_.size()) return refused(boxcmd::kConfigWrite);
    dropConnection();
    std::copy(data.begin(), data.end(), config_.begin());
    const ConfigBytes c(config_);
    for (size_t i = 0; i < scenario_.ecus.size(); ++i) {
        SimEcu& e = scenario_.ecus[i];
        if (!e.ecu || !e.select.matches(c)) continue;
        selected_ = int(i);
        const ConnectResult r = e.ecu->connect(c, atUs);
        if (!r.connected) {
            selected_ = -1;
            return noAnswer(r.delayUs);
        }
        state_ = 1;
        nextKeepAliveUs_ = atUs + scenario_.box.keepAliveIntervalUs;
        if (r.answer.empty()) return {frame::build(boxcmd::kConfigAccepted, {}, true), r.delayUs};
        std::vector<uint8_t> d{0x00};
        d.insert(d.end(), r.answer.begin(), r.answer.end());
        Reply out = reply(boxcmd::kConfigWrite, d);
        out.delayUs = r.delayUs;
        return out;
    }
    return noAnswer();  // nobody on the line answers the initial message
}

void Varbox::dropConnection() {
    if (selected_ >= 0)
        if (EcuModel* m = ecu(size_t(selected_))) m->disconnected();
    selected_ = -1;
    state_ = 0;
}

void Varbox::stopDriver() {
    if (!running_) return;
    dropConnection();
    keepAliveOn_ = false;
    running_ = false;
}

void Varbox::resetBox(int64_t atUs) {
    stopDriver();
    dropConnection();
    keepAliveOn_ = false;
    regs_.reset();
    config_ = scenario_.box.configTemplate;
    busyUntilUs_ = atUs + scenario_.box.resetBusyUs;
}

}  // namespace corvan::sim
