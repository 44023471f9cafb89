#pragma once
// The Varbox stand-in: the far end of the serial line. It reads request frames from the
// host's bytes, keeps the box's state (program, download memory, configuration, connection,
// registers, keep-alive message) and schedules each reply's bytes on the line's clock,
// with the box's and the ECU's delays, optional line-rate pacing and injected faults.
//
//     Scenario s = ...;              // loadScenarioFile(...) or built in code
//     Varbox box(std::move(s));
//     MemoryPort port(clock, box);   // the host's SerialPort
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "platform/memory_port.h"
#include "sim/driver_memory.h"
#include "sim/faults.h"
#include "sim/frame_reader.h"
#include "sim/registers.h"
#include "sim/scenario.h"

namespace corvan::sim {

// Commands of the box.
namespace boxcmd {
constexpr uint8_t kNoAnswer = 0x0A, kDriverName = 0x0F, kProgramState = 0x13, kMemorySetup = 0x15,
                  kBlock = 0x1A, kEcuMessage = 0x20, kConfigWrite = 0x80, kConfigRead = 0x81,
                  kConnection = 0x82, kRegRead = 0x83, kRegWrite = 0x84, kKeepAliveRead = 0x85,
                  kKeepAliveSet = 0x86, kReset = 0x88, kProbe = 0x89, kConfigAccepted = 0xA0,
                  kStart = 0xF0,
                  // The reply to a command the box does not know (data: that command).
    kRefused = 0x7F;
}  // namespace boxcmd

struct RegisterWrite {
    int64_t atUs;
    uint8_t reg;
    uint8_t value;
};

class Varbox final : public ByteDevice {
  public:
    explicit Varbox(Scenario scenario);

    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override;
    void poll(int64_t nowUs, ByteQueue& out) override;
    int64_t takenAtUs(int64_t nowUs) const override;
    bool hungUp() const override { return hungUp_; }
    // A line that hung up with a fault that comes back is up again; the box itself kept its
    // state (the driver, the ECU connection) meanwhile, as a box does behind a dropped
    // Bluetooth link.
    bool reconnect() override;

    // Faults from a test (the scenario's own are added at construction).
    void inject(Fault f) { faults_.add(std::move(f)); }
    void hangUp(bool comesBack = false) {
        hungUp_ = true;
        comesBack_ = comesBack;
    }

    // What the box holds now.
    ProgramState program() const;
    const std::string& driverName() const { return memory_.name(); }
    const DriverMemory& memory() const { return memory_; }
    uint8_t connectionState() const { return state_; }
    int selectedEcu() const { return selected_; }  // -1: none
    EcuModel* ecu(size_t index) const;
    const std::array<uint8_t, 40>& configuration() const { return config_; }
    const RegisterFile& registers() const { return regs_; }
    const std::vector<uint8_t>& keepAliveMessage() const { return keepAlive_; }
    bool keepAliveOn() const { return keepAliveOn_; }
    uint64_t keepAlivesSent() const { return keepAlivesSent_; }

    // What the box saw: good frames (the last few thousand), counts, register writes.
    const std::deque<std::vector<uint8_t>>& frames() const { return frames_; }
    uint64_t framesReceived() const { return framesReceived_; }
    uint64_t badFrames() const { return reader_.badFrames(); }
    const std::deque<RegisterWrite>& registerWrites() const { return regWrites_; }

  private:
    struct Reply {
        std::vector<uint8_t> frame;  // empty: no reply at all
        int64_t delayUs = 0;
    };

    void onFrame(std::span<const uint8_t> frame, int64_t atUs, ByteQueue& out);
    void schedule(const std::vector<uint8_t>& bytes, int64_t startUs, ByteQueue& out);
    // With pacing: when a byte starting no earlier than `fromUs` has fully crossed a line
    // that is free from `freeTicks` (microseconds × baud, so bit times stay exact).
    int64_t pacedByte(int64_t fromUs, int64_t& freeTicks) const;
    void serviceKeepAlive(int64_t nowUs);

    // Command handlers (varbox_commands.cpp).
    Reply dispatch(uint8_t command, std::span<const uint8_t> data, int64_t atUs);
    Reply loaderCommand(uint8_t command, std::span<const uint8_t> data);
    Reply driverCommand(uint8_t command, std::span<const uint8_t> data, int64_t atUs);
    Reply ecuMessage(std::span<const uint8_t> data, int64_t atUs);
    Reply configure(std::span<const uint8_t> data, int64_t atUs);
    Reply connectionStateReply() const;
    Reply nameReply() const;
    Reply reply(uint8_t command, std::span<const uint8_t> data) const;
    Reply refused(uint8_t command) const;
    static Reply noAnswer(int64_t delayUs = 0);
    void stopDriver();
    void dropConnection();
    void resetBox(int64_t atUs);

    Scenario scenario_;
    FrameReader reader_;
    FaultPlan faults_;
    DriverMemory memory_;
    RegisterFile regs_;
    bool running_;
    std::array<uint8_t, 40> config_;
    uint8_t state_ = 0;
    int selected_ = -1;
    std::vector<uint8_t> keepAlive_;
    bool keepAliveOn_ = false;
    int64_t nextKeepAliveUs_ = 0;
    uint64_t keepAlivesSent_ = 0;
    int64_t busyUntilUs_ = 0;
    int64_t inFreeTicks_ = 0;  // when the host's last byte has fully arrived
    int64_t outFreeUs_ = 0;    // when the box's last byte has fully left
    int64_t outFreeTicks_ = 0;
    bool hungUp_ = false;
    bool comesBack_ = false;
    uint64_t framesReceived_ = 0;
    std::deque<std::vector<uint8_t>> frames_;
    size_t frameLogBytes_ = 0;
    std::deque<RegisterWrite> regWrites_;
};

}  // namespace corvan::sim
