#include "sim/registers.h"

namespace corvan::sim {
namespace {

struct Named {
    Adapter adapter;
    const char* name;
};
constexpr Named kNames[] = {{Adapter::None, "none"},  {Adapter::Obd2, "OBDII"},
                            {Adapter::Mb, "MB"},      {Adapter::Sae, "SAE"},
                            {Adapter::Niss, "NISS"},  {Adapter::Klia, "KLIA"},
                            {Adapter::Canyk, "CANYK"}};

// Input bits of register 0x08 (never stored: they follow the wiring).
constexpr uint8_t kInputMask = 0x1E;
constexpr uint8_t kLoopInput = 0x10;   // the looped-back input
constexpr uint8_t kLoopSelect = 0x20;  // 0x08 bit 0x20 picks which loop is active

// Line-driver test: the low nibble of 0x10 selects a line by its cleared bit, a drive bit
// switches it on, and the line's input bit in 0x08 follows when the driver works.
struct Line {
    uint8_t select;
    uint8_t drive;
    uint8_t input;
};
constexpr Line kLines[4] = {
    {0x01, 0x20, 0x02},  // K
    {0x02, 0x20, 0x04},  // L
    {0x04, 0x80, 0x08},  // I
    {0x08, 0x80, 0x10},  // A
};

}  // namespace

const char* adapterName(Adapter a) {
    for (const Named& n : kNames)
        if (n.adapter == a) return n.name;
    return "none";
}

std::optional<Adapter> adapterFromName(const std::string& name) {
    for (const Named& n : kNames)
        if (name == n.name) return n.adapter;
    return std::nullopt;
}

RegisterFile::RegisterFile(Wiring wiring, std::array<uint8_t, 256> initial)
    : wiring_(wiring), initial_(initial), stored_(initial) {}

bool RegisterFile::outputLoop() const {
    return wiring_.outputLoop.value_or(wiring_.adapter == Adapter::Obd2);
}

uint8_t RegisterFile::inputs() const {
    const uint8_t in = stored_[kInputs];
    const uint8_t out = stored_[kOutputs];
    uint8_t bits = 0;
    if (stored_[kLineTest] == kLineTestOn) {
        for (size_t i = 0; i < 4; ++i) {
            const Line& l = kLines[i];
            if (wiring_.linesOk[i] && !(out & l.select) && (out & l.drive)) bits |= l.input;
        }
        return bits;
    }
    if (in & kLoopSelect) {
        if (wiring_.loopInputHeld || (outputLoop() && (out & 0x02))) bits |= kLoopInput;
    } else if (wiring_.adapter == Adapter::Mb && !(out & 0x80)) {
        // The MB cable inverts output bit 0x80 onto the input.
        bits |= kLoopInput;
    }
    return bits;
}

uint8_t RegisterFile::read(uint8_t reg) const {
    uint8_t v = stored_[reg];
    if (reg == kInputs) return uint8_t((v & ~kInputMask) | inputs());
    if (reg == kOutputs) {
        const uint8_t sel = stored_[kSelect];
        // The SAE cable feeds output 0x20 back as bit 0x80 while the selector has 0x80.
        if (wiring_.adapter == Adapter::Sae && (sel & 0x80))
            v = uint8_t((v & ~0x80) | ((v & 0x20) ? 0x80 : 0));
        // The Nissan cable feeds the inverse of 0x08 bit 0x20 back as bit 0x20 of the
        // outputs while the selector has 0x20.
        if (wiring_.adapter == Adapter::Niss && (sel & 0x20))
            v = uint8_t((v & ~0x20) | ((stored_[kInputs] & kLoopSelect) ? 0 : 0x20));
    }
    return v;
}

}  // namespace corvan::sim
