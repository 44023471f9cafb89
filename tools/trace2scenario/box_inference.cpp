#include "tools/trace2scenario/box_inference.h"

#include <algorithm>
#include <array>
#include <optional>

#include "runtime/frame.h"
#include "sim/driver_memory.h"
#include "sim/hex_pattern.h"
#include "sim/registers.h"
#include "sim/varbox.h"

namespace corvan::trace {
namespace {

namespace cmd = sim::boxcmd;

uint8_t commandOf(const TraceLine& l) {
    return l.bytes.size() > 2 ? l.bytes[2] : 0;
}
bool flagged(const TraceLine& l) {
    return !l.bytes.empty() && (l.bytes[0] & frame::kFlag) != 0;
}
std::string lineRef(const TraceLine& l) {
    return "line " + std::to_string(l.number);
}

// The loader's replies have no flag bit, the running driver's have it: the first reply of
// the session tells which ran at power-up. A loader that reports a valid program in memory
// (program state 0xFF, or a start that succeeds before any download) holds a driver.
std::string powerUpProgram(const Exchanges& ex) {
    for (const Exchange& e : ex.list) {
        const TraceLine* r = e.reply();
        if (!r) continue;
        if (flagged(*r)) return "running";
        const auto d = frameData(r->bytes);
        const uint8_t c = commandOf(e.request);
        if (c == cmd::kProgramState && !d.empty()) return d[0] == 0xFF ? "loaded" : "none";
        if (c == cmd::kStart && !d.empty()) return d[0] == 1 ? "loaded" : "none";
        if (c == cmd::kBlock || c == cmd::kMemorySetup) return "none";
    }
    return "running";
}

// A text of the box as a scenario can carry it: bytes other than printable ASCII become
// "?" (said in a note; the check then shows the difference).
std::string boxText(std::vector<uint8_t>::const_iterator from,
                    std::vector<uint8_t>::const_iterator to, const TraceLine& line,
                    const char* what, BoxFindings& f) {
    std::string s(from, to);
    bool changed = false;
    for (char& c : s)
        if (uint8_t(c) < 0x20 || uint8_t(c) > 0x7E) c = '?', changed = true;
    if (changed)
        f.notes.push_back(std::string("the ") + what + " at " + lineRef(line) +
                          " holds bytes other than letters and digits; the scenario has \"?\" "
                          "in their place");
    return s;
}

// The name reply: 19 bytes, the name up to a blank or zero.
void readName(const TraceLine& r, std::string& name, bool& blank, BoxFindings& f) {
    const auto d = frameData(r.bytes);
    size_t n = 0;
    while (n < d.size() && d[n] != ' ' && d[n] != 0) ++n;
    blank = n < d.size() && d[n] == ' ';
    name = boxText(d.begin(), d.begin() + n, r, "name reply", f);
}

void inferNames(const Exchanges& ex, BoxFindings& f) {
    bool haveDriver = false, haveLoader = false, downloaded = false;
    std::optional<std::string> afterDownload;
    const TraceLine* afterDownloadLine = nullptr;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request);
        if (c == cmd::kBlock) downloaded = true;
        const TraceLine* r = e.reply();
        if (c != cmd::kDriverName || !r) continue;
        std::string name;
        bool blank = false;
        readName(*r, name, blank, f);
        if (!flagged(*r)) {
            if (!haveLoader) f.box["loaderName"] = name;
            haveLoader = true;
        } else if (!downloaded && !haveDriver) {
            // The simulated box keeps 18 characters (one for the blank); a longer name is
            // cut, and the check shows the difference.
            f.box["driverName"] = name.substr(0, sim::DriverMemory::kMaxName);
            if (!blank) f.box["nameBlank"] = false;
            haveDriver = true;
        } else if (downloaded && !afterDownload) {
            afterDownload = name;
            afterDownloadLine = r;
        }
    }
    if (!downloaded) return;
    // The box takes a downloaded driver's name from its image; an image without one is
    // reported under the fallback name, which is then the name this box reported.
    std::vector<uint8_t> image;
    bool loading = false;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request);
        const auto d = frameData(e.request.bytes);
        if (c == cmd::kMemorySetup && !d.empty() && d[0] != 0x80) {
            image.clear();
            loading = true;
        } else if (c == cmd::kBlock && loading && !(d.size() == 5 && d[0] == 0xEA)) {
            const TraceLine* r = e.reply();
            const auto rd = r ? frameData(r->bytes) : std::vector<uint8_t>{};
            if (rd.empty() || rd[0] != 0x0A) image.insert(image.end(), d.begin(), d.end());
        } else if (c == cmd::kBlock && loading) {
            loading = false;
        }
    }
    const std::string announced = sim::DriverMemory::nameInImage(image);
    if (!afterDownload) return;
    if (announced.empty()) {
        f.box["download"]["fallbackName"] = *afterDownload;
    } else if (announced != *afterDownload) {
        f.notes.push_back("the downloaded image announces the driver \"" + announced +
                          "\" but the box reported \"" + *afterDownload + "\" (" +
                          lineRef(*afterDownloadLine) +
                          "); the simulated box reports the image's name");
    }
}

