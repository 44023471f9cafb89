#pragma once
// The generic ECU: a table of rules from request bytes to what the ECU does. The first rule
// whose request pattern matches answers; a rule may hold a sequence of responses for
// repeated requests (staying on the last one, or starting over). Requests no rule matches
// get the table's default response ("no answer" unless the scenario says otherwise).
#include <memory>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/hex_pattern.h"

namespace corvan::sim {

struct TableResponse {
    EcuReply::Kind kind = EcuReply::Kind::NoAnswer;
    BytePattern reply;  // for Answer; "??" copies the request byte at that position
    int64_t delayUs = 0;
};

struct TableRule {
    BytePattern request;
    std::vector<TableResponse> responses;  // never empty
    bool cycle = false;                    // after the last response start over
};

// Config readers the models share: the "delayMs" member of `node` (0 to 600000 ms) into
// `delayUs`, left unchanged when absent; and the "connect" object ({"reply": hex,
// "refuse": true, "delayMs": n}; absent: connected without answer bytes).
bool readDelay(const JsonNode& node, int64_t& delayUs);
bool parseConnect(const JsonNode& node, ConnectResult& out);

class TableModel final : public EcuModel {
  public:
    TableModel(std::vector<TableRule> rules, TableResponse fallback, ConnectResult onConnect);
    // nullptr with the problem recorded on `config` (or the node below it).
    static std::unique_ptr<TableModel> fromJson(const JsonNode& config);

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;

    // How often each rule answered (same order as the rules); for tests and traces.
    const std::vector<int>& hits() const { return hits_; }

  private:
    EcuReply respond(const TableResponse& r, std::span<const uint8_t> message) const;

    std::vector<TableRule> rules_;
    std::vector<size_t> next_;  // position in each rule's sequence
    std::vector<int> hits_;
    TableResponse fallback_;
    ConnectResult onConnect_;
};

}  // namespace corvan::sim
