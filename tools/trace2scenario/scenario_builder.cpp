#include "tools/trace2scenario/scenario_builder.h"

#include <algorithm>
#include <map>
#include <memory>

#include "sim/ecu_model.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "tools/trace2scenario/replay.h"

namespace corvan::trace {
namespace {

namespace cmd = sim::boxcmd;

constexpr size_t kConfigBytes = 40;
constexpr int64_t kMaxDelayMs = 600000;  // the longest delay a scenario takes
constexpr size_t kBeginAt = 11;          // the initial message in the configuration

uint8_t commandOf(const std::vector<uint8_t>& f) {
    return f.size() > 2 ? f[2] : 0;
}

// One answer of an ECU as the trace shows it.
struct Response {
    sim::EcuReply::Kind kind = sim::EcuReply::Kind::Silence;
    std::vector<uint8_t> bytes;
    int64_t delayMs = 0;
    bool operator==(const Response&) const = default;
};

struct Asked {
    std::vector<uint8_t> message;
    Response response;
};

struct Connection {
    bool connected = true;
    std::vector<uint8_t> answer;
    int64_t delayMs = 0;
    int line = 0;
    bool operator==(const Connection& o) const {
        return connected == o.connected && answer == o.answer && delayMs == o.delayMs;
    }
};

// What the ECUs of the recording pass learn, shared with the pass that feeds the requests.
struct Recording {
    const Exchanges* exchanges = nullptr;
    size_t current = 0;
    int64_t replyDelayMs = 0;
    std::vector<std::vector<Asked>> asked;             // per ECU, in order
    std::vector<std::vector<Connection>> connections;  // per ECU
    std::vector<std::string> notes;

    const Exchange& exchange() const { return exchanges->list[current]; }
    int64_t delayOf(const MeantReply& r) const {
        return std::clamp<int64_t>(r.ms - exchange().request.ms - replyDelayMs, 0, kMaxDelayMs);
    }
};

// An ECU that answers each message with what the trace shows after the request being
// played, and remembers it.
class RecordingEcu final : public sim::EcuModel {
  public:
    RecordingEcu(size_t index, Recording& rec) : index_(index), rec_(rec) {}

    sim::ConnectResult connect(sim::ConfigBytes, int64_t) override {
        Connection c;
        c.line = rec_.exchange().request.number;
        if (const auto r = meantReply(rec_.exchange())) {
            c.delayMs = rec_.delayOf(*r);
            const auto d = frameData(r->frame);
            const uint8_t command = commandOf(r->frame);
            if (command == cmd::kConfigWrite && !d.empty()) c.answer.assign(d.begin() + 1, d.end());
            if (command == cmd::kNoAnswer) c.connected = false;
        } else {
            c.connected = false;
        }
        rec_.connections[index_].push_back(c);
        return {c.connected, c.answer, c.delayMs * 1000};
    }

    sim::EcuReply request(std::span<const uint8_t> message, int64_t) override {
        Response resp;
        if (const auto r = meantReply(rec_.exchange())) {
            resp.delayMs = rec_.delayOf(*r);
            const auto d = frameData(r->frame);
            const uint8_t command = commandOf(r->frame);
            if (command == cmd::kEcuMessage && !d.empty()) {
                resp.kind = sim::EcuReply::Kind::Answer;
                resp.bytes.assign(d.begin() + 1, d.end());
            } else if (command == cmd::kNoAnswer) {
                resp.kind = sim::EcuReply::Kind::NoAnswer;
            } else {
                resp.delayMs = 0;
                rec_.notes.push_back("line " + std::to_string(r->line->number) +
                                     ": the box answered an ECU message with command " +
                                     hexText({command}) +
                                     ", which the simulated box never does; the ECU stays silent");
            }
        }
        rec_.asked[index_].push_back({{message.begin(), message.end()}, resp});
        switch (resp.kind) {
            case sim::EcuReply::Kind::Answer:
                return sim::EcuReply::answer(resp.bytes, resp.delayMs * 1000);
            case sim::EcuReply::Kind::NoAnswer:
                return sim::EcuReply::noAnswer(resp.delayMs * 1000);
            case sim::EcuReply::Kind::Silence:
                break;
        }
        return sim::EcuReply::silence();
    }

