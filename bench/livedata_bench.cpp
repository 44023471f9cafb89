// Live data's two costs. Decoding: a mixed catalogue (arithmetic, signed, 16-bit, bit state,
// table and hexadecimal items) decoded over and over, against formatting the same raw values
// with printf in the same run, the least any decoding must do. Polling: ten items sharing
// three requests, one cycle after another on the simulated box with line-rate pacing (9600
// baud, 10 bits a byte) and no ECU delay, timed on the virtual clock and set against the wire
// time of the frames: the ratio says how close the polling comes to what the line allows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/line_rig.h"
#include "bench/ten_live_items.h"
#include "platform/device_root.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "plugins/livedata/livedata.h"
#include "plugins/livedata/value_decoding.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace {

using namespace corvan;
using namespace corvan::bench;
using Clock = std::chrono::steady_clock;

constexpr double kBaud = 9600.0;
constexpr double kBitsPerByte = 10.0;

struct Item {
    const char* position;
    const char* conversion;
    const char* unit;
};

const Item kMixed[] = {
    {"2,3", "CAL *0.25;0", "\"rpm\""},
    {"4", "CAL *0.1;1", "\"mg\""},
    {"5", "CAL -40;0", "\"C\""},
    {"6", "CAL #*0.1|-256*0.1;2", "\"%\""},
    {"7", "LOG 3", "\"OFF\"/\"ON\""},
    {"8", "TBL GEARS", ""},
    {"0", "HEX", ""},
    {"9,10", "CAL *1+0.5/2;1", "\"mbar\""},
};
const std::string kAnswer = "61010C80405AC88802FF10";
const std::string kText =
    "<MNU\r\n@D001 [x] [2101] [2] [HEX] [] []\r\nENDDATA\r\n"
    "GEARS={\"N\",\"1\",\"2\",\"3\",\"4\",\"5\"}\r\n";

void BM_DecodeMixedCatalogue(benchmark::State& state) {
    double decodeNs = 0, baselineNs = 0;
    uint64_t decoded = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (const Item& i : kMixed)
            benchmark::DoNotOptimize(
                livedata::decodeGeneric(kAnswer, i.position, i.conversion, i.unit, kText));
        const auto t1 = Clock::now();
        for (const Item& i : kMixed) {
            // The baseline: the raw value written with one printf, as every value is shown.
            char out[32];
            const auto raw = livedata::rawValue(kAnswer, i.position);
            std::snprintf(out, sizeof out, "%.1f", static_cast<double>(raw.value_or(0)));
            benchmark::DoNotOptimize(std::string(out));
        }
        const auto t2 = Clock::now();
        decodeNs += std::chrono::duration<double, std::nano>(t1 - t0).count();
        baselineNs += std::chrono::duration<double, std::nano>(t2 - t1).count();
        decoded += std::size(kMixed);
    }
    state.counters["decodings_per_s"] = decoded / (decodeNs * 1e-9);
    state.counters["baseline_per_s"] = decoded / (baselineNs * 1e-9);
    state.counters["decoding_per_baseline"] = baselineNs / decodeNs;
}
BENCHMARK(BM_DecodeMixedCatalogue);

const std::string kPacedScenario = std::string(R"({"box": {"program": "running"},
  "timing": {"pacing": true, "baud": 9600},
  "ecus": [{"model": "table", "config": {"rules": [)") +
                                   kTenItemsRules + "]}}]}";

void BM_LiveItemsOnPacedLine(benchmark::State& state) {
    auto loaded = sim::loadScenarioText(kPacedScenario, "bench");
    if (!loaded.ok()) {
        state.SkipWithError(loaded.error.c_str());
        return;
    }
    sim::Varbox box(std::move(*loaded.scenario));
    VirtualClock clock;
    MemoryPort port(clock, box);
    ui::HeadlessScreen screen;
    FrameBytes counter;
    // An installation with its configuration file and nothing else.
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "STORAGE CARD");
    std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg")
        << "PATH=[STORAGE CARD\\CORVANDATA]\r\n";
    DeviceRoot root(dir.path());
    root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    HostServices host;
    host.root = &root;
    host.clock = &clock;
    host.screen = &screen;
    host.frames = &counter;
    VarboxLink link;
    link.port = &port;
    link.host = &host;
    double virtualUs = 0;
    uint64_t items = 0;
    for (auto _ : state) {
        const int64_t t0 = clock.nowUs();
        // A silent run makes one polling cycle over every item.
        ModuleContext ctx(link, 1, "REPORT");
        livedata::runLiveData(ctx, PluginCall{kTenItems, 0, "REPORT", "BENCH"});
        virtualUs += double(clock.nowUs() - t0);
        items += 10;
    }
    const double wireUs = double(counter.bytes) * kBitsPerByte * 1e6 / kBaud;
    if (screen.messageBoxes().size() > 0 || counter.bytes == 0) {
        const std::string why = screen.messageBoxes().empty() ? std::string("nothing on the line")
                                                              : screen.messageBoxes()[0].text;
        state.SkipWithError(("the polling did not get its answers: " + why).c_str());
        return;
    }
    state.counters["items_per_s"] = items / (virtualUs * 1e-6);
    state.counters["wire_items_per_s"] = items / (wireUs * 1e-6);
    state.counters["wire_per_virtual"] = wireUs / virtualUs;
}
BENCHMARK(BM_LiveItemsOnPacedLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
