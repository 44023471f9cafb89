// The terminal against the limit of its line: each figure is the time the real code takes on
// the simulated box paced at 9600 baud, set against the wire bound of the same frames
// (their bytes at 10 bits each, counted in the same run) plus what the box, the ECU or the
// module's own prescribed pauses add and the line cannot avoid. A ratio of 1.00 is a
// terminal that adds nothing to its line. Runs on the real clock unless the name says
// "Virtual"; a summary table at the end says which figures met their limits.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/line_rig.h"
#include "bench/ten_live_items.h"
#include "bench/pty_line.h"
#include "platform/file_io.h"
#include "plugins/boxstart/box_startup.h"
#include "plugins/livedata/livedata.h"
#include "plugins/vagchannels/channel_reader.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/module_context.h"

namespace {

using namespace corvan;
using namespace corvan::bench;

// Hands every sleep of the module to the line's clock and adds up how long they were: the
// pauses the module took, as opposed to the waits of its reads on the port.
class PauseCountingClock final : public Clock {
  public:
    explicit PauseCountingClock(Clock& inner) : inner_(inner) {}
    int64_t nowUs() const override { return inner_.nowUs(); }
    void sleepUs(int64_t us) override {
        if (us <= 0) return;
        pausedUs += us;
        ++pauses[us / 1000];
        inner_.sleepUs(us);
    }
    CivilTime civilNow() const override { return inner_.civilNow(); }
    bool isVirtual() const override { return inner_.isVirtual(); }

    int64_t pausedUs = 0;
    std::map<int64_t, int> pauses;  // milliseconds -> how often

