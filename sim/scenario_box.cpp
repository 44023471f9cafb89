// The "box" and "timing" parts of a scenario file.
#include <algorithm>

#include "sim/hex_pattern.h"
#include "sim/scenario_parts.h"

namespace corvan::sim {
namespace {

constexpr int64_t kMaxMs = 3600000;

bool readMs(const JsonNode& node, const char* key, int64_t& us) {
    int64_t ms = us / 1000;
    if (!node.get(key, ms, 0, kMaxMs)) return false;
    us = ms * 1000;
    return true;
}

bool readProgram(const JsonNode& box, ProgramState& out) {
    std::string s;
    if (!box.get("program", s)) return false;
    if (s.empty()) return true;
    if (s == "none")
        out = ProgramState::None;
    else if (s == "loaded")
        out = ProgramState::Loaded;
    else if (s == "running")
        out = ProgramState::Running;
    else
        return box["program"].fail("expected \"none\", \"loaded\" or \"running\"");
    return true;
}

bool readWiring(const JsonNode& box, Wiring& w) {
    std::string name;
    if (!box.get("adapter", name)) return false;
    if (!name.empty()) {
        auto a = adapterFromName(name);
        if (!a)
            return box["adapter"].fail("unknown adapter \"" + name +
                                       "\" (OBDII, MB, SAE, NISS, KLIA, CANYK or none)");
        w.adapter = *a;
    }
    if (box.has("outputLoop")) {
        bool loop = false;
        if (!box.get("outputLoop", loop)) return false;
        w.outputLoop = loop;
    }
    if (!box.get("loopInputHeld", w.loopInputHeld)) return false;
    const JsonNode lines = box["failingLines"];
    if (!lines.present()) return true;
    if (!lines.expectArray()) return false;
    static const char* kLineNames[4] = {"K", "L", "I", "A"};
    for (size_t i = 0; i < lines.size(); ++i) {
        const JsonNode l = lines.at(i);
        bool known = false;
        for (size_t k = 0; k < 4; ++k) {
            if (l.isString() && l.value().get<std::string>() == kLineNames[k]) {
                w.linesOk[k] = false;
                known = true;
            }
        }
        if (!known) return l.fail("expected one of \"K\", \"L\", \"I\", \"A\"");
    }
    return true;
}

bool readRegisters(const JsonNode& box, std::array<uint8_t, 256>& regs) {
    const JsonNode node = box["registers"];
    if (!node.present()) return true;
    if (!node.expectObject()) return false;
    for (auto it = node.value().begin(); it != node.value().end(); ++it) {
        const JsonNode value = node[it.key().c_str()];
        auto addr = parseHexBytes(it.key(), nullptr);
        if (!addr || addr->size() != 1) return value.fail("register address must be one hex byte");
        std::optional<uint8_t> v;
        if (!node.getHexByte(it.key().c_str(), v)) return false;
        regs[(*addr)[0]] = *v;
    }
    return true;
}

bool readDownload(const JsonNode& node, DownloadConfig& d) {
    if (!node.present()) return true;
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"refuseBlock", "refuseTimes", "failDownloads", "fallbackName"}))
        return false;
    int64_t block = d.refuseBlock, times = d.refuseTimes, fails = d.failDownloads;
    if (!node.get("refuseBlock", block, -1, 1 << 20) || !node.get("refuseTimes", times, 0, 1000) ||
        !node.get("failDownloads", fails, 0, 1000) || !node.get("fallbackName", d.fallbackName))
        return false;
    d.refuseBlock = int(block);
    d.refuseTimes = int(times);
    d.failDownloads = int(fails);
    return true;
}

bool readFixedHex(const JsonNode& box, const char* key, std::span<uint8_t> out) {
    std::vector<uint8_t> bytes;
    if (!box.getHex(key, bytes)) return false;
    if (!box.has(key)) return true;
    if (bytes.size() != out.size())
        return box[key].fail("expected " + std::to_string(out.size()) + " bytes, found " +
                             std::to_string(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return true;
}

}  // namespace

bool readBox(const JsonNode& box, BoxConfig& b) {
    if (!box.present()) return true;
    if (!box.expectObject()) return false;
    if (!box.onlyKeys(
            {"program",        "driverName",   "nameBlank",   "loaderName",  "adapter",
             "outputLoop",     "failingLines", "voltage",     "driverCode",  "checksumFlag",
             "state",          "registers",    "keepAlive",   "keepAliveOn", "keepAliveIntervalMs",
             "configTemplate", "connectedEcu", "resetBusyMs", "download",    "loopInputHeld"}))
        return false;
    if (!readProgram(box, b.program) || !box.get("driverName", b.driverName) ||
        !box.get("nameBlank", b.nameBlank) || !box.get("loaderName", b.loaderName) ||
        !readWiring(box, b.wiring) || !box.get("voltage", b.voltage) ||
        !readFixedHex(box, "driverCode", b.driverCode) || !readRegisters(box, b.registers) ||
        !box.getHex("keepAlive", b.keepAlive) || !box.get("keepAliveOn", b.keepAliveOn) ||
        !readMs(box, "keepAliveIntervalMs", b.keepAliveIntervalUs) ||
        !readFixedHex(box, "configTemplate", b.configTemplate) ||
        !readMs(box, "resetBusyMs", b.resetBusyUs) || !readDownload(box["download"], b.download))
        return false;
    if (b.driverName.size() > DriverMemory::kMaxName)
        return box["driverName"].fail("at most 18 characters");
    if (b.voltage.size() > 5) return box["voltage"].fail("at most 5 characters");
    int64_t flag = b.checksumFlag;
    if (!box.get("checksumFlag", flag, 0, 255)) return false;
    b.checksumFlag = uint8_t(flag);
    if (box.has("state")) {
        int64_t state = 0;
        if (!box.get("state", state, 0, 255)) return false;
        b.forcedState = uint8_t(state);
    }
    return true;
}

bool readTiming(const JsonNode& node, TimingConfig& t) {
    if (!node.present()) return true;
    if (!node.expectObject()) return false;
    if (!node.onlyKeys({"pacing", "baud", "replyDelayMs", "frameGapMs"})) return false;
    int64_t baud = t.baud;
    if (!node.get("pacing", t.pacing) || !node.get("baud", baud, 300, 1000000) ||
        !readMs(node, "replyDelayMs", t.replyDelayUs) || !readMs(node, "frameGapMs", t.frameGapUs))
        return false;
    t.baud = int(baud);
    return true;
}

}  // namespace corvan::sim
