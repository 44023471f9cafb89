#pragma once
// The box's registers and the wiring of the adapter cable behind them. Register 0x08 holds
// the inputs, 0x10 the outputs, 0x11 a selector and 0x09 the line-driver test switch. The
// cables differ in which output is looped back to which input, and that is all the host
// sees of them: the adapter detection, the BMW reset output check and the line-driver test
// read those loop-backs. Pure state, no time.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace corvan::sim {

enum class Adapter { None, Obd2, Mb, Sae, Niss, Klia, Canyk };

// "OBDII", "MB", "SAE", "NISS", "KLIA", "CANYK"; None is "none".
const char* adapterName(Adapter a);
std::optional<Adapter> adapterFromName(const std::string& name);

struct Wiring {
    Adapter adapter = Adapter::Obd2;
    // The test output (0x10 bit 0x02) loops back to input 0x08 bit 0x10 while 0x08 bit
    // 0x20 is set: the OBD II cable has it, and so has a BMW cable whose reset output
    // check then picks output 0x01 (without the loop the check picks output 0x08).
    std::optional<bool> outputLoop;  // default: adapter is OBD II
    // The looped-back input reads 1 whatever the test output does (a shorted input): the
    // BMW reset output check then stops at its first look and picks output 0x08.
    bool loopInputHeld = false;
    // Line drivers K, L, I, A: false makes the line fail the line-driver test.
    std::array<bool, 4> linesOk{true, true, true, true};
};

class RegisterFile {
  public:
    static constexpr uint8_t kInputs = 0x08, kLineTest = 0x09, kOutputs = 0x10, kSelect = 0x11;
    // The value register 0x09 holds while the box service program tests its line drivers.
    static constexpr uint8_t kLineTestOn = 0x3F;

    explicit RegisterFile(Wiring wiring = {}, std::array<uint8_t, 256> initial = {});

    // What a read request returns: the stored value with the looped-back inputs.
    uint8_t read(uint8_t reg) const;
    void write(uint8_t reg, uint8_t value) { stored_[reg] = value; }
    // Back to the power-up values (a box reset).
    void reset() { stored_ = initial_; }

    // The answer to the adapter probe: data byte 0 is 0 only for the CAN adapter.
    uint8_t probeAnswer() const { return wiring_.adapter == Adapter::Canyk ? 0x00 : 0x01; }
    const Wiring& wiring() const { return wiring_; }
    uint8_t stored(uint8_t reg) const { return stored_[reg]; }

  private:
    uint8_t inputs() const;
    bool outputLoop() const;

    Wiring wiring_;
    std::array<uint8_t, 256> initial_;
    std::array<uint8_t, 256> stored_;
};

}  // namespace corvan::sim