// Refused blocks and downloads whose final check failed.
void inferDownload(const Exchanges& ex, BoxFindings& f) {
    int accepted = 0, refusedBlock = -1, refusals = 0, failed = 0;
    bool ended = false, otherBlocks = false;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request);
        const auto d = frameData(e.request.bytes);
        const TraceLine* r = e.reply();
        const auto rd = r ? frameData(r->bytes) : std::vector<uint8_t>{};
        if (c == cmd::kMemorySetup && !d.empty() && d[0] != 0x80 && !ended) accepted = 0;
        if (c == cmd::kBlock && d.size() == 5 && d[0] == 0xEA) {
            ended = true;
        } else if (c == cmd::kBlock) {
            if (!rd.empty() && rd[0] == 0x0A) {
                if (refusedBlock >= 0 && refusedBlock != accepted) otherBlocks = true;
                refusedBlock = accepted;
                ++refusals;
            } else {
                ++accepted;
            }
        }
        // The program state right after a transfer end says whether it was good.
        if (c == cmd::kProgramState && ended) {
            if (!rd.empty() && rd[0] != 0xFF) ++failed;
            ended = false;
        }
    }
    if (refusals > 0) {
        f.box["download"]["refuseBlock"] = refusedBlock;
        f.box["download"]["refuseTimes"] = refusals;
    }
    if (otherBlocks)
        f.notes.push_back(
            "the box refused more than one block of the download; the simulated "
            "box refuses only the last of them");
    if (failed > 0) f.box["download"]["failDownloads"] = failed;
}

// The connection state reply: state, five voltage characters, five driver code bytes, the
// checksum flag. The simulated box reports one voltage for the whole session.
void inferState(const Exchanges& ex, BoxFindings& f) {
    const TraceLine* first = nullptr;
    for (const Exchange& e : ex.list) {
        const TraceLine* r = e.reply();
        if (commandOf(e.request) != cmd::kConnection || !r || commandOf(*r) != cmd::kConnection)
            continue;
        const auto d = frameData(r->bytes);
        if (d.size() < 12) continue;
        if (!first) {
            first = r;
            f.box["voltage"] = boxText(d.begin() + 1, d.begin() + 6, *r, "voltage", f);
            f.box["driverCode"] = hexText({d.begin() + 6, d.begin() + 11});
            f.box["checksumFlag"] = d[11];
            continue;
        }
        const auto d0 = frameData(first->bytes);
        if (!std::equal(d.begin() + 1, d.begin() + 12, d0.begin() + 1)) {
            f.notes.push_back("the box's state reply changed its voltage or codes at " +
                              lineRef(*r) + "; the simulated box keeps those of " +
                              lineRef(*first));
            return;
        }
    }
}

// The keep-alive message and the configuration template as the box held them before the
// terminal changed them.
void inferKeepAliveAndTemplate(const Exchanges& ex, BoxFindings& f) {
    bool keepAliveSet = false, configWritten = false;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request);
        const TraceLine* r = e.reply();
        if (c == cmd::kKeepAliveSet || c == cmd::kReset) keepAliveSet = true;
        if (c == cmd::kConfigWrite) configWritten = true;
        if (!r) continue;
        const auto d = frameData(r->bytes);
        if (c == cmd::kKeepAliveRead && !keepAliveSet && !d.empty() &&
            !f.box.contains("keepAlive")) {
            f.box["keepAlive"] = hexText({d.begin() + 1, d.end()});
            if (d[0]) f.box["keepAliveOn"] = true;
        }
        if (c == cmd::kConfigRead && !configWritten && d.size() == 40 &&
            !f.box.contains("configTemplate"))
            f.box["configTemplate"] = hexText(d);
    }
}

// One register access of the session, as the cables are tried against it.
struct RegisterStep {
    enum { Read, Write, Reset, Probe } kind;
    uint8_t reg = 0, value = 0;
    const TraceLine* line = nullptr;
};

std::vector<RegisterStep> registerSteps(const Exchanges& ex) {
    std::vector<RegisterStep> steps;
    for (const Exchange& e : ex.list) {
        const uint8_t c = commandOf(e.request);
        const auto d = frameData(e.request.bytes);
        const TraceLine* r = e.reply();
        const auto rd = r ? frameData(r->bytes) : std::vector<uint8_t>{};
        if (c == cmd::kRegRead && !d.empty() && r && commandOf(*r) == cmd::kRegRead && !rd.empty())
            steps.push_back({RegisterStep::Read, d[0], rd[0], r});
        if (c == cmd::kRegWrite && d.size() >= 4)
            for (size_t k = 0; k < d[0] && 1 + 3 * k + 2 < d.size(); ++k)
                steps.push_back({RegisterStep::Write, d[1 + 3 * k], d[3 + 3 * k], &e.request});
        if (c == cmd::kReset) steps.push_back({RegisterStep::Reset, 0, 0, &e.request});
        if (c == cmd::kProbe && r && commandOf(*r) == cmd::kProbe && !rd.empty())
            steps.push_back({RegisterStep::Probe, 0, rd[0], r});
    }
    return steps;
}

