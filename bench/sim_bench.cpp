// What the simulated box costs, and how faithfully it keeps the line's time.
//
// An identification exchange through the in-memory line to the simulator (frame reader,
// command dispatch, table ECU, reply scheduling; pacing off, virtual clock) is timed
// against the same bytes answered by a box that only replays a fixed reply: the ratio is
// the simulator's own overhead. Then the same exchange runs with line-rate pacing on the
// real clock, and its measured time is set against the computed wire time at 9600 baud.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/testing/fake_screen.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"

namespace {

using namespace corvan;

constexpr const char* kScenario = R"({
  "ecus": [{"model": "table", "config": {"rules": [
    {"request": "1A 9B", "reply": "5A 9B 01 2C"},
    {"request": "1A 8C", "reply": "5A 8C 40 E2 01 00"},
    {"request": "1A 80", "reply": "5A 80 39 30 43 39 30 36 30 32 31 41 42 30 30 31 30 01 07 07 03 0F 12 34 AB CD"}]}}]})";

const std::vector<uint8_t> kRequest = cmd::ecuRequest(std::vector<uint8_t>{0x1A, 0x80});

sim::Scenario scenario(bool pacing) {
    sim::LoadResult r = sim::loadScenarioText(kScenario, "bench");
    if (!r.ok()) {
        std::fprintf(stderr, "%s\n", r.error.c_str());
        std::abort();
    }
    r.scenario->timing.pacing = pacing;
    return std::move(*r.scenario);
}

// Replays one fixed reply after every whole request: the cheapest possible far end.
class ReplayBox final : public ByteDevice {
  public:
    std::vector<uint8_t> reply;
    size_t requestSize = 0;
    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override {
        got_ += bytes.size();
        if (got_ < requestSize) return;
        got_ = 0;
        for (uint8_t b : reply) out.push(b, nowUs);
    }

  private:
    size_t got_ = 0;
};

struct Host {
    explicit Host(Clock& c, SerialPort& port) {
        host.clock = &c;
        host.screen = &screen;
        link.port = &port;
        link.host = &host;
    }
    int exchange(std::vector<uint8_t>& reply) {
        return Exchange(ModuleContext(link, 1, "EXE"), kRequest, reply);
    }
    testing::FakeScreen screen;
    HostServices host;
    VarboxLink link;
};

std::vector<uint8_t> simReply() {
    VirtualClock clock;
    sim::Varbox box(scenario(false));
    MemoryPort port(clock, box);
    Host h(clock, port);
    std::vector<uint8_t> reply(512);
    reply.resize(size_t(h.exchange(reply)));
    return reply;
}

void BM_SimulatorExchange(benchmark::State& state) {
    VirtualClock clock;
    sim::Varbox box(scenario(false));
    MemoryPort port(clock, box);
    Host h(clock, port);
    std::vector<uint8_t> reply(512);
    for (auto _ : state)
        if (h.exchange(reply) != 31) state.SkipWithError("no reply");
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Baseline: the same request and reply bytes, replayed.
void BM_ReplayExchange(benchmark::State& state) {
    VirtualClock clock;
    ReplayBox box;
    box.reply = simReply();
    box.requestSize = kRequest.size() + 1;
    MemoryPort port(clock, box);
    Host h(clock, port);
    std::vector<uint8_t> reply(512);
    for (auto _ : state)
        if (h.exchange(reply) != 31) state.SkipWithError("no reply");
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The wire time of one exchange: 7 request bytes and 31 reply bytes of 10 bits at 9600 baud.
constexpr double kWireSeconds = (7 + 31) * 10.0 / 9600.0;

void BM_PacedExchangeRealTime(benchmark::State& state) {
    RealClock clock;
    sim::Varbox box(scenario(true));
    MemoryPort port(clock, box);
    Host h(clock, port);
    std::vector<uint8_t> reply(512);
    for (auto _ : state)
        if (h.exchange(reply) != 31) state.SkipWithError("no reply");
    state.counters["wire_ms"] = kWireSeconds * 1e3;
}

BENCHMARK(BM_SimulatorExchange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplayExchange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PacedExchangeRealTime)->Iterations(25)->UseRealTime()->Unit(benchmark::kMillisecond);

// Keeps the time per iteration of every run for the ratios printed at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                // Adjusted times are in the run's own unit.
                const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(r.time_unit);
                cpuNs[r.benchmark_name()] = r.GetAdjustedCPUTime() * toNs;
                realNs[r.benchmark_name()] = r.GetAdjustedRealTime() * toNs;
            }
    }
    std::map<std::string, double> cpuNs, realNs;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter r;
    benchmark::RunSpecifiedBenchmarks(&r);
    const auto sim = r.cpuNs.find("BM_SimulatorExchange");
    const auto replay = r.cpuNs.find("BM_ReplayExchange");
    if (sim != r.cpuNs.end() && replay != r.cpuNs.end() && replay->second > 0)
        std::printf("\nSimulator exchange / replayed exchange = %.2f (%.0f frames/s)\n",
                    sim->second / replay->second, 1e9 / sim->second);
    const auto paced = r.realNs.find("BM_PacedExchangeRealTime/iterations:25/real_time");
    if (paced != r.realNs.end())
        std::printf("Paced exchange: measured %.2f ms, wire %.2f ms, measured/wire = %.3f\n",
                    paced->second / 1e6, kWireSeconds * 1e3, paced->second / (kWireSeconds * 1e9));
    benchmark::Shutdown();
    return 0;
}
