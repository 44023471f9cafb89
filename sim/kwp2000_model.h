#pragma once
// A KWP 2000 engine unit with a memory: stored trouble codes (present and intermittent),
// the on-board self-test routine that leaves the codes it finds behind, the erase service
// that clears them, and the actuator test routine stepping through a list of actuators.
// Every other request is answered by a table of rules, as the "table" model answers, so
// the unit also gives its identification and whatever else a scenario writes down.
//
// Messages come with or without their KWP header. A message whose first byte carries the
// address-mode bits (0x80) and whose second byte is the unit's address is headed (format,
// target, source, data): the answer is headed too (format 0x80 + length, the tester as
// target, the unit as source, data, the additive check byte). Any other message is the
// service data alone and so is its answer.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/table_model.h"

namespace corvan::sim {

struct StoredCode {
    uint16_t code = 0;
    uint8_t status = 0;  // KWP status byte: 0x60 set = present, 0x20 alone = intermittent
    bool operator==(const StoredCode&) const = default;
};

struct ActuatorStep {
    uint16_t code = 0;   // 0: the routine is not on an actuator yet
    int64_t busyUs = 0;  // how long the unit drives it once told to
};

struct Kwp2000Config {
    uint8_t address = 0x10;
    int64_t delayUs = 0;
    std::vector<StoredCode> codes;
    // Self-test: the codes each routine (0x81 engine stopped, 0x82 running) finds.
    std::map<uint8_t, std::vector<uint16_t>> testFinds;
    uint8_t testStatus = 0xE0;   // status of the codes the test leaves
    int64_t resultsAfterUs = 0;  // results asked for sooner after the start are refused
    bool refuseTest = false;
    std::vector<uint8_t> commonId0200 = {0x00};  // data of "read by common identifier 0200"
    bool refuseErase = false;
    std::vector<ActuatorStep> actuators;
    uint16_t endCode = 1195;  // reported once the list is done
    bool refuseActuators = false;
};

class Kwp2000Model final : public EcuModel {
  public:
    Kwp2000Model(Kwp2000Config config, std::unique_ptr<TableModel> table);
    // nullptr with the problem recorded on `config` (or the node below it).
    static std::unique_ptr<Kwp2000Model> fromJson(const JsonNode& config);

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;
    // The session ends: a running self-test or actuator test stops; the memory stays.
    void disconnected() override;

    const std::vector<StoredCode>& storedCodes() const { return codes_; }

  private:
    using Data = std::vector<uint8_t>;
    std::optional<Data> service(std::span<const uint8_t> data, int64_t nowUs);
    Data readCodes() const;
    Data erase(std::span<const uint8_t> data);
    std::optional<Data> selfTest(std::span<const uint8_t> data, int64_t nowUs);
    std::optional<Data> actuatorRoutine(std::span<const uint8_t> data, int64_t nowUs);
    uint16_t currentActuator() const;
    void store(uint16_t code, uint8_t status);

    Kwp2000Config config_;
    std::unique_ptr<TableModel> table_;
    std::vector<StoredCode> codes_;

    std::optional<uint8_t> testRoutine_;  // the self-test routine started and not read yet
    int64_t testStartUs_ = 0;

    bool actuatorsRunning_ = false;
    size_t step_ = 0;
    bool driving_ = false;
    int64_t driveStartUs_ = 0;
};

}  // namespace corvan::sim