// The first step whose read the cable does not reproduce, or null.
const TraceLine* firstMismatch(const std::vector<RegisterStep>& steps, const sim::Wiring& w,
                               const std::array<uint8_t, 256>& initial) {
    sim::RegisterFile regs(w, initial);
    for (const RegisterStep& s : steps) {
        switch (s.kind) {
            case RegisterStep::Read:
                if (regs.read(s.reg) != s.value) return s.line;
                break;
            case RegisterStep::Write:
                regs.write(s.reg, s.value);
                break;
            case RegisterStep::Reset:
                regs.reset();
                break;
            case RegisterStep::Probe:
                if (regs.probeAnswer() != s.value) return s.line;
                break;
        }
    }
    return nullptr;
}

// The power-up registers are what the box reads before the terminal writes them (a reset
// brings them back); the input bits of 0x08 follow the cable and are never stored. The cable
// is the first of the simulator's that answers every register read and the probe as recorded.
void inferRegisters(const Exchanges& ex, BoxFindings& f) {
    const auto steps = registerSteps(ex);
    if (steps.empty()) return;
    std::array<uint8_t, 256> initial{};
    std::array<bool, 256> known{}, written{};
    for (const RegisterStep& s : steps) {
        if (s.kind == RegisterStep::Write) written[s.reg] = true;
        if (s.kind != RegisterStep::Read || known[s.reg] || written[s.reg]) continue;
        known[s.reg] = true;
        initial[s.reg] = s.reg == sim::RegisterFile::kInputs ? uint8_t(s.value & ~0x1E) : s.value;
    }
    using sim::Adapter;
    const Adapter cables[] = {Adapter::Obd2, Adapter::Mb,   Adapter::Sae,  Adapter::Niss,
                              Adapter::Klia, Adapter::None, Adapter::Canyk};
    const std::optional<bool> loops[] = {std::nullopt, true, false};
    const TraceLine* worst = nullptr;
    for (Adapter a : cables)
        for (const auto& loop : loops)
            for (bool held : {false, true}) {
                sim::Wiring w;
                w.adapter = a;
                w.outputLoop = loop;
                w.loopInputHeld = held;
                const TraceLine* bad = firstMismatch(steps, w, initial);
                if (!bad) {
                    f.box["adapter"] = sim::adapterName(a);
                    if (loop) f.box["outputLoop"] = *loop;
                    if (held) f.box["loopInputHeld"] = true;
                    Json regs = Json::object();
                    for (size_t r = 0; r < 256; ++r)
                        if (initial[r]) regs[hexText({uint8_t(r)})] = hexText({initial[r]});
                    if (!regs.empty()) f.box["registers"] = regs;
                    return;
                }
                if (!worst || bad->number > worst->number) worst = bad;
            }
    f.notes.push_back(
        "no adapter cable of the simulator answers the register reads as the box "
        "did (first difference at best " +
        lineRef(*worst) + "); the scenario keeps the OBDII cable");
}

// The box's turnaround: the quickest reply of the session. ECUs answer later by their own
// delay on top of it.
int64_t quickestReply(const Exchanges& ex) {
    constexpr int64_t kMaxTurnaroundMs = 600000;
    std::optional<int64_t> best;
    for (const Exchange& e : ex.list)
        if (const TraceLine* r = e.reply()) {
            const int64_t d = r->ms - e.request.ms;
            if (!best || d < *best) best = d;
        }
    return std::min(best.value_or(0), kMaxTurnaroundMs);
}

}  // namespace

std::vector<uint8_t> frameData(const std::vector<uint8_t>& f) {
    if (f.size() < 4) return {};
    return {f.begin() + 3, f.end() - 1};
}

std::string hexText(const std::vector<uint8_t>& bytes) {
    return sim::formatHex(bytes);
}

BoxFindings inferBox(const Exchanges& ex) {
    BoxFindings f;
    f.box["program"] = powerUpProgram(ex);
    inferNames(ex, f);
    inferDownload(ex, f);
    inferState(ex, f);
    inferKeepAliveAndTemplate(ex, f);
    inferRegisters(ex, f);
    f.replyDelayMs = quickestReply(ex);
    f.timing["replyDelayMs"] = f.replyDelayMs;
    return f;
}

}  // namespace corvan::trace
