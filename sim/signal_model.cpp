#include "sim/signal_model.h"

#include <cmath>
#include <numbers>

namespace corvan::sim {

namespace {

constexpr double kLongestMs = 86400000.0;  // a day: beyond any session
constexpr int64_t kMaxDelayMs = 600000;

// A well-mixed 64-bit value of (seed, index): the same noise on every run.
uint64_t mix(uint64_t seed, uint64_t index) {
    uint64_t z = seed * 0x9E3779B97F4A7C15ull + index + 0x632BE59BD9B4E019ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool getNumber(const JsonNode& node, const char* key, double& out, double min, double max) {
    const JsonNode n = node[key];
    if (!n.present()) return true;
    if (!n.value().is_number()) return n.fail("expected a number");
    const double v = n.value().get<double>();
    if (!(v >= min && v <= max))
        return n.fail("number outside " + std::to_string(min) + ".." + std::to_string(max));
    out = v;
    return true;
}

constexpr double kHuge = 1e12;

bool readSignal(const JsonNode& node, Signal& s) {
    if (!node.expectObject()) return false;
    std::string kind;
    if (!node.get("kind", kind)) return false;
    if (kind == "constant") {
        s.kind = Signal::Kind::Constant;
        return node.onlyKeys({"kind", "value"}) && getNumber(node, "value", s.value, -kHuge, kHuge);
    }
    if (kind == "ramp") {
        s.kind = Signal::Kind::Ramp;
        return node.onlyKeys({"kind", "from", "to", "durationMs", "repeat"}) &&
               getNumber(node, "from", s.from, -kHuge, kHuge) &&
               getNumber(node, "to", s.to, -kHuge, kHuge) &&
               getNumber(node, "durationMs", s.durationMs, 1, kLongestMs) &&
               node.get("repeat", s.repeat);
    }
    if (kind == "sine") {
        s.kind = Signal::Kind::Sine;
        return node.onlyKeys({"kind", "mean", "amplitude", "periodMs", "phaseDeg"}) &&
               getNumber(node, "mean", s.mean, -kHuge, kHuge) &&
               getNumber(node, "amplitude", s.amplitude, -kHuge, kHuge) &&
               getNumber(node, "periodMs", s.periodMs, 1, kLongestMs) &&
               getNumber(node, "phaseDeg", s.phaseDeg, -360, 360);
    }
    if (kind == "noise") {
        s.kind = Signal::Kind::Noise;
        int64_t seed = 1;
        if (!node.onlyKeys({"kind", "mean", "spread", "seed", "holdMs"}) ||
            !getNumber(node, "mean", s.mean, -kHuge, kHuge) ||
            !getNumber(node, "spread", s.spread, 0, kHuge) ||
            !node.get("seed", seed, 0, INT64_MAX) ||
            !getNumber(node, "holdMs", s.holdMs, 1, kLongestMs))
            return false;
        s.seed = static_cast<uint64_t>(seed);
        return true;
    }
    if (kind == "steps") {
        s.kind = Signal::Kind::Steps;
        s.repeat = true;
        if (!node.onlyKeys({"kind", "values", "stepMs", "repeat"}) ||
            !getNumber(node, "stepMs", s.stepMs, 1, kLongestMs) || !node.get("repeat", s.repeat))
            return false;
        const JsonNode list = node["values"];
        if (!list.expectArray()) return false;
        if (list.size() == 0) return list.fail("a step signal needs at least one value");
        for (size_t i = 0; i < list.size(); ++i) {
            const JsonNode v = list.at(i);
            if (!v.value().is_number()) return v.fail("expected a number");
            s.values.push_back(v.value().get<double>());
        }
        return true;
    }
    if (!node.has("kind")) return node.fail("signal without \"kind\"");
    return node["kind"].fail("unknown signal kind \"" + kind +
                             "\" (known: constant, ramp, sine, noise, steps)");
}

bool readPattern(const JsonNode& node, bool request, BytePattern& out) {
    if (!node.present())
        return node.fail(request ? "answer without \"request\"" : "answer without \"reply\"");
    if (!node.isString()) return node.fail("expected a hex string");
    std::string error;
    auto p = BytePattern::parse(node.value().get<std::string>(), &error);
    if (!p) return node.fail(error);
    if (request && p->hasCopies()) return node.fail("\"$k\" belongs in replies, not in requests");
    if (!request && p->anyTail()) return node.fail("\"*\" belongs in requests, not in replies");
    out = std::move(*p);
    return true;
}

bool readField(const JsonNode& node, const std::vector<Signal>& signals, size_t replySize,
               SignalField& f) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"at", "signal", "bytes", "scale", "offset", "signed"})) return false;
    int64_t at = -1, bytes = 1;
    std::string name;
    if (!node.get("at", at, 0, 0x7FFF) || !node.get("signal", name) ||
        !node.get("bytes", bytes, 1, 2) || !getNumber(node, "scale", f.scale, -kHuge, kHuge) ||
        !getNumber(node, "offset", f.offset, -kHuge, kHuge) || !node.get("signed", f.isSigned))
        return false;
    if (at < 0) return node.fail("field without \"at\"");
    if (f.scale == 0) return node["scale"].fail("a scale of 0 encodes nothing");
    f.at = static_cast<size_t>(at);
    f.bytes = static_cast<int>(bytes);
    if (f.at + static_cast<size_t>(f.bytes) > replySize)
        return node["at"].fail("the field does not fit in the reply");
    for (size_t i = 0; i < signals.size(); ++i)
        if (signals[i].name == name) {
            f.signal = i;
            return true;
        }
    return node["signal"].fail("no signal named \"" + name + "\"");
}

