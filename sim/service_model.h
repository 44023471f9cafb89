#pragma once
// A service unit: the control unit (usually the instrument cluster) that keeps the
// service-interval counters a workshop resets after a service. Its requests follow the
// usual KWP 2000 services:
//
//   21 id           read counter id        -> 61 id value...
//   31 id           reset counter id       -> 71 id        (the counter takes its reset value)
//   3B id value...  write counter id       -> 7B id        (a new interval)
//   27 01           ask for access         -> 67 01 seed
//   27 02 code...   give the access code   -> 67 02, or 7F 27 35 (wrong), 7F 27 36 (locked)
//
// Counters marked locked refuse 31 and 3B with 7F sid 33 until the access code was accepted
// in the same connection; three wrong codes lock the access until the connection drops.
// A reset or write is stored slowly: the counter keeps reading its old value for
// `settleReads` more reads, so a procedure has to read it back until it changes. Every other
// request goes to the unit's own table (identification, keep-alive, closing request); without
// one it is answered 7F sid 11 (service not supported).
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/table_model.h"

namespace corvan::sim {

struct ServiceCounter {
    std::vector<uint8_t> value;
    std::vector<uint8_t> resetValue;  // same length as value
    bool locked = false;
};

struct ServiceUnitConfig {
    std::map<uint8_t, ServiceCounter> counters;
    std::vector<uint8_t> accessCode;  // empty: the unit offers no access (27 not supported)
    int settleReads = 0;
    int64_t delayUs = 0;
};

class ServiceModel final : public EcuModel {
  public:
    static constexpr int kCodeAttempts = 3;

    ServiceModel(ServiceUnitConfig config, std::unique_ptr<TableModel> table);
    // nullptr with the problem recorded on `config` (or the node below it).
    static std::unique_ptr<ServiceModel> fromJson(const JsonNode& config);

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;
    void disconnected() override;

    // What the unit holds now (the stored value, whatever a read still reports).
    std::optional<std::vector<uint8_t>> counter(uint8_t id) const;
    bool accessGranted() const { return granted_; }
    int resets() const { return resets_; }
    int writes() const { return writes_; }

  private:
    struct Stored {
        ServiceCounter counter;
        std::vector<uint8_t> reported;  // what reads give while the store settles
        int settling = 0;
    };

    EcuReply readCounter(std::span<const uint8_t> message);
    EcuReply resetCounter(std::span<const uint8_t> message);
    EcuReply writeCounter(std::span<const uint8_t> message);
    EcuReply access(std::span<const uint8_t> message);
    EcuReply negative(uint8_t service, uint8_t code) const;
    EcuReply positive(std::vector<uint8_t> bytes) const;
    void store(Stored& s, std::vector<uint8_t> value);

    ServiceUnitConfig config_;
    std::unique_ptr<TableModel> table_;
    std::map<uint8_t, Stored> counters_;
    bool granted_ = false;
    int wrongCodes_ = 0;
    int resets_ = 0;
    int writes_ = 0;
};

}  // namespace corvan::sim
