#include "sim/airbag_models.h"

#include <algorithm>

namespace corvan::sim {

namespace {

constexpr uint8_t kCodingService = 0x84;
constexpr uint8_t kCodingPrefix[] = {kCodingService, 0xBB, 0xA4};

bool equal(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

bool StatusByte::read(const JsonNode& config) {
    int64_t p = 0, bit = 0;
    if (!requireHex(config, "status", request, 1, 99) ||
        !requireHex(config, "statusReply", reply, 1, 250) || !config.get("pos", p, 0, 249) ||
        !config.get("bit", bit, 0, 7))
        return false;
    if (size_t(p) >= reply.size()) return config["pos"].fail("beyond the status reply");
    pos = size_t(p);
    mask = static_cast<uint8_t>(1u << bit);
    return true;
}

std::vector<uint8_t> StatusByte::answer(bool bitSet) const {
    std::vector<uint8_t> out = reply;
    out[pos] = static_cast<uint8_t>(bitSet ? out[pos] | mask : out[pos] & ~mask);
    return out;
}

std::unique_ptr<RenaultAirbag> RenaultAirbag::fromJson(const JsonNode& config) {
    if (!config.expectObject() || !config.onlyKeys({"status", "statusReply", "pos", "bit", "on",
                                                    "off", "locked", "delayMs", "others"}))
        return nullptr;
    auto m = std::make_unique<RenaultAirbag>();
    if (!m->status_.read(config) || !requireHex(config, "on", m->on_, 1, 99) ||
        !requireHex(config, "off", m->off_, 1, 99) || !config.get("locked", m->locked_) ||
        !m->readCommon(config))
        return nullptr;
    return m;
}

EcuReply RenaultAirbag::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (equal(message, status_.request)) return answer(status_.answer(locked_));
    const bool on = equal(message, on_);
    if (on || equal(message, off_)) {
        locked_ = !on;
        ++switches_;
        return answer(positiveAnswer(message));
    }
    return others(message, nowUs);
}

std::unique_ptr<PsaAirbag> PsaAirbag::fromJson(const JsonNode& config) {
    if (!config.expectObject() || !config.onlyKeys({"status", "statusReply", "pos", "bit", "coded",
                                                    "configPos", "delayMs", "others"}))
        return nullptr;
    auto m = std::make_unique<PsaAirbag>();
    if (!m->status_.read(config) || !config.get("coded", m->coded_) || !m->readCommon(config))
        return nullptr;
    if (config.has("configPos")) {
        int64_t p = 0;
        if (!config.get("configPos", p, 0, int64_t(m->status_.reply.size()) - 1)) return nullptr;
        if (size_t(p) == m->status_.pos) {
            config["configPos"].fail("the status byte's place");
            return nullptr;
        }
        m->configPos_ = p;
    }
    return m;
}

EcuReply PsaAirbag::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (equal(message, status_.request)) {
        std::vector<uint8_t> out = status_.answer(coded_);
        if (configPos_ && configuration_) out[size_t(*configPos_)] = *configuration_;
        return answer(std::move(out));
    }
    if (message.size() > std::size(kCodingPrefix) &&
        equal(message.first(std::size(kCodingPrefix)), kCodingPrefix)) {
        ++codingRequests_;
        lastCoding_.assign(message.begin(), message.end());
        // Coded once: the unit keeps its first configuration.
        if (coded_) return answer(negativeAnswer(kCodingService, reason::kConditionsNotCorrect));
        coded_ = true;
        configuration_ = message[std::size(kCodingPrefix)];
        return answer({static_cast<uint8_t>(kCodingService + 0x40), *configuration_});
    }
    return others(message, nowUs);
}

}  // namespace corvan::sim
