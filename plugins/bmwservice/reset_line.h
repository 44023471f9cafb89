#pragma once
// The reset line of a BMW: an output of the box driven through its registers. Register 0x08
// holds the inputs (bit 0x10 the looped-back one; bit 0x20 set while the loop is checked),
// 0x10 the outputs (0x01 and 0x08 the two candidates for the reset line, 0x02 the test
// output). Which candidate the car's connector reaches is found by the output check.
#include <array>
#include <cstdint>

#include "runtime/module_context.h"

namespace corvan::bmwservice {

inline constexpr uint8_t kInputs = 0x08, kOutputs = 0x10;
inline constexpr uint8_t kLoopInput = 0x10, kLoopSelect = 0x20, kTestOutput = 0x02;
inline constexpr uint8_t kOutputA = 0x01, kOutputB = 0x08;

// Register requests on the pumping exchange (4 attempts, 350 ms between reads, the mode text
// switching the retry question on). A request that gets no reply is followed as if it had
// succeeded: a read then gives byte 3 of whatever reply came last.
class RegisterLine {
  public:
    explicit RegisterLine(const ModuleContext& ctx) : ctx_(ctx) {}
    uint8_t read(uint8_t reg);
    // The reply's length (0: none came).
    int write(uint8_t reg, uint8_t value);
    void pause();  // the 10 ms the outputs take to settle
    std::span<const uint8_t> reply() const { return reply_; }

  private:
    int exchange(std::span<const uint8_t> request);

    const ModuleContext& ctx_;
    std::array<uint8_t, 64> reply_{};
};

// The output check: which candidate output the box's wiring loops back to the input.
// Returns kOutputA or kOutputB.
uint8_t checkResetOutput(RegisterLine& line);

}  // namespace corvan::bmwservice