  private:
    size_t index_;
    Recording& rec_;
};

int pinOf(uint8_t pin8, uint8_t code) {
    if (pin8 == 0x20 && code == 0) return 8;
    if (pin8 != 0) return -1;
    switch (code) {
        case 0xA0:
            return 1;
        case 0x20:
            return 6;
        case 0x80:
            return 12;
        case 0x00:
            return 7;  // the host writes every other pin as 0
        default:
            return -1;
    }
}

std::string byteText(uint8_t b) {
    return hexText({b});
}

// The ECUs the configurations address, in the order the trace first configures them.
struct Units {
    std::vector<Json> selects;
    std::vector<std::string> names;
    std::map<std::string, size_t> byKey;
};

Units unitsOf(const Exchanges& ex) {
    Units u;
    for (const Exchange& e : ex.list) {
        const auto d = frameData(e.request.bytes);
        if (commandOf(e.request.bytes) != cmd::kConfigWrite || d.size() != kConfigBytes) continue;
        const Json sel = selectorFor(d);
        const std::string key = sel.dump();
        if (u.byKey.count(key)) continue;
        u.byKey[key] = u.selects.size();
        std::string name = sel["line"] == "can" ? "can" + std::to_string(int(sel["channel"])) +
                                                      "-" + std::string(sel["respCode"])
                                                : "kline-" + std::string(sel["id"]);
        const std::string base = name;
        for (int n = 2; std::find(u.names.begin(), u.names.end(), name) != u.names.end(); ++n)
            name = base + "-" + std::to_string(n);
        u.selects.push_back(sel);
        u.names.push_back(name);
    }
    return u;
}

// Whether the running driver was connected to an ECU at power-up, and whether the terminal
// talked to that ECU before configuring one itself.
struct PowerUp {
    bool connected = false;
    bool asked = false;
};

PowerUp powerUpConnection(const Exchanges& ex) {
    PowerUp p;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request.bytes);
        if (c == cmd::kConfigWrite || c == cmd::kReset || c == cmd::kMemorySetup ||
            c == cmd::kBlock || c == cmd::kStart)
            break;
        const auto r = meantReply(e);
        const auto d = r ? frameData(r->frame) : std::vector<uint8_t>{};
        if (c == cmd::kConnection && !d.empty() && commandOf(r->frame) == cmd::kConnection)
            p.connected = p.connected || d[0] == 1;
        if (c == cmd::kEcuMessage) {
            p.asked = true;
            if (r && commandOf(r->frame) == cmd::kEcuMessage) p.connected = true;
        }
    }
    return p;
}

// The line's faults the simulated box can repeat, by the request frame they fall on: a
// reply with an inverted check byte, and a line that hung up instead of replying (coming
// back when the terminal opened it again later).
Json lineFaults(const Exchanges& ex) {
    Json faults = Json::array();
    int frameIndex = 0;
    for (size_t i = 0; i < ex.list.size(); ++i) {
        const Exchange& e = ex.list[i];
        if (e.request.kind != LineKind::Sent) continue;
        if (const auto r = meantReply(e); r && r->corrupted)
            faults.push_back({{"kind", "corruptCheck"}, {"skip", frameIndex}, {"count", 1}});
        if (!e.after.empty() && e.after.front().kind == LineKind::Lost) {
            bool back = false;
            for (size_t k = i; k < ex.list.size() && !back; ++k)
                for (const TraceLine& l : ex.list[k].after)
                    back = back || l.kind == LineKind::Reopened;
            faults.push_back(
                {{"kind", "hangUp"}, {"skip", frameIndex}, {"count", 1}, {"comesBack", back}});
        }
        ++frameIndex;
    }
    return faults;
}

Json responseJson(const Response& r, int64_t usualDelay, bool inList) {
    const bool ownDelay = r.delayMs != usualDelay && r.kind != sim::EcuReply::Kind::Silence;
    Json j = Json::object();
    switch (r.kind) {
        case sim::EcuReply::Kind::Answer:
            if (inList && !ownDelay) return hexText(r.bytes);
            j["reply"] = hexText(r.bytes);
            break;
        case sim::EcuReply::Kind::NoAnswer:
            if (inList && !ownDelay) return "noAnswer";
            j["noAnswer"] = true;
            break;
        case sim::EcuReply::Kind::Silence:
            if (inList) return "silence";
            j["silence"] = true;
            break;
    }
    if (ownDelay) j["delayMs"] = r.delayMs;
    return j;
}

// The most frequent delay of the ECU's answers: the table's default, so that only the
// exceptions carry their own.
int64_t usualDelay(const std::vector<Asked>& asked) {
    std::map<int64_t, int> count;
    for (const Asked& a : asked)
        if (a.response.kind != sim::EcuReply::Kind::Silence) ++count[a.response.delayMs];
    int64_t best = 0;
    int most = 0;
    for (const auto& [d, n] : count)
        if (n > most) best = d, most = n;
    return best;
}

// The table: one rule per distinct message, in the order first asked; a message answered
// differently in turn gets the answers as a sequence, which stays on the last one after.
Json tableConfig(const std::vector<Asked>& asked, const std::vector<Connection>& conns,
                 std::vector<std::string>& notes, const std::string& name) {
    Json config = Json::object();
    const int64_t usual = usualDelay(asked);
    config["delayMs"] = usual;
    if (!conns.empty()) {
        const Connection& c = conns.front();
        Json connect = Json::object();
        if (!c.connected) connect["refuse"] = true;
        if (!c.answer.empty()) connect["reply"] = hexText(c.answer);
        connect["delayMs"] = c.delayMs;
        config["connect"] = connect;
        for (const Connection& o : conns)
            if (!(o == c)) {
                notes.push_back("the ECU " + name + " answered its connection at line " +
                                std::to_string(o.line) + " otherwise than at line " +
                                std::to_string(c.line) +
                                "; the simulated ECU answers every connection as the first");
                break;
            }
    }
    std::vector<std::vector<uint8_t>> order;
    std::map<std::vector<uint8_t>, std::vector<Response>> byMessage;
    for (const Asked& a : asked) {
        auto& list = byMessage[a.message];
        if (list.empty()) order.push_back(a.message);
        list.push_back(a.response);
    }
    Json rules = Json::array();
    for (const auto& message : order) {
        const auto& list = byMessage[message];
        Json rule = Json::object();
        rule["request"] = hexText(message);
        if (std::all_of(list.begin(), list.end(),
                        [&](const Response& r) { return r == list[0]; })) {
            const Json one = responseJson(list[0], usual, false);
            for (const auto& [k, v] : one.items()) rule[k] = v;
        } else {
            Json replies = Json::array();
            for (const Response& r : list) replies.push_back(responseJson(r, usual, true));
            rule["replies"] = replies;
        }
        rules.push_back(rule);
    }
    config["rules"] = rules;
    return config;
}

}  // namespace