bool readAnswer(const JsonNode& node, const std::vector<Signal>& signals, int64_t delayUs,
                SignalAnswer& a) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"request", "reply", "fields", "delayMs"})) return false;
    if (!readPattern(node["request"], true, a.request) ||
        !readPattern(node["reply"], false, a.reply))
        return false;
    int64_t ms = delayUs / 1000;
    if (!node.get("delayMs", ms, 0, kMaxDelayMs)) return false;
    a.delayUs = ms * 1000;
    const size_t replySize = a.reply.fill({}).size();
    const JsonNode list = node["fields"];
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
        SignalField f;
        if (!readField(list.at(i), signals, replySize, f)) return false;
        a.fields.push_back(f);
    }
    return true;
}

std::unique_ptr<EcuModel> readBase(const JsonNode& node, const EcuModelRegistry& models) {
    if (!node.expectObject() || !node.onlyKeys({"model", "config"})) return nullptr;
    std::string name;
    if (!node.get("model", name)) return nullptr;
    const EcuModelFactory* make = models.find(name);
    if (!make) {
        node["model"].fail("unknown model \"" + name + "\"");
        return nullptr;
    }
    auto base = (*make)(node["config"].orEmptyObject());
    if (!base && !node.failed()) node["config"].fail("the model refused its config");
    return base;
}

}  // namespace

double Signal::at(double ms) const {
    switch (kind) {
        case Kind::Constant:
            return value;
        case Kind::Ramp: {
            double t = ms;
            if (repeat) t = std::fmod(ms, durationMs);
            if (t >= durationMs) return to;
            return from + (to - from) * t / durationMs;
        }
        case Kind::Sine:
            return mean + amplitude * std::sin(2 * std::numbers::pi * ms / periodMs +
                                               phaseDeg * std::numbers::pi / 180);
        case Kind::Noise: {
            const uint64_t index = static_cast<uint64_t>(ms / holdMs);
            const double u = double(mix(seed, index) >> 11) / double(uint64_t(1) << 53);
            return mean + spread * (2 * u - 1);
        }
        case Kind::Steps: {
            if (values.empty()) return 0;
            size_t step = static_cast<size_t>(ms / stepMs);
            step = repeat ? step % values.size() : std::min(step, values.size() - 1);
            return values[step];
        }
    }
    return 0;
}

