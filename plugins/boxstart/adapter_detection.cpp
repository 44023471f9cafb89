#include "plugins/boxstart/adapter_detection.h"

#include "plugins/boxstart/connection_config.h"
#include "runtime/commands.h"

namespace corvan::boxstart {

namespace {

constexpr uint8_t kInputs = 0x08;  // inputs, and bit 0x20 picks the loop to watch
constexpr uint8_t kOutputs = 0x10;
constexpr uint8_t kSelector = 0x11;
constexpr uint8_t kLoopInput = 0x10;  // input bit the looped-back outputs reach
constexpr int kSettleMs = 10;

class Registers {
  public:
    explicit Registers(BoxLink& link) : link_(link) {}

    // Data byte 0 of the reply; a read without reply leaves the byte of the reply before.
    uint8_t read(uint8_t reg) {
        link_.exchange(cmd::readRegisterRequest(reg), kRegisterExchange);
        return link_.at(3);
    }
    void write(uint8_t reg, uint8_t value) {
        link_.exchange(cmd::writeRegisterRequest(reg, value), kRegisterExchange);
    }
    void settle() { link_.sleepMs(kSettleMs); }
    bool inputLooped() { return (read(kInputs) & kLoopInput) != 0; }

  private:
    BoxLink& link_;
};

bool isCanAdapter(BoxLink& link) {
    const int length = link.exchange(cmd::probeAdapterRequest(), kRegisterExchange);
    return length > 0 && link.at(2) == cmd::kProbeAdapter && link.at(3) == 0;
}

// The OBD II cable loops the test output back while the input selector bit is set.
bool isObd2(Registers& r) {
    r.write(kInputs, r.read(kInputs) | 0x20);
    const uint8_t a = r.read(kOutputs) & 0x5F;
    r.write(kOutputs, a);
    r.settle();
    r.write(kOutputs, a & 0xFD);
    r.settle();
    if (r.inputLooped()) return false;
    r.write(kOutputs, (a & 0xFD) | 0x02);
    r.settle();
    if (!r.inputLooped()) return false;
    r.write(kOutputs, a & 0xF0);
    return true;
}

// The MB cable feeds output bit 0x80 back inverted while the selector bit is clear.
bool isMb(Registers& r) {
    r.write(kInputs, r.read(kInputs) & 0xDF);
    const uint8_t e = r.read(kOutputs);
    const uint8_t u = e & 0x5F;
    r.write(kOutputs, u);
    r.settle();
    r.write(kOutputs, u);
    r.settle();
    if (!r.inputLooped()) return false;
    r.write(kOutputs, static_cast<uint8_t>(u + 0x80));
    r.settle();
    if (r.inputLooped()) return false;
    r.write(kOutputs, e & 0x50);
    return true;
}

// The SAE cable shows output bit 0x20 as bit 0x80 while the selector has 0x80.
bool isSae(Registers& r) {
    r.write(kSelector, 0x80);
    const uint8_t f = r.read(kOutputs);
    r.settle();
    r.write(kOutputs, f & 0xDF);
    const uint8_t g = r.read(kOutputs);
    if (g & 0x80) return false;
    r.settle();
    r.write(kOutputs, g | 0x20);
    const uint8_t h = r.read(kOutputs);
    if (!(h & 0x80)) return false;
    r.write(kSelector, 0);
    r.write(kOutputs, h & 0xF0);
    return true;
}

// The Nissan cable shows the inverse of input bit 0x20 as output bit 0x20 while the
// selector has 0x20. `m` keeps the last value read from the outputs.
bool isNiss(Registers& r, uint8_t& m) {
    r.write(kSelector, 0x20);
    const uint8_t k = r.read(kInputs);
    r.settle();
    r.write(kInputs, k & 0xDF);
    m = r.read(kOutputs);
    if (!(m & 0x20)) return false;
    r.settle();
    r.write(kInputs, k | 0x20);
    m = r.read(kOutputs);
    if (m & 0x20) return false;
    r.write(kSelector, 0);
    r.write(kOutputs, m & 0xF0);
    return true;
}

}  // namespace

std::string DetectAdapter(BoxLink& link) {
    if (isCanAdapter(link)) return std::string(kAdapterCanyk);
    Registers r(link);
    if (isObd2(r)) return std::string(kAdapterObd2);
    if (isMb(r)) return std::string(kAdapterMb);
    if (isSae(r)) return std::string(kAdapterSae);
    uint8_t m = 0;
    if (isNiss(r, m)) return std::string(kAdapterNiss);
    r.write(kSelector, 0);
    r.write(kOutputs, m & 0xF0);
    return std::string(kAdapterKlia);
}

}  // namespace corvan::boxstart