std::string scenarioText(const Json& scenario) {
    return scenario.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json selectorFor(const std::vector<uint8_t>& c) {
    Json s = Json::object();
    if (c.size() != kConfigBytes) return {{"line", "any"}};
    // The K-line driver's configuration starts with 1 and holds the pin where a CAN one holds
    // its bit timing; the box tells them apart by the driver it runs, which the configuration
    // alone does not show. Either selection picks the same configuration again.
    if (c[1] == 2 || (c[0] == 1 && pinOf(c[2], c[3]) > 0)) {
        s["line"] = "kline";
        s["id"] = byteText(c[5]);
        if (const int pin = pinOf(c[2], c[3]); pin > 0) s["pin"] = pin;
        size_t end = c.size();
        while (end > kBeginAt && c[end - 1] == 0) --end;
        if (end > kBeginAt) s["begins"] = hexText({c.begin() + kBeginAt, c.begin() + end});
    } else {
        s["line"] = "can";
        s["channel"] = c[0];
        s["respCode"] = byteText(c[10]);
        s["acceptCode"] = byteText(c[5]);
        s["acceptMask"] = byteText(c[4]);
    }
    return s;
}

BuiltScenario buildScenario(const Exchanges& ex, const std::string& comment) {
    BuiltScenario out;
    if (ex.list.empty()) {
        out.error = "the trace holds no frame sent to the box";
        return out;
    }
    BoxFindings box = inferBox(ex);
    out.notes = box.notes;
    Units units = unitsOf(ex);
    const PowerUp power = powerUpConnection(ex);
    const bool running = box.box["program"] == "running";
    // The ECU the driver talked to at power-up is one of its own when the terminal asked it
    // anything before configuring; its selection matches every configuration, so it stands
    // last, behind the ECUs the trace configures.
    const bool ownPowerUpUnit = running && power.connected && (power.asked || units.names.empty());
    if (ownPowerUpUnit) {
        units.selects.push_back(Json::object());
        units.names.push_back("at-power-up");
        box.box["connectedEcu"] = "at-power-up";
    } else if (running && power.connected) {
        box.box["connectedEcu"] = units.names.front();
    } else {
        box.box["connectedEcu"] = nullptr;
    }
    Json s = Json::object();
    s["comment"] = comment;
    s["box"] = box.box;
    s["timing"] = box.timing;
    s["ecus"] = Json::array();
    for (size_t i = 0; i < units.names.size(); ++i) {
        Json e = {{"name", units.names[i]}};
        if (!units.selects[i].empty()) e["select"] = units.selects[i];
        e["model"] = "table";
        e["config"] = Json::object();
        s["ecus"].push_back(e);
    }
    const Json faults = lineFaults(ex);
    if (!faults.empty()) s["faults"] = faults;

    sim::LoadResult loaded = sim::loadScenarioText(scenarioText(s), "scenario");
    if (!loaded.ok()) {
        out.error = "the box's part of the scenario does not load: " + loaded.error;
        return out;
    }
    Recording rec;
    rec.exchanges = &ex;
    rec.replyDelayMs = box.replyDelayMs;
    rec.asked.resize(units.names.size());
    rec.connections.resize(units.names.size());
    for (size_t i = 0; i < loaded.scenario->ecus.size(); ++i)
        loaded.scenario->ecus[i].ecu = std::make_unique<RecordingEcu>(i, rec);
    sim::Varbox sbox(std::move(*loaded.scenario));
    replayRequests(sbox, ex, [&](size_t i) { rec.current = i; });

    for (size_t i = 0; i < units.names.size(); ++i)
        s["ecus"][i]["config"] =
            tableConfig(rec.asked[i], rec.connections[i], out.notes, units.names[i]);
    out.notes.insert(out.notes.end(), rec.notes.begin(), rec.notes.end());
    for (const Exchange& e : ex.list)
        for (const TraceLine& l : e.after)
            if (l.kind == LineKind::ReceivedBad && !meantReply(e))
                out.notes.push_back("line " + std::to_string(l.number) +
                                    ": a damaged reply the simulated box cannot send as it came");
    out.scenario = std::move(s);
    return out;
}

}  // namespace corvan::trace
