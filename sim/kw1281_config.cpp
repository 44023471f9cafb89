// The "kw1281" model's scenario config.
#include "sim/kw1281_unit.h"
#include "sim/table_model.h"

namespace corvan::sim {

namespace {

constexpr int64_t kMaxSessionTimeoutMs = 3600000;

bool readWord(const JsonNode& node, const char* key, uint16_t& out) {
    int64_t v = out;
    if (!node.get(key, v, 0, 0xFFFF)) return false;
    out = static_cast<uint16_t>(v);
    return true;
}

bool readIdentification(const JsonNode& list, std::vector<std::vector<std::string>>& out) {
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t g = 0; g < list.size(); ++g) {
        const JsonNode group = list.at(g);
        if (!group.expectArray()) return false;
        std::vector<std::string> texts;
        for (size_t t = 0; t < group.size(); ++t) {
            const JsonNode text = group.at(t);
            if (!text.isString()) return text.fail("expected a text");
            texts.push_back(text.value().get<std::string>());
            // The block's length byte counts the text and three bytes more.
            if (texts.back().size() > 120) return text.fail("a text block holds 120 bytes at most");
        }
        out.push_back(std::move(texts));
    }
    return true;
}

bool readChannel(const JsonNode& node, AdaptationChannel& c) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"channel", "value", "text", "locked", "readable", "min", "max"}))
        return false;
    if (!node.has("channel")) return node.fail("channel without \"channel\"");
    int64_t number = 0;
    if (!node.get("channel", number, 1, 255)) return false;
    c.number = static_cast<int>(number);
    if (!readWord(node, "value", c.value) || !readWord(node, "min", c.min) ||
        !readWord(node, "max", c.max) || !node.get("locked", c.locked) ||
        !node.get("readable", c.readable))
        return false;
    if (node.has("text")) {
        uint16_t text = 0;
        if (!readWord(node, "text", text)) return false;
        c.text = text;
    }
    c.initial = c.value;
    return true;
}

}  // namespace

std::unique_ptr<Kw1281Unit> Kw1281Unit::fromJson(const JsonNode& node) {
    if (!node.expectObject()) return nullptr;
    if (!node.onlyKeys({"delayMs", "connect", "identification", "coding", "workshopCode",
                        "refuseCoding", "loginCode", "lockAfter", "kwpAddress", "channels",
                        "sessionTimeoutMs", "measuring"}))
        return nullptr;
    Kw1281Config c;
    if (node.has("connect")) {
        c.connect = {};
        if (!parseConnect(node["connect"], c.connect)) return nullptr;
    }
    if (!readDelay(node, c.delayUs) ||
        !readIdentification(node["identification"], c.identification))
        return nullptr;
    if (node["coding"].present()) {
        uint16_t coding = 0;
        if (!readWord(node, "coding", coding)) return nullptr;
        if (coding > 32767) {
            node["coding"].fail("a coding lies from 0 to 32767");
            return nullptr;
        }
        c.coding = coding;
    }
    if (node["loginCode"].present()) {
        uint16_t code = 0;
        if (!readWord(node, "loginCode", code)) return nullptr;
        c.loginCode = code;
    }
    int64_t lockAfter = c.lockAfter;
    if (!readWord(node, "workshopCode", c.workshopCode) ||
        !node.get("refuseCoding", c.refuseCoding) || !node.get("lockAfter", lockAfter, 0, 1000) ||
        !node.getHexByte("kwpAddress", c.kwpAddress))
        return nullptr;
    c.lockAfter = static_cast<int>(lockAfter);
    const JsonNode channels = node["channels"];
    if (channels.present()) {
        if (!channels.expectArray()) return nullptr;
        for (size_t i = 0; i < channels.size(); ++i) {
            AdaptationChannel ch;
            if (!readChannel(channels.at(i), ch)) return nullptr;
            for (const AdaptationChannel& other : c.channels)
                if (other.number == ch.number) {
                    channels.at(i)["channel"].fail("channel given twice");
                    return nullptr;
                }
            c.channels.push_back(ch);
        }
    }
    int64_t timeoutMs = 0;
    if (!node.get("sessionTimeoutMs", timeoutMs, 0, kMaxSessionTimeoutMs)) return nullptr;
    c.sessionTimeoutUs = timeoutMs * 1000;
    std::optional<Kw1281Measuring> measuring;
    if (node["measuring"].present()) {
        measuring = Kw1281Measuring::fromJson(node["measuring"]);
        if (!measuring) return nullptr;
    }
    auto unit = std::make_unique<Kw1281Unit>(std::move(c));
    if (measuring) unit->setMeasuring(std::move(*measuring));
    return unit;
}

}  // namespace corvan::sim
