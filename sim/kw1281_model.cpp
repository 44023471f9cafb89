#include "sim/kw1281_model.h"

#include "sim/kw1281_block.h"
#include "sim/table_model.h"

namespace corvan::sim {

namespace {
constexpr int64_t kMaxSessionTimeoutMs = 3600000;
}  // namespace

Kw1281Unit::Kw1281Unit(Config config, Kw1281Measuring measuring)
    : config_(std::move(config)), measuring_(std::move(measuring)) {}

std::unique_ptr<Kw1281Unit> Kw1281Unit::fromJson(const JsonNode& node) {
    if (!node.expectObject()) return nullptr;
    if (!node.onlyKeys({"connect", "delayMs", "sessionTimeoutMs", "measuring"})) return nullptr;
    Config c;
    if (!readDelay(node, c.delayUs) || !parseConnect(node["connect"], c.onConnect)) return nullptr;
    int64_t timeoutMs = 0;
    if (!node.get("sessionTimeoutMs", timeoutMs, 0, kMaxSessionTimeoutMs)) return nullptr;
    c.sessionTimeoutUs = timeoutMs * 1000;
    std::optional<Kw1281Measuring> measuring = Kw1281Measuring::fromJson(node["measuring"]);
    if (!measuring) return nullptr;
    return std::make_unique<Kw1281Unit>(std::move(c), std::move(*measuring));
}

ConnectResult Kw1281Unit::connect(ConfigBytes, int64_t nowUs) {
    open_ = config_.onConnect.connected;
    lastBlockUs_ = nowUs;
    counter_ = 0;
    measuring_.reset();
    return config_.onConnect;
}

void Kw1281Unit::disconnected() {
    open_ = false;
    measuring_.reset();
}

bool Kw1281Unit::stillOpen(int64_t nowUs) {
    if (!open_) return false;
    if (config_.sessionTimeoutUs > 0 && nowUs - lastBlockUs_ > config_.sessionTimeoutUs) {
        disconnected();
        return false;
    }
    lastBlockUs_ = nowUs;
    return true;
}

std::vector<uint8_t> Kw1281Unit::answer(uint8_t title, std::span<const uint8_t> data) {
    // The counter runs over the blocks of both sides: the host's block, then this answer.
    counter_ = uint8_t(counter_ + 2);
    return kw1281::answerBlock(counter_, title, data);
}

EcuReply Kw1281Unit::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (!stillOpen(nowUs)) return EcuReply::noAnswer();
    if (kw1281::blockTitle(message) == kw1281::kEndOfSession) {
        disconnected();
        return EcuReply::noAnswer(config_.delayUs);
    }
    if (auto a = measuring_.handle(message, nowUs))
        return EcuReply::answer(answer(a->title, a->data), config_.delayUs);
    return EcuReply::answer(answer(kw1281::kRefused, {}), config_.delayUs);
}

void Kw1281Unit::keepAlive(std::span<const uint8_t> message, int64_t nowUs) {
    if (!stillOpen(nowUs)) return;
    ++keepAlives_;
    // The unit answers the box; the answer stays in the box.
    measuring_.handle(message, nowUs);
}

}  // namespace corvan::sim
