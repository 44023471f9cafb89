#include "sim/faults.h"

#include <algorithm>

namespace corvan::sim {
namespace {

struct Named {
    FaultKind kind;
    const char* name;
};
constexpr Named kNames[] = {
    {FaultKind::Silence, "silence"},
    {FaultKind::CorruptCheck, "corruptCheck"},
    {FaultKind::Truncate, "truncate"},
    {FaultKind::Overlong, "overlong"},
    {FaultKind::Endless, "endless"},
    {FaultKind::Garbage, "garbage"},
    {FaultKind::Late, "late"},
    {FaultKind::HangUp, "hangUp"},
    {FaultKind::Disconnect, "disconnect"},
};

}  // namespace

std::vector<uint8_t> defaultGarbage() {
    static constexpr uint8_t kBytes[] = {0x55, 0xAA, 0x13};
    return std::vector<uint8_t>(std::begin(kBytes), std::end(kBytes));
}

const char* faultName(FaultKind k) {
    for (const Named& n : kNames)
        if (n.kind == k) return n.name;
    return "?";
}

std::optional<FaultKind> faultFromName(const std::string& name) {
    for (const Named& n : kNames)
        if (name == n.name) return n.kind;
    return std::nullopt;
}

std::vector<Fault> FaultPlan::take(uint8_t command) {
    std::vector<Fault> due;
    for (Fault& f : faults_) {
        if (f.command && *f.command != command) continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        if (f.count == 0) continue;
        due.push_back(f);
        if (f.count > 0) --f.count;
    }
    std::erase_if(faults_, [](const Fault& f) { return f.count == 0; });
    return due;
}

FaultEffect FaultPlan::effect(const std::vector<Fault>& due) {
    FaultEffect e;
    for (const Fault& f : due) {
        switch (f.kind) {
            case FaultKind::Silence:
                e.silence = true;
                break;
            case FaultKind::HangUp:
                e.hangUp = true;
                e.comesBack = e.comesBack || f.comesBack;
                break;
            case FaultKind::Disconnect:
                e.disconnect = true;
                break;
            case FaultKind::Late:
                e.extraDelayUs += f.delayUs;
                break;
            default:
                break;
        }
    }
    return e;
}

void FaultPlan::apply(const std::vector<Fault>& due, std::vector<uint8_t>& reply) {
    for (const Fault& f : due) {
        switch (f.kind) {
            case FaultKind::CorruptCheck:
                if (!reply.empty()) reply.back() ^= 0xFF;
                break;
            case FaultKind::Truncate: {
                const size_t keep = f.keep < 0 ? (reply.empty() ? 0 : reply.size() - 1)
                                               : std::min(reply.size(), size_t(f.keep));
                reply.resize(keep);
                break;
            }
            case FaultKind::Overlong:
                if (reply.size() >= 2) {
                    reply[0] = uint8_t((reply[0] & 0x80) | ((f.length >> 8) & 0x7F));
                    reply[1] = uint8_t(f.length & 0xFF);
                }
                break;
            case FaultKind::Endless: {
                reply.assign(size_t(std::max(f.bytes, 0)), 0);
                // A pattern that never looks like a quiet line or a frame header of zeros.
                for (size_t i = 0; i < reply.size(); ++i) reply[i] = uint8_t(0x41 + i % 26);
                break;
            }
            case FaultKind::Garbage:
                reply.insert(f.before ? reply.begin() : reply.end(), f.garbage.begin(),
                             f.garbage.end());
                break;
            default:
                break;
        }
    }
}

}  // namespace corvan::sim
