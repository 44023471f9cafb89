#include "sim/stateful_unit.h"

namespace corvan::sim {

std::vector<uint8_t> positiveAnswer(std::span<const uint8_t> request) {
    std::vector<uint8_t> out;
    if (request.empty()) return out;
    out.push_back(static_cast<uint8_t>(request[0] + 0x40));
    if (request.size() > 1) out.push_back(request[1]);
    return out;
}

std::vector<uint8_t> negativeAnswer(uint8_t service, uint8_t why) {
    return {0x7F, service, why};
}

ConnectResult UnitBase::connect(ConfigBytes config, int64_t nowUs) {
    return others_ ? others_->connect(config, nowUs) : ConnectResult{};
}

bool UnitBase::readCommon(const JsonNode& config) {
    int64_t ms = 0;
    if (!config.get("delayMs", ms, 0, 600000)) return false;
    delayUs_ = ms * 1000;
    if (!config.has("others")) return true;
    others_ = TableModel::fromJson(config["others"]);
    return others_ != nullptr;
}

EcuReply UnitBase::others(std::span<const uint8_t> message, int64_t nowUs) {
    return others_ ? others_->request(message, nowUs) : EcuReply::noAnswer(delayUs_);
}

bool requireHex(const JsonNode& config, const char* key, std::vector<uint8_t>& out, size_t min,
                size_t max) {
    if (!config.has(key)) return config.fail(std::string("missing \"") + key + "\"");
    if (!config.getHex(key, out)) return false;
    if (out.size() < min || out.size() > max)
        return config[key].fail("expected " + std::to_string(min) + " to " + std::to_string(max) +
                                " bytes");
    return true;
}

}  // namespace corvan::sim