std::vector<uint8_t> encodeField(const SignalField& field, double value) {
    const int bits = 8 * field.bytes;
    const double low = field.isSigned ? -std::ldexp(1.0, bits - 1) : 0;
    const double high = field.isSigned ? std::ldexp(1.0, bits - 1) - 1 : std::ldexp(1.0, bits) - 1;
    double raw = std::round((value - field.offset) / field.scale);
    if (!(raw >= low)) raw = low;  // not-a-number too
    if (raw > high) raw = high;
    const auto word = static_cast<uint32_t>(static_cast<int64_t>(raw)) & ((1u << bits) - 1);
    std::vector<uint8_t> bytes;
    for (int b = field.bytes - 1; b >= 0; --b)
        bytes.push_back(static_cast<uint8_t>(word >> (8 * b)));
    return bytes;
}

SignalModel::SignalModel(std::vector<Signal> signals, std::vector<SignalAnswer> answers,
                         std::unique_ptr<EcuModel> base)
    : signals_(std::move(signals)), answers_(std::move(answers)), base_(std::move(base)) {}

std::unique_ptr<SignalModel> SignalModel::fromJson(const JsonNode& config,
                                                   const EcuModelRegistry& models) {
    if (!config.expectObject()) return nullptr;
    if (!config.onlyKeys({"signals", "answers", "delayMs", "base"})) return nullptr;
    int64_t delayMs = 0;
    if (!config.get("delayMs", delayMs, 0, kMaxDelayMs)) return nullptr;
    std::vector<Signal> signals;
    const JsonNode named = config["signals"];
    if (named.present()) {
        if (!named.expectObject()) return nullptr;
        for (auto it = named.value().begin(); it != named.value().end(); ++it) {
            Signal s;
            s.name = it.key();
            if (!readSignal(named[it.key().c_str()], s)) return nullptr;
            signals.push_back(std::move(s));
        }
    }
    std::vector<SignalAnswer> answers;
    const JsonNode list = config["answers"];
    if (list.present()) {
        if (!list.expectArray()) return nullptr;
        for (size_t i = 0; i < list.size(); ++i) {
            SignalAnswer a;
            if (!readAnswer(list.at(i), signals, delayMs * 1000, a)) return nullptr;
            answers.push_back(std::move(a));
        }
    }
    std::unique_ptr<EcuModel> base;
    if (config.has("base") && !(base = readBase(config["base"], models))) return nullptr;
    return std::make_unique<SignalModel>(std::move(signals), std::move(answers), std::move(base));
}

double SignalModel::elapsedMs(int64_t nowUs) {
    if (startUs_ < 0) startUs_ = nowUs;
    return double(nowUs - startUs_) / 1000.0;
}

ConnectResult SignalModel::connect(ConfigBytes config, int64_t nowUs) {
    elapsedMs(nowUs);
    return base_ ? base_->connect(config, nowUs) : ConnectResult{};
}

EcuReply SignalModel::request(std::span<const uint8_t> message, int64_t nowUs) {
    const double ms = elapsedMs(nowUs);
    for (const SignalAnswer& a : answers_) {
        if (!a.request.matches(message)) continue;
        std::vector<uint8_t> reply = a.reply.fill(message);
        for (const SignalField& f : a.fields) {
            const std::vector<uint8_t> bytes = encodeField(f, signals_[f.signal].at(ms));
            std::copy(bytes.begin(), bytes.end(), reply.begin() + static_cast<ptrdiff_t>(f.at));
        }
        return EcuReply::answer(std::move(reply), a.delayUs);
    }
    return base_ ? base_->request(message, nowUs) : EcuReply::noAnswer();
}

void SignalModel::keepAlive(std::span<const uint8_t> message, int64_t nowUs) {
    elapsedMs(nowUs);
    if (base_) base_->keepAlive(message, nowUs);
}

void SignalModel::disconnected() {
    if (base_) base_->disconnected();
}

}  // namespace corvan::sim
