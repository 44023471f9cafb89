#include "sim/table_model.h"

#include <limits>

namespace corvan::sim {
namespace {

constexpr int64_t kMaxDelayMs = 600000;

bool parseReplyPattern(const JsonNode& node, BytePattern& out) {
    if (!node.isString()) return node.fail("expected a hex string");
    std::string error;
    auto p = BytePattern::parse(node.value().get<std::string>(), &error);
    if (!p) return node.fail(error);
    if (p->anyTail()) return node.fail("\"*\" belongs in requests, not in replies");
    out = std::move(*p);
    return true;
}

// A response written as a string ("noAnswer", "silence" or reply hex) or as an object
// with "reply", "noAnswer" or "silence" and an optional "delayMs".
bool parseResponse(const JsonNode& node, int64_t defaultDelayUs, TableResponse& out) {
    out.delayUs = defaultDelayUs;
    if (node.isString()) {
        const std::string s = node.value().get<std::string>();
        if (s == "noAnswer") {
            out.kind = EcuReply::Kind::NoAnswer;
            return true;
        }
        if (s == "silence") {
            out.kind = EcuReply::Kind::Silence;
            return true;
        }
        out.kind = EcuReply::Kind::Answer;
        return parseReplyPattern(node, out.reply);
    }
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"reply", "noAnswer", "silence", "delayMs"})) return false;
    const int kinds = int(node.has("reply")) + int(node.has("noAnswer")) + int(node.has("silence"));
    if (kinds != 1) return node.fail("give exactly one of \"reply\", \"noAnswer\", \"silence\"");
    if (!readDelay(node, out.delayUs)) return false;
    bool flag = true;
    if (node.has("noAnswer")) {
        out.kind = EcuReply::Kind::NoAnswer;
        return node.get("noAnswer", flag) && (flag || node["noAnswer"].fail("must be true"));
    }
    if (node.has("silence")) {
        out.kind = EcuReply::Kind::Silence;
        return node.get("silence", flag) && (flag || node["silence"].fail("must be true"));
    }
    out.kind = EcuReply::Kind::Answer;
    return parseReplyPattern(node["reply"], out.reply);
}

bool parseRule(const JsonNode& node, int64_t defaultDelayUs, TableRule& rule) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"request", "reply", "noAnswer", "silence", "delayMs", "replies", "then"}))
        return false;
    const JsonNode req = node["request"];
    if (!req.present()) return node.fail("rule without \"request\"");
    if (!req.isString()) return req.fail("expected a hex string");
    std::string error;
    auto pattern = BytePattern::parse(req.value().get<std::string>(), &error);
    if (!pattern) return req.fail(error);
    if (pattern->hasCopies()) return req.fail("\"$k\" belongs in replies, not in requests");
    rule.request = std::move(*pattern);

    if (node.has("replies")) {
        if (node.has("reply") || node.has("noAnswer") || node.has("silence"))
            return node.fail("\"replies\" excludes \"reply\", \"noAnswer\" and \"silence\"");
        int64_t delayUs = defaultDelayUs;
        if (!readDelay(node, delayUs)) return false;
        const JsonNode list = node["replies"];
        if (!list.expectArray()) return false;
        if (list.size() == 0) return list.fail("empty sequence");
        for (size_t i = 0; i < list.size(); ++i) {
            TableResponse r;
            if (!parseResponse(list.at(i), delayUs, r)) return false;
            rule.responses.push_back(std::move(r));
        }
        std::string then = "last";
        if (!node.get("then", then)) return false;
        if (then != "last" && then != "cycle")
            return node["then"].fail("expected \"last\" or \"cycle\"");
        rule.cycle = then == "cycle";
        return true;
    }
    if (node.has("then")) return node["then"].fail("\"then\" needs \"replies\"");
    // The rule object itself is the single response.
    nlohmann::json single = nlohmann::json::object();
    for (const char* k : {"reply", "noAnswer", "silence", "delayMs"})
        if (node.has(k)) single[k] = node.value()[k];
    TableResponse r;
    Problem inner;
    if (!parseResponse(JsonNode(single, node.pointer(), inner), defaultDelayUs, r)) {
        // Report the mistake at the member it concerns.
        const std::string member = inner.place.substr(node.pointer().size());
        return member.empty() ? node.fail(inner.message)
                              : node[member.substr(1).c_str()].fail(inner.message);
    }
    rule.responses.push_back(std::move(r));
    return true;
}

}  // namespace

bool readDelay(const JsonNode& node, int64_t& delayUs) {
    int64_t ms = delayUs / 1000;
    if (!node.get("delayMs", ms, 0, kMaxDelayMs)) return false;
    delayUs = ms * 1000;
    return true;
}

bool parseConnect(const JsonNode& node, ConnectResult& out) {
    if (!node.present()) return true;
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"reply", "refuse", "delayMs"})) return false;
    bool refuse = false;
    if (!node.get("refuse", refuse)) return false;
    out.connected = !refuse;
    if (!node.getHex("reply", out.answer)) return false;
    return readDelay(node, out.delayUs);
}

TableModel::TableModel(std::vector<TableRule> rules, TableResponse fallback,
                       ConnectResult onConnect)
    : rules_(std::move(rules)),
      next_(rules_.size(), 0),
      hits_(rules_.size(), 0),
      fallback_(std::move(fallback)),
      onConnect_(std::move(onConnect)) {}

std::unique_ptr<TableModel> TableModel::fromJson(const JsonNode& config) {
    if (!config.expectObject()) return nullptr;
    if (!config.onlyKeys({"rules", "default", "delayMs", "connect"})) return nullptr;
    int64_t delayUs = 0;
    if (!readDelay(config, delayUs)) return nullptr;
    ConnectResult onConnect;
    if (!parseConnect(config["connect"], onConnect)) return nullptr;
    TableResponse fallback;
    if (config.has("default") && !parseResponse(config["default"], delayUs, fallback))
        return nullptr;
    std::vector<TableRule> rules;
    const JsonNode list = config["rules"];
    if (list.present()) {
        if (!list.expectArray()) return nullptr;
        for (size_t i = 0; i < list.size(); ++i) {
            TableRule rule;
            if (!parseRule(list.at(i), delayUs, rule)) return nullptr;
            rules.push_back(std::move(rule));
        }
    }
    return std::make_unique<TableModel>(std::move(rules), std::move(fallback),
                                        std::move(onConnect));
}

ConnectResult TableModel::connect(ConfigBytes, int64_t) {
    return onConnect_;
}

EcuReply TableModel::respond(const TableResponse& r, std::span<const uint8_t> message) const {
    switch (r.kind) {
        case EcuReply::Kind::Answer:
            return EcuReply::answer(r.reply.fill(message), r.delayUs);
        case EcuReply::Kind::Silence:
            return EcuReply::silence();
        case EcuReply::Kind::NoAnswer:
            break;
    }
    return EcuReply::noAnswer(r.delayUs);
}

EcuReply TableModel::request(std::span<const uint8_t> message, int64_t) {
    for (size_t i = 0; i < rules_.size(); ++i) {
        TableRule& rule = rules_[i];
        if (!rule.request.matches(message)) continue;
        if (hits_[i] < std::numeric_limits<int>::max()) ++hits_[i];
        const TableResponse& r = rule.responses[next_[i]];
        if (next_[i] + 1 < rule.responses.size())
            ++next_[i];
        else if (rule.cycle)
            next_[i] = 0;
        return respond(r, message);
    }
    return respond(fallback_, message);
}

}  // namespace corvan::sim
