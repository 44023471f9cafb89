// The "ecus" and "faults" parts of a scenario file.
#include "sim/scenario_parts.h"

namespace corvan::sim {
namespace {

bool readSelector(const JsonNode& node, EcuSelector& s) {
    if (!node.present()) return true;
    if (node.isString() && node.value().get<std::string>() == "any") return true;
    if (!node.expectObject()) return false;
    std::string line;
    if (!node.get("line", line)) return false;
    if (line == "kline") {
        if (!node.onlyKeys({"line", "id", "pin", "begins"})) return false;
        s.line = EcuSelector::Line::KLine;
        int64_t pin = -1;
        if (!node.getHexByte("id", s.id) || !node.get("pin", pin, 0, 16) ||
            !node.getHex("begins", s.begins))
            return false;
        if (node.has("pin")) s.pin = int(pin);
        if (s.begins.size() > 40 - cfg::kBegin) return node["begins"].fail("too long");
        return true;
    }
    if (line == "can") {
        if (!node.onlyKeys({"line", "channel", "respCode", "acceptCode", "acceptMask"}))
            return false;
        s.line = EcuSelector::Line::Can;
        int64_t channel = 0;
        if (!node.get("channel", channel, 0, 255) || !node.getHexByte("respCode", s.respCode) ||
            !node.getHexByte("acceptCode", s.acceptCode) ||
            !node.getHexByte("acceptMask", s.acceptMask))
            return false;
        if (node.has("channel")) s.channel = uint8_t(channel);
        return true;
    }
    return node["line"].fail("expected \"kline\" or \"can\"");
}

bool readEcu(const JsonNode& node, const EcuModelRegistry& models, SimEcu& e) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"name", "select", "model", "config"})) return false;
    if (!node.get("name", e.name) || !readSelector(node["select"], e.select)) return false;
    if (!node.has("model")) return node.fail("ECU without \"model\"");
    if (!node.get("model", e.model)) return false;
    const EcuModelFactory* make = models.find(e.model);
    if (!make) {
        std::string known;
        for (const std::string& n : models.names()) known += (known.empty() ? "" : ", ") + n;
        return node["model"].fail("unknown model \"" + e.model + "\" (known: " + known + ")");
    }
    e.ecu = (*make)(node["config"].orEmptyObject());
    if (e.ecu) return true;
    if (!node.failed()) node["config"].fail("the model refused its config");
    return false;
}

bool readFault(const JsonNode& node, Fault& f) {
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"kind", "skip", "count", "command", "keep", "length", "bytes", "garbage",
                        "before", "delayMs", "comesBack"}))
        return false;
    std::string kind;
    if (!node.get("kind", kind)) return false;
    if (!node.has("kind")) return node.fail("fault without \"kind\"");
    auto k = faultFromName(kind);
    if (!k) return node["kind"].fail("unknown fault \"" + kind + "\"");
    f.kind = *k;
    int64_t skip = f.skip, count = f.count, keep = f.keep, length = f.length, bytes = f.bytes,
            delayMs = 0;
    if (!node.get("skip", skip, 0, 1 << 30) || !node.get("count", count, -1, 1 << 30) ||
        !node.getHexByte("command", f.command) || !node.get("keep", keep, -1, 1 << 16) ||
        !node.get("length", length, 0, 0x7FFF) || !node.get("bytes", bytes, 0, 1 << 22) ||
        !node.getHex("garbage", f.garbage) || !node.get("before", f.before) ||
        !node.get("delayMs", delayMs, 0, 3600000) || !node.get("comesBack", f.comesBack))
        return false;
    if (count == 0) return node["count"].fail("a fault must act at least once (-1: always)");
    f.skip = int(skip);
    f.count = int(count);
    f.keep = int(keep);
    f.length = int(length);
    f.bytes = int(bytes);
    f.delayUs = delayMs * 1000;
    return true;
}

}  // namespace

bool readEcus(const JsonNode& list, const EcuModelRegistry& models, std::vector<SimEcu>& out) {
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
        SimEcu e;
        if (!readEcu(list.at(i), models, e)) return false;
        if (e.name.empty()) e.name = "ecu" + std::to_string(i);
        out.push_back(std::move(e));
    }
    return true;
}

bool readFaults(const JsonNode& list, std::vector<Fault>& out) {
    if (!list.present()) return true;
    if (!list.expectArray()) return false;
    for (size_t i = 0; i < list.size(); ++i) {
        Fault f;
        if (!readFault(list.at(i), f)) return false;
        out.push_back(std::move(f));
    }
    return true;
}

bool readConnectedEcu(const JsonNode& box, const std::vector<SimEcu>& ecus, int& out) {
    const JsonNode n = box["connectedEcu"];
    if (!box.has("connectedEcu")) return true;
    if (n.value().is_null()) {
        out = BoxConfig::kNoEcu;
        return true;
    }
    if (n.isString()) {
        const std::string name = n.value().get<std::string>();
        for (size_t i = 0; i < ecus.size(); ++i)
            if (ecus[i].name == name) {
                out = int(i);
                return true;
            }
        return n.fail("no ECU named \"" + name + "\"");
    }
    int64_t index = 0;
    if (!box.get("connectedEcu", index, -1, int64_t(ecus.size()) - 1)) return false;
    out = int(index);
    return true;
}

}  // namespace corvan::sim
