#include "sim/immobilizer_models.h"

#include <algorithm>

namespace corvan::sim {

namespace {

constexpr uint8_t kStartRoutine = 0x31, kKeyLearning = 0xC5;
constexpr uint8_t kWriteLocalId = 0x3B, kLearningEnd = 0xD2;
constexpr uint8_t kNissanClosing = 0x30;
constexpr uint8_t kOpelPin = 0x60, kOpelErase = 0x68, kOpelLearn = 0x69;
constexpr uint8_t kStopPeriodic = 0xAA, kReadDataById = 0x1A, kKeyCountId = 0x70;

bool equal(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool readIdentifier(const JsonNode& config, const char* key, std::array<uint8_t, 2>& out) {
    std::vector<uint8_t> bytes(out.begin(), out.end());
    if (!config.getHex(key, bytes)) return false;
    if (bytes.size() != 2) return config[key].fail("expected two bytes");
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

}  // namespace

// --- Renault -----------------------------------------------------------------------------

std::unique_ptr<RenaultImmobilizer> RenaultImmobilizer::fromJson(const JsonNode& config) {
    if (!config.expectObject() || !config.onlyKeys({"pin", "delayMs", "others"})) return nullptr;
    auto m = std::make_unique<RenaultImmobilizer>();
    std::vector<uint8_t> pin;
    if (!requireHex(config, "pin", pin, 2, 2) || !m->readCommon(config)) return nullptr;
    std::copy(pin.begin(), pin.end(), m->pin_.begin());
    return m;
}

EcuReply RenaultImmobilizer::request(std::span<const uint8_t> message, int64_t nowUs) {
    // Format byte 0x80 + data length, target, source, data; the box keeps the checksum.
    if (message.size() < 4 || (message[0] & 0xC0) != 0x80 ||
        size_t(message[0] & 0x3F) != message.size() - 3)
        return others(message, nowUs);
    const auto data = message.subspan(3);
    std::vector<uint8_t> out;
    if (data[0] == kStartRoutine && data.size() == 5 && data[1] == kKeyLearning) {
        learning_ = data[2] == 0x00 && data[3] == pin_[0] && data[4] == pin_[1];
        out = learning_ ? positiveAnswer(data) : negativeAnswer(kStartRoutine, reason::kInvalidKey);
    } else if (data[0] == kWriteLocalId && data.size() == 4 && data[1] == kLearningEnd) {
        out = learning_ ? positiveAnswer(data)
                        : negativeAnswer(kWriteLocalId, reason::kConditionsNotCorrect);
        if (learning_) ++sessions_;
        learning_ = false;
    } else {
        return others(message, nowUs);
    }
    // Back to the tester: target and source change places.
    std::vector<uint8_t> reply{static_cast<uint8_t>(0x80 | out.size()), message[2], message[1]};
    reply.insert(reply.end(), out.begin(), out.end());
    return answer(std::move(reply));
}

// --- Nissan ------------------------------------------------------------------------------

std::unique_ptr<NissanImmobilizer> NissanImmobilizer::fromJson(const JsonNode& config) {
    if (!config.expectObject() ||
        !config.onlyKeys({"start", "status", "pollsToEnd", "refuseStart", "delayMs", "others"}))
        return nullptr;
    auto m = std::make_unique<NissanImmobilizer>();
    if (!requireHex(config, "start", m->start_, 1, 99) ||
        !requireHex(config, "status", m->status_, 1, 99) ||
        !config.get("pollsToEnd", m->pollsToEnd_, 1, 100000) ||
        !config.get("refuseStart", m->refuseStart_) || !m->readCommon(config))
        return nullptr;
    return m;
}

uint8_t NissanImmobilizer::state() const {
    switch (phase_) {
        case Phase::Idle:
            return 0x00;
        case Phase::Coding:
            return 0x01;
        case Phase::Done:
            break;
    }
    return 0x02;
}

EcuReply NissanImmobilizer::request(std::span<const uint8_t> message, int64_t nowUs) {
    if (equal(message, start_)) {
        if (refuseStart_) return answer(negativeAnswer(start_[0], reason::kConditionsNotCorrect));
        phase_ = Phase::Coding;
        polls_ = 0;
        std::vector<uint8_t> out{0x01};
        const auto positive = positiveAnswer(message);
        out.insert(out.end(), positive.begin(), positive.end());
        return answer(std::move(out));
    }
    if (equal(message, status_)) {
        if (phase_ == Phase::Coding && ++polls_ >= pollsToEnd_) phase_ = Phase::Done;
        // The state is the third byte whatever the request's length.
        const std::vector<uint8_t> out{static_cast<uint8_t>(status_[0] + 0x40),
                                       status_.size() > 1 ? status_[1] : uint8_t{0}, state()};
        return answer(out);
    }
    if (message.size() == 1 && message[0] == kNissanClosing) {
        ++closings_;
        if (phase_ == Phase::Done) ++keys_;
        phase_ = Phase::Idle;
        return answer(positiveAnswer(message));
    }
    return others(message, nowUs);
}

// --- Opel on CAN -------------------------------------------------------------------------

std::unique_ptr<OpelCanImmobilizer> OpelCanImmobilizer::fromJson(const JsonNode& config) {
    if (!config.expectObject() || !config.onlyKeys({"pin", "keys", "maxKeys", "learnFaults",
                                                    "requestId", "replyId", "delayMs", "others"}))
        return nullptr;
    auto m = std::make_unique<OpelCanImmobilizer>();
    if (!config.has("pin")) {
        config.fail("missing \"pin\"");
        return nullptr;
    }
    if (!config.get("pin", m->pin_)) return nullptr;
    if (m->pin_.size() != 4) {
        config["pin"].fail("expected four characters");
        return nullptr;
    }
    if (!config.get("maxKeys", m->maxKeys_, 1, 16) || !config.get("keys", m->keys_, 0, 16) ||
        !readIdentifier(config, "requestId", m->requestId_) ||
        !readIdentifier(config, "replyId", m->replyId_) || !m->readCommon(config))
        return nullptr;
    if (m->keys_ > m->maxKeys_) {
        config["keys"].fail("more keys than maxKeys");
        return nullptr;
    }
    std::vector<uint8_t> faults;
    if (!config.getHex("learnFaults", faults)) return nullptr;
    m->learnFaults_.assign(faults.begin(), faults.end());
    return m;
}

EcuReply OpelCanImmobilizer::reply(std::vector<uint8_t> data) const {
    std::vector<uint8_t> out{replyId_[0], replyId_[1], static_cast<uint8_t>(data.size())};
    out.insert(out.end(), data.begin(), data.end());
    return answer(std::move(out));
}

std::vector<uint8_t> OpelCanImmobilizer::changeKeys(std::span<const uint8_t> data) {
    // Each PIN entry allows one change, made with the periodic data stopped.
    const bool unlocked = unlocked_, stopped = periodicStopped_;
    unlocked_ = periodicStopped_ = false;
    if (!unlocked) return negativeAnswer(kWriteLocalId, reason::kSecurityAccessDenied);
    if (!stopped) return negativeAnswer(kWriteLocalId, reason::kConditionsNotCorrect);
    if (data[1] == kOpelErase) {
        keys_ = 0;
        return positiveAnswer(data);
    }
    if (!learnFaults_.empty()) {
        const uint8_t why = learnFaults_.front();
        learnFaults_.pop_front();
        return negativeAnswer(kWriteLocalId, why);
    }
    if (keys_ >= maxKeys_) return negativeAnswer(kWriteLocalId, reason::kConditionsNotCorrect);
    ++keys_;
    return positiveAnswer(data);
}

std::vector<uint8_t> OpelCanImmobilizer::serve(std::span<const uint8_t> data) {
    if (data[0] == kWriteLocalId && data.size() == 6 && data[1] == kOpelPin) {
        unlocked_ = std::equal(pin_.begin(), pin_.end(), data.begin() + 2,
                               [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; });
        return unlocked_ ? positiveAnswer(data)
                         : negativeAnswer(kWriteLocalId, reason::kInvalidKey);
    }
    if (data[0] == kWriteLocalId && data.size() == 2 &&
        (data[1] == kOpelErase || data[1] == kOpelLearn))
        return changeKeys(data);
    if (data[0] == kReadDataById && data.size() == 2 && data[1] == kKeyCountId)
        return {static_cast<uint8_t>(kReadDataById + 0x40), kKeyCountId,
                static_cast<uint8_t>(keys_)};
    return {};
}

EcuReply OpelCanImmobilizer::request(std::span<const uint8_t> message, int64_t nowUs) {
    // Identifier, single-frame length, service bytes.
    if (message.size() < 4 || message[0] != requestId_[0] || message[1] != requestId_[1] ||
        message[2] != message.size() - 3)
        return others(message, nowUs);
    const auto data = message.subspan(3);
    // The unit confirms nothing when its periodic data stop.
    if (data.size() == 2 && data[0] == kStopPeriodic && data[1] == 0x00) {
        periodicStopped_ = true;
        return noAnswer();
    }
    std::vector<uint8_t> out = serve(data);
    if (out.empty()) return others(message, nowUs);
    return reply(std::move(out));
}

}  // namespace corvan::sim
