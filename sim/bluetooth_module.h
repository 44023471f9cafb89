#pragma once
// The terminal's Bluetooth serial module in front of the box. Until it is linked it is in
// command mode: it reads AT commands from the host's bytes and answers them (version and
// settings, mode, restart, inquiry of the devices in range ended by "EOI", stop of the
// inquiry, the device to pair with and its PIN). Once linked it passes every byte both ways
// between the host and the box, as the real module does; AT commands then reach the box as
// garbage and go unanswered.
//
//     Varbox box(std::move(scenario));
//     BluetoothModule module(config, box, scenario timing);
//     MemoryPort port(clock, module);
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/memory_port.h"
#include "sim/bluetooth_config.h"
#include "sim/scenario.h"

namespace corvan::sim {

class BluetoothModule final : public ByteDevice {
  public:
    BluetoothModule(BluetoothConfig config, ByteDevice& box, TimingConfig timing = {});

    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override;
    void poll(int64_t nowUs, ByteQueue& out) override;
    bool hungUp() const override { return box_.hungUp(); }
    int64_t takenAtUs(int64_t nowUs) const override {
        return std::max(linked_ ? box_.takenAtUs(nowUs) : nowUs, inFreeUs_);
    }

    bool linked() const { return linked_; }
    int mode() const { return mode_; }
    const std::string& remote() const { return remote_; }
    const std::string& pin() const { return pin_; }
    // The AT commands heard in command mode, without "AT+" and the carriage return
    // ("ZM3", "ZI15,L", "ZA0012F3A1B2C4", "ZE").
    const std::vector<std::string>& commands() const { return heard_; }

  private:
    void update(int64_t nowUs);
    void onByte(uint8_t byte, int64_t atUs, ByteQueue& out);
    void execute(const std::string& command, int64_t atUs, ByteQueue& out);
    void answer(std::string_view text, int64_t atUs, ByteQueue& out);
    bool inRange(std::string_view address) const;
    bool pairingGood() const;
    int64_t byteUs() const;

    BluetoothConfig config_;
    ByteDevice& box_;
    TimingConfig timing_;
    bool linked_;
    int mode_;
    std::string remote_, pin_;
    std::string line_;           // the command being received
    int64_t deafUntilUs_ = 0;    // restarting
    int64_t linkAtUs_ = -1;      // the link comes up then (-1: not coming)
    int64_t inquiryEndUs_ = -1;  // an inquiry runs until then
    int64_t inFreeUs_ = 0, outFreeUs_ = 0;
    std::vector<std::string> heard_;
};

}  // namespace corvan::sim
