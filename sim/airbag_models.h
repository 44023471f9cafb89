#pragma once
// Airbag units whose status request answers a status byte with one bit that matters:
//
// - "renault-airbag": the bit is set while the passenger airbag is switched off (locked);
//   the "on" request clears it, the "off" request sets it.
// - "psa-airbag": the bit is set once the unit is coded; the coding request (84 BB A4, the
//   configuration byte, and whatever the tester adds) codes it once and is refused after.
//
// The status answer is the configured reply with the bit put into its byte at "pos" (the
// position the data call POS). The scenario keys are in docs/simulator.md.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "sim/stateful_unit.h"

namespace corvan::sim {

// The status request and its answer, shared by both kinds of unit.
struct StatusByte {
    std::vector<uint8_t> request, reply;
    size_t pos = 0;
    uint8_t mask = 0x01;

    // "status", "statusReply", "pos", "bit".
    bool read(const JsonNode& config);
    std::vector<uint8_t> answer(bool bitSet) const;
};

class RenaultAirbag final : public UnitBase {
  public:
    static std::unique_ptr<RenaultAirbag> fromJson(const JsonNode& config);
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    bool passengerLocked() const { return locked_; }
    int switches() const { return switches_; }

  private:
    StatusByte status_;
    std::vector<uint8_t> on_, off_;
    bool locked_ = false;
    int switches_ = 0;
};

class PsaAirbag final : public UnitBase {
  public:
    static std::unique_ptr<PsaAirbag> fromJson(const JsonNode& config);
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    bool coded() const { return coded_; }
    int codingRequests() const { return codingRequests_; }
    std::optional<uint8_t> configuration() const { return configuration_; }
    // The whole coding message of the last request, as the unit received it.
    const std::vector<uint8_t>& lastCoding() const { return lastCoding_; }

  private:
    StatusByte status_;
    std::optional<int64_t> configPos_;  // where the status answer shows the configuration
    bool coded_ = false;
    int codingRequests_ = 0;
    std::optional<uint8_t> configuration_;
    std::vector<uint8_t> lastCoding_;
};

}  // namespace corvan::sim
