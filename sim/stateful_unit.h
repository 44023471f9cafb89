#pragma once
// Pieces the stateful unit models (immobilizers, airbag units) share: the answers of a
// KWP-style service (positive: the service identifier + 0x40; negative: 7F, the service,
// the reason), the reading of their common config keys, and the optional "others" table
// that answers whatever a model does not handle itself (identification, the connection).
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/json_node.h"
#include "sim/table_model.h"

namespace corvan::sim {

// Reasons of a negative answer the models give.
namespace reason {
constexpr uint8_t kConditionsNotCorrect = 0x22;
constexpr uint8_t kSecurityAccessDenied = 0x33;
constexpr uint8_t kInvalidKey = 0x35;
}  // namespace reason

// The service + 0x40 and the request's second byte (its identifier), when it has one.
std::vector<uint8_t> positiveAnswer(std::span<const uint8_t> request);
std::vector<uint8_t> negativeAnswer(uint8_t service, uint8_t why);

// The table under the key "others", the delay "delayMs"; neither is required.
class UnitBase : public EcuModel {
  public:
    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;

  protected:
    // Reads "delayMs" and "others" from `config`; false with the problem recorded.
    bool readCommon(const JsonNode& config);
    EcuReply answer(std::vector<uint8_t> bytes) const {
        return EcuReply::answer(std::move(bytes), delayUs_);
    }
    EcuReply noAnswer() const { return EcuReply::noAnswer(delayUs_); }
    // What the model does not know: the table's answer, or no answer without a table.
    EcuReply others(std::span<const uint8_t> message, int64_t nowUs);

  private:
    int64_t delayUs_ = 0;
    std::unique_ptr<TableModel> others_;
};

// A hex member that must be present and hold between `min` and `max` bytes.
bool requireHex(const JsonNode& config, const char* key, std::vector<uint8_t>& out, size_t min,
                size_t max);

}  // namespace corvan::sim
