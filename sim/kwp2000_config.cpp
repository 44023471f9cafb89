// The "kwp2000" model's scenario config: the table keys ("rules", "default", "delayMs",
// "connect") for what the unit answers from a table, and the unit's memory and routines.
#include "sim/hex_pattern.h"
#include "sim/kwp2000_model.h"

namespace corvan::sim {

namespace {

constexpr int64_t kMaxMs = 600000;

// The node at `place` below `from` (a JSON pointer relative to it).
JsonNode nodeAt(const JsonNode& from, const std::string& place) {
    JsonNode n = from;
    size_t i = 0;
    while (i < place.size() && place[i] == '/') {
        const size_t next = place.find('/', i + 1);
        const std::string token =
            place.substr(i + 1, next == std::string::npos ? next : next - i - 1);
        n = n.isArray() ? n.at(std::stoul(token)) : n[token.c_str()];
        i = next == std::string::npos ? place.size() : next;
    }
    return n;
}

std::unique_ptr<TableModel> tableOf(const JsonNode& config) {
    nlohmann::json subset = nlohmann::json::object();
    for (const char* k : {"rules", "default", "delayMs", "connect"})
        if (config.has(k)) subset[k] = config.value()[k];
    Problem inner;
    auto table = TableModel::fromJson(JsonNode(subset, config.pointer(), inner));
    if (!table) nodeAt(config, inner.place.substr(config.pointer().size())).fail(inner.message);
    return table;
}

bool readCode(const JsonNode& node, const char* key, uint16_t& out) {
    std::vector<uint8_t> b;
    if (!node.getHex(key, b)) return false;
    if (b.size() != 2) return node[key].fail("expected a code of two hex bytes");
    out = static_cast<uint16_t>(b[0] << 8 | b[1]);
    return true;
}

bool readStoredCodes(const JsonNode& list, std::vector<StoredCode>& out) {
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
        const JsonNode item = list.at(i);
        if (!item.expectObject() || !item.onlyKeys({"code", "status"})) return false;
        StoredCode c;
        std::optional<uint8_t> status;
        if (!item.has("code")) return item.fail("stored code without \"code\"");
        if (!readCode(item, "code", c.code) || !item.getHexByte("status", status)) return false;
        c.status = status.value_or(0xE0);
        out.push_back(c);
    }
    return true;
}

bool readSelfTest(const JsonNode& node, Kwp2000Config& c) {
    if (!node.present()) return true;
    if (!node.expectObject() ||
        !node.onlyKeys({"finds", "status", "resultsAfterMs", "refuse", "commonId"}))
        return false;
    const JsonNode finds = node["finds"];
    if (finds.present()) {
        if (!finds.expectObject()) return false;
        for (auto it = finds.value().begin(); it != finds.value().end(); ++it) {
            const JsonNode list = finds[it.key().c_str()];
            const std::string& r = it.key();
            if (r != "81" && r != "82") return list.fail("the self-test routines are 81 and 82");
            if (!list.expectArray()) return false;
            auto& codes = c.testFinds[r == "81" ? 0x81 : 0x82];
            for (size_t i = 0; i < list.size(); ++i) {
                const JsonNode item = list.at(i);
                if (!item.isString()) return item.fail("expected a code of two hex bytes");
                auto bytes = parseHexBytes(item.value().get<std::string>(), nullptr);
                if (!bytes || bytes->size() != 2)
                    return item.fail("expected a code of two hex bytes");
                codes.push_back(static_cast<uint16_t>((*bytes)[0] << 8 | (*bytes)[1]));
            }
        }
    }
    std::optional<uint8_t> status;
    int64_t ms = 0;
    if (!node.getHexByte("status", status) || !node.get("resultsAfterMs", ms, 0, kMaxMs) ||
        !node.get("refuse", c.refuseTest) || !node.getHex("commonId", c.commonId0200))
        return false;
    c.testStatus = status.value_or(c.testStatus);
    c.resultsAfterUs = ms * 1000;
    return true;
}

bool readActuators(const JsonNode& node, Kwp2000Config& c) {
    if (!node.present()) return true;
    if (!node.expectObject() || !node.onlyKeys({"steps", "endCode", "refuse"})) return false;
    int64_t end = c.endCode;
    if (!node.get("endCode", end, 0, 0xFFFF) || !node.get("refuse", c.refuseActuators))
        return false;
    c.endCode = static_cast<uint16_t>(end);
    const JsonNode steps = node["steps"];
    if (!steps.present()) return true;
    if (!steps.expectArray()) return false;
    for (size_t i = 0; i < steps.size(); ++i) {
        const JsonNode s = steps.at(i);
        if (!s.expectObject() || !s.onlyKeys({"code", "busyMs"})) return false;
        int64_t code = -1, busy = 0;
        if (!s.get("code", code, 0, 0xFFFF) || !s.get("busyMs", busy, 0, kMaxMs)) return false;
        if (code < 0) return s.fail("step without \"code\"");
        c.actuators.push_back({static_cast<uint16_t>(code), busy * 1000});
    }
    return true;
}

}  // namespace

std::unique_ptr<Kwp2000Model> Kwp2000Model::fromJson(const JsonNode& config) {
    if (!config.expectObject()) return nullptr;
    if (!config.onlyKeys({"rules", "default", "delayMs", "connect", "address", "codes", "selfTest",
                          "erase", "actuators"}))
        return nullptr;
    auto table = tableOf(config);
    if (!table) return nullptr;
    Kwp2000Config c;
    std::optional<uint8_t> address;
    int64_t delayMs = 0;
    if (!config.getHexByte("address", address) || !config.get("delayMs", delayMs, 0, kMaxMs))
        return nullptr;
    c.address = address.value_or(c.address);
    c.delayUs = delayMs * 1000;
    if (!readStoredCodes(config["codes"], c.codes) || !readSelfTest(config["selfTest"], c) ||
        !readActuators(config["actuators"], c))
        return nullptr;
    const JsonNode erase = config["erase"];
    if (erase.present() && (!erase.expectObject() || !erase.onlyKeys({"refuse"}) ||
                            !erase.get("refuse", c.refuseErase)))
        return nullptr;
    return std::make_unique<Kwp2000Model>(std::move(c), std::move(table));
}

}  // namespace corvan::sim
