#include "sim/service_model.h"

#include <algorithm>

namespace corvan::sim {
namespace {

constexpr uint8_t kRead = 0x21, kReset = 0x31, kWrite = 0x3B, kAccess = 0x27;
constexpr uint8_t kPositive = 0x40;  // added to the service of a positive answer
constexpr uint8_t kNotSupported = 0x11, kOutOfRange = 0x31, kBadLength = 0x13, kAccessDenied = 0x33,
                  kWrongCode = 0x35, kAttemptsExceeded = 0x36;
// The seed the unit sends with 67 01; the access code does not depend on it.
constexpr uint8_t kSeed[2] = {0x5A, 0xA5};
constexpr int64_t kMaxDelayMs = 60000;

bool parseCounter(const JsonNode& node, uint8_t& id, ServiceCounter& out) {
    if (!node.expectObject() || !node.onlyKeys({"id", "value", "reset", "locked"})) return false;
    std::optional<uint8_t> key;
    if (!node.getHexByte("id", key)) return false;
    if (!key) return node.fail("a counter needs an \"id\" (one hex byte)");
    id = *key;
    if (!node.getHex("value", out.value) || !node.getHex("reset", out.resetValue) ||
        !node.get("locked", out.locked))
        return false;
    if (out.value.empty()) return node["value"].fail("a counter needs at least one byte");
    if (!node.has("reset")) out.resetValue = out.value;
    if (out.resetValue.size() != out.value.size())
        return node["reset"].fail("expected " + std::to_string(out.value.size()) + " bytes");
    return true;
}

}  // namespace

ServiceModel::ServiceModel(ServiceUnitConfig config, std::unique_ptr<TableModel> table)
    : config_(std::move(config)), table_(std::move(table)) {
    for (const auto& [id, c] : config_.counters) counters_[id] = Stored{c, c.value, 0};
}

std::unique_ptr<ServiceModel> ServiceModel::fromJson(const JsonNode& config) {
    if (!config.expectObject()) return nullptr;
    if (!config.onlyKeys({"counters", "accessCode", "settleReads", "delayMs", "table"}))
        return nullptr;
    ServiceUnitConfig c;
    int64_t settle = 0, delayMs = 0;
    if (!config.getHex("accessCode", c.accessCode) || !config.get("settleReads", settle, 0, 1000) ||
        !config.get("delayMs", delayMs, 0, kMaxDelayMs))
        return nullptr;
    c.settleReads = int(settle);
    c.delayUs = delayMs * 1000;
    const JsonNode list = config["counters"];
    if (list.present()) {
        if (!list.expectArray()) return nullptr;
        for (size_t i = 0; i < list.size(); ++i) {
            uint8_t id = 0;
            ServiceCounter counter;
            if (!parseCounter(list.at(i), id, counter)) return nullptr;
            if (c.counters.count(id)) {
                list.at(i)["id"].fail("counter listed twice");
                return nullptr;
            }
            c.counters[id] = std::move(counter);
        }
    }
    std::unique_ptr<TableModel> table;
    if (config.has("table")) {
        table = TableModel::fromJson(config["table"]);
        if (!table) return nullptr;
    }
    return std::make_unique<ServiceModel>(std::move(c), std::move(table));
}

ConnectResult ServiceModel::connect(ConfigBytes config, int64_t nowUs) {
    return table_ ? table_->connect(config, nowUs) : ConnectResult{};
}

void ServiceModel::disconnected() {
    // The access lasts as long as the connection it was given in.
    granted_ = false;
    wrongCodes_ = 0;
}

EcuReply ServiceModel::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (!message.empty()) {
        switch (message[0]) {
            case kRead:
                return readCounter(message);
            case kReset:
                return resetCounter(message);
            case kWrite:
                return writeCounter(message);
            case kAccess:
                if (!config_.accessCode.empty()) return access(message);
                break;
            default:
                break;
        }
    }
    if (table_) return table_->request(message, nowUs);
    return negative(message.empty() ? 0 : message[0], kNotSupported);
}

EcuReply ServiceModel::readCounter(std::span<const uint8_t> message) {
    const auto it = message.size() == 2 ? counters_.find(message[1]) : counters_.end();
    if (it == counters_.end()) return negative(kRead, kOutOfRange);
    Stored& s = it->second;
    std::vector<uint8_t> answer{uint8_t(kRead + kPositive), message[1]};
    answer.insert(answer.end(), s.reported.begin(), s.reported.end());
    if (s.settling > 0 && --s.settling == 0) s.reported = s.counter.value;
    return positive(std::move(answer));
}

EcuReply ServiceModel::resetCounter(std::span<const uint8_t> message) {
    const auto it = message.size() == 2 ? counters_.find(message[1]) : counters_.end();
    if (it == counters_.end()) return negative(kReset, kOutOfRange);
    Stored& s = it->second;
    if (s.counter.locked && !granted_) return negative(kReset, kAccessDenied);
    store(s, s.counter.resetValue);
    ++resets_;
    return positive({uint8_t(kReset + kPositive), message[1]});
}

EcuReply ServiceModel::writeCounter(std::span<const uint8_t> message) {
    const auto it = message.size() >= 2 ? counters_.find(message[1]) : counters_.end();
    if (it == counters_.end()) return negative(kWrite, kOutOfRange);
    Stored& s = it->second;
    if (message.size() != 2 + s.counter.value.size()) return negative(kWrite, kBadLength);
    if (s.counter.locked && !granted_) return negative(kWrite, kAccessDenied);
    store(s, std::vector<uint8_t>(message.begin() + 2, message.end()));
    ++writes_;
    return positive({uint8_t(kWrite + kPositive), message[1]});
}

EcuReply ServiceModel::access(std::span<const uint8_t> message) {
    if (message.size() == 2 && message[1] == 0x01)
        return positive({uint8_t(kAccess + kPositive), 0x01, kSeed[0], kSeed[1]});
    if (message.size() < 2 || message[1] != 0x02) return negative(kAccess, kOutOfRange);
    if (wrongCodes_ >= kCodeAttempts) return negative(kAccess, kAttemptsExceeded);
    const std::span<const uint8_t> code = message.subspan(2);
    if (std::equal(code.begin(), code.end(), config_.accessCode.begin(),
                   config_.accessCode.end())) {
        granted_ = true;
        return positive({uint8_t(kAccess + kPositive), 0x02});
    }
    ++wrongCodes_;
    return negative(kAccess, wrongCodes_ >= kCodeAttempts ? kAttemptsExceeded : kWrongCode);
}

void ServiceModel::store(Stored& s, std::vector<uint8_t> value) {
    s.counter.value = std::move(value);
    s.settling = config_.settleReads;
    if (s.settling == 0) s.reported = s.counter.value;
}

std::optional<std::vector<uint8_t>> ServiceModel::counter(uint8_t id) const {
    const auto it = counters_.find(id);
    if (it == counters_.end()) return std::nullopt;
    return it->second.counter.value;
}

EcuReply ServiceModel::negative(uint8_t service, uint8_t code) const {
    return EcuReply::answer({0x7F, service, code}, config_.delayUs);
}

EcuReply ServiceModel::positive(std::vector<uint8_t> bytes) const {
    return EcuReply::answer(std::move(bytes), config_.delayUs);
}

}  // namespace corvan::sim
