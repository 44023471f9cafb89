#include "tools/trace2scenario/replay.h"

#include "runtime/frame.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"

namespace corvan::trace {
namespace {

constexpr size_t kMaxDifferences = 20;

// Splits what the box sent for one request into frames by their headers; bytes that do not
// make a whole frame are kept as the last (partial) one.
std::vector<ReplayedFrame> framesOf(ByteQueue& q) {
    std::vector<ReplayedFrame> out;
    ReplayedFrame cur;
    size_t want = 0;
    while (!q.empty()) {
        const int64_t at = q.frontTime();
        cur.bytes.push_back(q.pop());
        cur.ms = at / 1000;
        if (cur.bytes.size() == 2) want = frame::dataLength(cur.bytes[0], cur.bytes[1]) + 4;
        if (cur.bytes.size() >= 2 && cur.bytes.size() == want) {
            out.push_back(std::move(cur));
            cur = {};
        }
    }
    if (!cur.bytes.empty()) out.push_back(std::move(cur));
    return out;
}

bool isFrameLine(const TraceLine& l) {
    return l.kind == LineKind::Received || l.kind == LineKind::ReceivedBad;
}

}  // namespace

std::vector<std::vector<ReplayedFrame>> replayRequests(sim::Varbox& box, const Exchanges& exchanges,
                                                       const std::function<void(size_t)>& before) {
    std::vector<std::vector<ReplayedFrame>> out;
    out.reserve(exchanges.list.size());
    ByteQueue q;
    for (size_t i = 0; i < exchanges.list.size(); ++i) {
        const Exchange& e = exchanges.list[i];
        const int64_t us = e.request.ms * 1000;
        if (before) before(i);
        box.poll(us, q);
        q.clear();
        if (e.request.kind == LineKind::Sent) box.received(e.request.bytes, us, q);
        out.push_back(framesOf(q));
        // The terminal opened the line again after a hang-up.
        for (const TraceLine& l : e.after)
            if (l.kind == LineKind::Reopened) box.reconnect();
    }
    return out;
}

std::optional<MeantReply> meantReply(const Exchange& e) {
    if (e.after.empty() || !isFrameLine(e.after.front())) return std::nullopt;
    const TraceLine& l = e.after.front();
    MeantReply m{l.bytes, l.ms, false, &l};
    if (l.kind == LineKind::Received) return m;
    if (m.frame.size() < 4 || frame::dataLength(m.frame[0], m.frame[1]) + 4 != m.frame.size())
        return std::nullopt;
    m.frame.back() ^= 0xFF;
    if (frame::xorOf(m.frame) != 0) return std::nullopt;
    m.corrupted = true;
    return m;
}

ReplayCheck compareReplay(const Exchanges& exchanges,
                          const std::vector<std::vector<ReplayedFrame>>& replayed) {
    ReplayCheck c;
    auto differ = [&](const std::string& s) {
        if (c.differences.size() < kMaxDifferences) c.differences.push_back(s);
    };
    for (size_t i = 0; i < exchanges.list.size() && i < replayed.size(); ++i) {
        const Exchange& e = exchanges.list[i];
        std::vector<const TraceLine*> recorded;
        for (const TraceLine& l : e.after)
            if (isFrameLine(l)) recorded.push_back(&l);
        const auto& got = replayed[i];
        const std::string at = "line " + std::to_string(e.request.number);
        if (recorded.size() != got.size()) {
            differ(at + ": the box answered with " + std::to_string(recorded.size()) +
                   " frame(s), the simulated box with " + std::to_string(got.size()) +
                   (got.empty() ? "" : " (" + sim::formatHex(got.front().bytes) + ")"));
            continue;
        }
        for (size_t k = 0; k < got.size(); ++k) {
            ++c.framesCompared;
            if (got[k].bytes != recorded[k]->bytes) {
                differ("line " + std::to_string(recorded[k]->number) + ": recorded " +
                       sim::formatHex(recorded[k]->bytes) + ", simulated " +
                       sim::formatHex(got[k].bytes));
            } else if (got[k].ms != recorded[k]->ms) {
                ++c.timesDiffering;
            }
        }
    }
    if (c.differences.size() == kMaxDifferences)
        c.differences.push_back("(more differences left out)");
    return c;
}

ReplayCheck checkScenario(const std::string& scenarioText, const Exchanges& exchanges) {
    sim::LoadResult r = sim::loadScenarioText(scenarioText, "scenario");
    if (!r.ok()) {
        ReplayCheck c;
        c.differences.push_back("the scenario does not load: " + r.error);
        return c;
    }
    sim::Varbox box(std::move(*r.scenario));
    return compareReplay(exchanges, replayRequests(box, exchanges));
}

}  // namespace corvan::trace
