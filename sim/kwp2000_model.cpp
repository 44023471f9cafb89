#include "sim/kwp2000_model.h"

namespace corvan::sim {

namespace {

constexpr uint8_t kNegative = 0x7F;
constexpr uint8_t kPositive = 0x40;  // added to the service byte of a positive answer
constexpr uint8_t kConditionsNotCorrect = 0x22;
constexpr uint8_t kSequenceError = 0x24;

// Services and routines this unit runs itself.
constexpr uint8_t kReadCodesByStatus = 0x18;
constexpr uint8_t kClearCodes = 0x14;
constexpr uint8_t kReadByCommonId = 0x22;
constexpr uint8_t kStartRoutine = 0x31;
constexpr uint8_t kStopRoutine = 0x32;
constexpr uint8_t kRoutineResults = 0x33;
constexpr uint8_t kTestEngineStopped = 0x81, kTestEngineRunning = 0x82;
constexpr uint8_t kActuatorTest = 0xB8, kActuatorAdvance = 0xB9, kActuatorRead = 0xBA;

std::vector<uint8_t> negative(uint8_t service, uint8_t code) {
    return {kNegative, service, code};
}

bool isSelfTestRoutine(uint8_t r) {
    return r == kTestEngineStopped || r == kTestEngineRunning;
}

struct Unframed {
    bool headed = false;
    uint8_t tester = 0;
    std::span<const uint8_t> data;
};

Unframed unframe(std::span<const uint8_t> message, uint8_t address) {
    if (message.size() < 4 || !(message[0] & 0x80) || message[1] != address)
        return {false, 0, message};
    // The format byte counts the data; a count of 0 means a length byte follows. A count
    // beyond the message (some testers write one more) takes what is there.
    size_t from = 3, count = message[0] & 0x3F;
    if (count == 0) count = message[from++];
    count = std::min(count, message.size() - std::min(from, message.size()));
    return {true, message[2], message.subspan(from, count)};
}

std::vector<uint8_t> frame(const std::vector<uint8_t>& data, uint8_t tester, uint8_t address) {
    std::vector<uint8_t> out;
    if (data.size() <= 0x3F) {
        out = {static_cast<uint8_t>(0x80 | data.size()), tester, address};
    } else {
        out = {0x80, tester, address, static_cast<uint8_t>(std::min<size_t>(data.size(), 255))};
    }
    out.insert(out.end(), data.begin(), data.begin() + std::min<size_t>(data.size(), 255));
    uint8_t sum = 0;
    for (uint8_t b : out) sum = static_cast<uint8_t>(sum + b);
    out.push_back(sum);
    return out;
}

}  // namespace

Kwp2000Model::Kwp2000Model(Kwp2000Config config, std::unique_ptr<TableModel> table)
    : config_(std::move(config)), table_(std::move(table)), codes_(config_.codes) {}

ConnectResult Kwp2000Model::connect(ConfigBytes config, int64_t nowUs) {
    return table_->connect(config, nowUs);
}

void Kwp2000Model::disconnected() {
    testRoutine_.reset();
    actuatorsRunning_ = false;
}

EcuReply Kwp2000Model::request(std::span<const uint8_t> message, int64_t nowUs) {
    const Unframed m = unframe(message, config_.address);
    if (auto answer = service(m.data, nowUs))
        return EcuReply::answer(m.headed ? frame(*answer, m.tester, config_.address) : *answer,
                                config_.delayUs);
    EcuReply r = table_->request(m.data, nowUs);
    if (m.headed && r.kind == EcuReply::Kind::Answer)
        r.bytes = frame(r.bytes, m.tester, config_.address);
    return r;
}

std::optional<Kwp2000Model::Data> Kwp2000Model::service(std::span<const uint8_t> data,
                                                        int64_t nowUs) {
    if (data.empty()) return std::nullopt;
    switch (data[0]) {
        case kReadCodesByStatus:
            return readCodes();
        case kClearCodes:
            return erase(data);
        case kReadByCommonId:
            if (data.size() >= 3 && data[1] == 0x02 && data[2] == 0x00) {
                Data d = {kReadByCommonId + kPositive, 0x02, 0x00};
                d.insert(d.end(), config_.commonId0200.begin(), config_.commonId0200.end());
                return d;
            }
            return std::nullopt;
        case kStartRoutine:
        case kStopRoutine:
        case kRoutineResults:
            if (data.size() < 2) return std::nullopt;
            if (isSelfTestRoutine(data[1])) return selfTest(data, nowUs);
            return actuatorRoutine(data, nowUs);
        default:
            return std::nullopt;
    }
}

Kwp2000Model::Data Kwp2000Model::readCodes() const {
    // 58, the number of codes, then each code's two bytes and its status byte.
    const size_t n = std::min<size_t>(codes_.size(), 84);
    Data d = {kReadCodesByStatus + kPositive, static_cast<uint8_t>(n)};
    for (size_t i = 0; i < n; ++i) {
        d.push_back(static_cast<uint8_t>(codes_[i].code >> 8));
        d.push_back(static_cast<uint8_t>(codes_[i].code));
        d.push_back(codes_[i].status);
    }
    return d;
}

Kwp2000Model::Data Kwp2000Model::erase(std::span<const uint8_t> data) {
    if (config_.refuseErase) return negative(kClearCodes, kConditionsNotCorrect);
    codes_.clear();
    testRoutine_.reset();
    Data d = {kClearCodes + kPositive};
    d.insert(d.end(), data.begin() + 1, data.end());
    return d;
}

void Kwp2000Model::store(uint16_t code, uint8_t status) {
    for (StoredCode& c : codes_) {
        if (c.code == code) {
            c.status = status;
            return;
        }
    }
    codes_.push_back({code, status});
}

std::optional<Kwp2000Model::Data> Kwp2000Model::selfTest(std::span<const uint8_t> data,
                                                         int64_t nowUs) {
    const uint8_t service = data[0], routine = data[1];
    if (service == kStartRoutine) {
        if (config_.refuseTest) return negative(service, kConditionsNotCorrect);
        // Asked to start again while it runs, the unit goes on with the test it runs.
        if (testRoutine_ != routine) testStartUs_ = nowUs;
        testRoutine_ = routine;
        return Data{kStartRoutine + kPositive, routine};
    }
    if (testRoutine_ != routine) return negative(service, kSequenceError);
    if (service == kStopRoutine) return Data{kStopRoutine + kPositive, routine};
    // Results: the codes found, as pairs right after the service byte; they stay stored.
    if (nowUs - testStartUs_ < config_.resultsAfterUs)
        return negative(service, kConditionsNotCorrect);
    Data d = {kRoutineResults + kPositive};
    const auto found = config_.testFinds.find(routine);
    if (found != config_.testFinds.end()) {
        for (uint16_t code : found->second) {
            d.push_back(static_cast<uint8_t>(code >> 8));
            d.push_back(static_cast<uint8_t>(code));
            store(code, config_.testStatus);
        }
    }
    testRoutine_.reset();
    return d;
}

uint16_t Kwp2000Model::currentActuator() const {
    return step_ < config_.actuators.size() ? config_.actuators[step_].code : config_.endCode;
}

std::optional<Kwp2000Model::Data> Kwp2000Model::actuatorRoutine(std::span<const uint8_t> data,
                                                                int64_t nowUs) {
    const uint8_t service = data[0], routine = data[1];
    if (routine != kActuatorTest && routine != kActuatorAdvance && routine != kActuatorRead)
        return std::nullopt;
    if (service == kStopRoutine && routine == kActuatorTest) {
        actuatorsRunning_ = false;
        return Data{kStopRoutine + kPositive, routine};
    }
    if (service != kStartRoutine) return std::nullopt;
    if (routine == kActuatorTest) {
        if (config_.refuseActuators) return negative(service, kConditionsNotCorrect);
        // 31 B8 00 00 prepares, 31 B8 01 02 starts on the first step of the list.
        if (data.size() >= 3 && data[2] != 0x00) {
            actuatorsRunning_ = true;
            step_ = 0;
            driving_ = false;
        }
        return Data{kStartRoutine + kPositive, routine};
    }
    if (!actuatorsRunning_) return negative(service, kSequenceError);
    if (routine == kActuatorRead) {
        const uint16_t code = currentActuator();
        const bool busy = driving_ && step_ < config_.actuators.size() &&
                          nowUs - driveStartUs_ < config_.actuators[step_].busyUs;
        return Data{kStartRoutine + kPositive,
                    routine,
                    0x01,
                    0x02,
                    uint8_t(busy ? 1 : 0),
                    0x00,
                    static_cast<uint8_t>(code >> 8),
                    static_cast<uint8_t>(code)};
    }
    // Advance: the first one drives the actuator the unit is on, the next moves on. From
    // code 0 (not on an actuator yet) it moves to the first one and drives it at once.
    if (currentActuator() == 0 && step_ < config_.actuators.size()) {
        ++step_;
        driving_ = true;
    } else if (!driving_) {
        driving_ = true;
    } else {
        if (step_ < config_.actuators.size()) ++step_;
        driving_ = false;
    }
    driveStartUs_ = nowUs;
    return Data{kStartRoutine + kPositive, routine};
}

}  // namespace corvan::sim
