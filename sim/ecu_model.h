#pragma once
// The ECUs behind the box. The box hands an ECU the 40 configuration bytes when the host
// configures the driver (the ECU may answer the initial message), every ECU message of a
// 0x20 request, and the keep-alive message while the box repeats it. Each protocol family
// is one model; models are made by name from a scenario's "model" and "config".
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sim/json_node.h"

namespace corvan::sim {

// What an ECU does with one message.
struct EcuReply {
    enum class Kind {
        Answer,    // the bytes below come back (the box puts them from reply byte 4 on)
        NoAnswer,  // the ECU stays silent on the K line/CAN: the box replies with 0x0A
        Silence,   // not even the box replies (a hung driver)
    };
    Kind kind = Kind::NoAnswer;
    std::vector<uint8_t> bytes;
    int64_t delayUs = 0;  // the ECU's response time, before the box can reply

    static EcuReply answer(std::vector<uint8_t> b, int64_t delayUs = 0) {
        return {Kind::Answer, std::move(b), delayUs};
    }
    static EcuReply noAnswer(int64_t delayUs = 0) { return {Kind::NoAnswer, {}, delayUs}; }
    static EcuReply silence() { return {Kind::Silence, {}, 0}; }
};

// The ECU's response to the box's connection attempt.
struct ConnectResult {
    bool connected = true;
    std::vector<uint8_t> answer;  // empty: the box replies 0xA0 (nothing to report)
    int64_t delayUs = 0;
};

// The 40 configuration bytes (frame index 3 onwards of the configuration request).
using ConfigBytes = std::span<const uint8_t, 40>;

class EcuModel {
  public:
    virtual ~EcuModel() = default;
    // The driver was configured for this ECU and tries to start communication.
    virtual ConnectResult connect(ConfigBytes config, int64_t nowUs) {
        (void)config;
        (void)nowUs;
        return {};
    }
    virtual EcuReply request(std::span<const uint8_t> message, int64_t nowUs) = 0;
    // The box repeated its keep-alive message on the line (the ECU's session stays open).
    virtual void keepAlive(std::span<const uint8_t> message, int64_t nowUs) {
        (void)message;
        (void)nowUs;
    }
    // The box dropped the connection (reset, new configuration for another ECU).
    virtual void disconnected() {}
};

// Makes a model from its "config" node; on a mistake it records the problem on the node
// (or below it) and returns nullptr.
using EcuModelFactory = std::function<std::unique_ptr<EcuModel>(const JsonNode& config)>;

class EcuModelRegistry {
  public:
    void add(const std::string& name, EcuModelFactory factory) {
        factories_[name] = std::move(factory);
    }
    const EcuModelFactory* find(const std::string& name) const {
        auto it = factories_.find(name);
        return it == factories_.end() ? nullptr : &it->second;
    }
    std::vector<std::string> names() const;

  private:
    std::map<std::string, EcuModelFactory> factories_;
};

// A registry with every model of this library ("table", ...).
EcuModelRegistry builtinModels();

}  // namespace corvan::sim