  private:
    Clock& inner_;
};

// --- One exchange -----------------------------------------------------------------------

const std::vector<uint8_t> kRequest = cmd::ecuRequest(std::vector<uint8_t>{0x1A, 0x80});

// Exchanges on `link` until the benchmark ends; the bound is the frames' wire time and the
// ECU's latency for each.
void exchanges(benchmark::State& state, VarboxLink& link, const FrameBytes& counter,
               const Clock& clock) {
    std::vector<uint8_t> reply(512);
    const uint64_t bytes0 = counter.bytes;
    const int64_t t0 = clock.nowUs();
    for (auto _ : state)
        if (Exchange(ModuleContext(link, 1, "EXE"), kRequest, reply) != kReplyFrame) {
            state.SkipWithError("no reply");
            return;
        }
    const double n = double(state.iterations());
    reportBound(state, double(clock.nowUs() - t0) / n,
                wireUs(counter.bytes - bytes0) / n + double(kEcuLatencyUs), 1.05);
}

void BM_ExchangeWithEcuLatency(benchmark::State& state) {
    RealClock clock;
    PacedLine line(clock, kLatencyScenario);
    exchanges(state, line.link, line.counter, clock);
}
BENCHMARK(BM_ExchangeWithEcuLatency)->Iterations(40)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same through the terminal's serial port on a pseudo-terminal, the simulator program
// pacing the far end.
void BM_ExchangeOverPseudoTerminal(benchmark::State& state) {
    ui::HeadlessScreen screen;
    PtyLine line(kLatencyScenario, screen);
    if (!line.port) {
        state.SkipWithError(line.error.c_str());
        return;
    }
    exchanges(state, line.link, line.counter, line.clock);
}
BENCHMARK(BM_ExchangeOverPseudoTerminal)
    ->Iterations(40)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// --- Live data ----------------------------------------------------------------------------

// Ten items on three requests, each answered after 25 ms.
const std::string kLiveScenario = std::string(R"({"box": {"program": "running"},
  "ecus": [{"model": "table", "config": {"delayMs": 25, "rules": [)") +
                                  kTenItemsRules + "]}}]}";

// Items per second of the polling cycle, as a time per item against the bound.
void BM_LiveDataTenItemsThreeRequests(benchmark::State& state) {
    RealClock clock;
    PacedLine line(clock, kLiveScenario);
    const int64_t t0 = clock.nowUs();
    for (auto _ : state) {
        // A silent run makes one polling cycle over every item.
        ModuleContext ctx(line.link, 1, "REPORT");
        livedata::runLiveData(ctx, PluginCall{kTenItems, 0, "REPORT", "BENCH"});
    }
    const double n = double(state.iterations());
    if (line.counter.sent != uint64_t(n) * kLiveRequests || !line.screen.messageBoxes().empty()) {
        state.SkipWithError("the polling did not get its answers");
        return;
    }
    const double items = n * kLiveItems;
    reportBound(state, double(clock.nowUs() - t0) / items,
                (wireUs(line.counter.bytes) + n * kLiveRequests * double(kEcuLatencyUs)) / items,
                0.95, true);
    state.counters["items_per_s"] = items / (double(clock.nowUs() - t0) * 1e-6);
}
BENCHMARK(BM_LiveDataTenItemsThreeRequests)
    ->Iterations(20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// --- VAG measuring groups -----------------------------------------------------------------

// A KW1281 unit answering group 1 after 20 ms; the box repeats its acknowledge.
constexpr int64_t kKw1281LatencyUs = 20000;
constexpr const char* kGroupScenario = R"({
  "box": {"keepAlive": "03 00 09 00", "keepAliveOn": true},
  "ecus": [{"name": "engine", "model": "kw1281", "config": {"delayMs": 20, "measuring": {"groups": [
    {"group": 1, "fields": [{"formula": 1, "a": 200, "b": 16}, {"formula": 5, "a": 10, "b": 135},
                            {"formula": 37, "a": 0, "b": 5}, {"formula": 44, "a": 12, "b": 30}]}]}}}]})";
const std::string kGroupRecord =
    "<MNU\r\n\tID=\t[M01]\r\n\tTEXT=\t[\"Measuring blocks\"]\r\n"
    "\tDLL=\t[VAGCHANNELS.DLL]\r\n\tFRAME=\t[04002900]\r\n"
    "@D001\t[\"Engine speed\"]\t[\"Coolant\"]\t[\"Idle\"]\t[\"Clock\"]\r\nENDDATA\r\n>\r\n";
// The waits of one read cycle of the reader: four of 50 ms.
constexpr int64_t kCycleWaitsUs = 4 * 50000;

// Notes when each group read went out and how many bytes the line had carried by then.
struct GroupReads final : FrameObserver {
    explicit GroupReads(const Clock& c, FrameBytes& b) : clock(c), bytes(b) {}
    void frameSent(std::span<const uint8_t> f) override {
        bytes.frameSent(f);
        static const uint8_t read[] = {0x80, 0x05, 0x20, 0x00, 0x04, 0x00, 0x29, 0x01};
        if (f.size() == sizeof read + 1 && std::equal(read, read + sizeof read, f.begin()))
            reads.push_back({clock.nowUs(), bytes.bytes});
    }
    void frameReceived(std::span<const uint8_t> f, bool good) override {
        bytes.frameReceived(f, good);
    }
    struct Read {
        int64_t atUs;
        uint64_t bytes;
    };
    const Clock& clock;
    FrameBytes& bytes;
    std::vector<Read> reads;
};

// Groups per second while reading, as a time per cycle against the bound: the cycle's
// frames, the unit's answer time and the reader's four waits.
void BM_VagMeasuringGroups(benchmark::State& state) {
    RealClock clock;
    PacedLine line(clock, kGroupScenario);
    GroupReads reads(clock, line.counter);
    line.host.frames = &reads;
    for (auto _ : state) {
        line.screen.loadScript(
            "type \"1\" into #1001\npress \"Begin\"\n"
            "after 60 pumps press \"Exit\"\n");
        ModuleContext ctx(line.link, 1, "EXE");
        vagchannels::runChannelReader(ctx, PluginCall{kGroupRecord, 0, "EXE", "BENCH"});
    }
    // The first read of a run sets the group up; the steady cycles are the later ones.
    if (reads.reads.size() < 10) {
        state.SkipWithError("the reader did not read its group");
        return;
    }
    const GroupReads::Read& a = reads.reads[2];
    const GroupReads::Read& b = reads.reads.back();
    const double cycles = double(reads.reads.size() - 3);
    reportBound(state, double(b.atUs - a.atUs) / cycles,
                wireUs(b.bytes - a.bytes) / cycles + double(kKw1281LatencyUs + kCycleWaitsUs), 0.95,
                true);
    state.counters["groups_per_s"] = cycles / (double(b.atUs - a.atUs) * 1e-6);
}
BENCHMARK(BM_VagMeasuringGroups)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// --- Driver download --------------------------------------------------------------------

constexpr size_t kDriverSize = 64 * 1024;

// A box with no program: the start-up downloads the driver, block after block.
constexpr const char* kEmptyBox = R"({"box": {"program": "none", "driverName": ""},
  "ecus": [{"name": "engine", "model": "table", "config": {}}]})";

std::vector<uint8_t> driverImage(std::string_view name, size_t size) {
    std::vector<uint8_t> image(size);
    for (size_t i = 0; i < size; ++i) image[i] = uint8_t(0x40 + i * 7);
    const std::string tag = "DRVNAME=" + std::string(name) + " ";
    std::copy(tag.begin(), tag.end(), image.begin());
    return image;
}

template <class ClockType>
void downloadDriver(benchmark::State& state) {
    double measuredUs = 0, boundUs = 0, pausedUs = 0;
    std::map<int64_t, int> pauses;
    for (auto _ : state) {
        state.PauseTiming();
        ClockType clock;
        PacedLine line(clock, kEmptyBox);
        PauseCountingClock counted(clock);
        line.host.clock = &counted;
        const std::vector<uint8_t> image = driverImage("KWP2000", kDriverSize);
        writeFileAtomic(line.dataFolder() / "drv" / "KWP2000.DRV",
                        std::string(image.begin(), image.end()));
        state.ResumeTiming();
        const int64_t t0 = clock.nowUs();
        const int outcome =
            boxstart::StartBox(ModuleContext(line.link, 1, "EXE"),
                               "STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV", "EXE", false);
        const int64_t spent = clock.nowUs() - t0;
        if (outcome != boxstart::kBoxStarted || line.box->driverName() != "KWP2000") {
            state.SkipWithError("the download did not bring the driver up");
            return;
        }
        measuredUs += double(spent - counted.pausedUs);
        pausedUs += double(counted.pausedUs);
        boundUs += wireUs(line.counter.bytes);
        for (const auto& [ms, n] : counted.pauses) pauses[ms] += n;
    }
    const double n = double(state.iterations());
    reportBound(state, measuredUs / n, boundUs / n, 1.10);
    state.counters["pauses_ms"] = pausedUs / n / 1000.0;
    std::string taken;
    for (const auto& [ms, count] : pauses)
        taken += " " + std::to_string(count / int(n)) + " x " + std::to_string(ms) + " ms";
    state.SetLabel("pauses taken:" + taken);
}

void BM_DriverDownload64KiBVirtual(benchmark::State& state) {
    downloadDriver<VirtualClock>(state);
}
void BM_DriverDownload64KiB(benchmark::State& state) {
    downloadDriver<RealClock>(state);
}
BENCHMARK(BM_DriverDownload64KiBVirtual)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DriverDownload64KiB)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BoundReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = reporter.summary();
    benchmark::Shutdown();
    return missed == 0 ? 0 : 3;
}
