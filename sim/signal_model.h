#pragma once
// An ECU whose measured values move: named signals follow a course over the simulator's
// clock (constant, ramp, sine, noise with a fixed seed, steps), and answers to the live-data
// requests carry their current values encoded into reply bytes. Requests no answer matches
// go to a base model (a "table" with the ECU's other services), or get no answer.
//
// Signals start when the ECU hears its first message (connection, request or keep-alive),
// so a session sees the same course on the virtual clock and in real time.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/hex_pattern.h"

namespace corvan::sim {

struct Signal {
    enum class Kind { Constant, Ramp, Sine, Noise, Steps };
    std::string name;
    Kind kind = Kind::Constant;
    double value = 0;          // constant
    double from = 0, to = 0;   // ramp
    double durationMs = 1000;  // ramp
    bool repeat = false;       // ramp: start over; steps: (default true) cycle the values
    double mean = 0, amplitude = 0, periodMs = 1000, phaseDeg = 0;  // sine
    double spread = 0, holdMs = 200;                                // noise (mean too)
    uint64_t seed = 1;                                              // noise
    std::vector<double> values;                                     // steps
    double stepMs = 1000;                                           // steps

    // The signal's value `ms` milliseconds after the start.
    double at(double ms) const;
};

// One signal written into reply bytes: raw = round((value - offset) / scale), clamped to
// what `bytes` bytes hold (two's complement when signed), high byte first.
struct SignalField {
    size_t at = 0;
    size_t signal = 0;  // index into the model's signals
    int bytes = 1;
    double scale = 1, offset = 0;
    bool isSigned = false;
};

struct SignalAnswer {
    BytePattern request;
    BytePattern reply;  // fixed bytes; "??" and "$k" copy request bytes
    std::vector<SignalField> fields;
    int64_t delayUs = 0;
};

// The bytes of one field's raw value.
std::vector<uint8_t> encodeField(const SignalField& field, double value);

class SignalModel final : public EcuModel {
  public:
    SignalModel(std::vector<Signal> signals, std::vector<SignalAnswer> answers,
                std::unique_ptr<EcuModel> base);
    // nullptr with the problem recorded on `config`; `models` makes the base model.
    static std::unique_ptr<SignalModel> fromJson(const JsonNode& config,
                                                 const EcuModelRegistry& models);

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;
    void keepAlive(std::span<const uint8_t> message, int64_t nowUs) override;
    void disconnected() override;

    const std::vector<Signal>& signals() const { return signals_; }

  private:
    double elapsedMs(int64_t nowUs);

    std::vector<Signal> signals_;
    std::vector<SignalAnswer> answers_;
    std::unique_ptr<EcuModel> base_;
    int64_t startUs_ = -1;
};

}  // namespace corvan::sim
