// Building the model, system and variant pages of the shell from a vehicle file of 50,000
// lines (100 models, 50 systems each, 10 variants each), against a plain split of the same
// text into lines measured in the same run. The pages must come up in under 50 ms each.
//
// The rows alone (BM_*Rows) and whole pages (BM_*Page: the file read and descrambled for
// the model page, the rows put into the list, a screen pump after every line).
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/test_temp_dir.h"
#include "shell/menu_rows.h"
#include "shell/menu_text.h"
#include "shell/name_maps.h"
#include "shell/shell_app.h"
#include "shell/shell_host.h"
#include "ui/headless_screen.h"

namespace {

using namespace corvan;
using namespace corvan::shell;

constexpr int kModels = 100, kSystems = 50, kVariants = 10;
const char* kModel = "MODEL 050";
const char* kSystem = "SYSTEM 25";

std::string vehicleText() {
    static const std::string text = [] {
        std::string t;
        char line[256];
        for (int m = 0; m < kModels; ++m)
            for (int s = 0; s < kSystems; ++s)
                for (int v = 0; v < kVariants; ++v) {
                    std::snprintf(line, sizeof line,
                                  "L%05d¬MODEL %03d¬SYSTEM %02d¬VARIANT %02d - UNIT¬%s¬K¬M%03d.bmp¬"
                                  "OBD16.bmp¬M%03d_OBD.bmp\r\n",
                                  (m * kSystems + s) * kVariants + v, m, s, v,
                                  v % 3 ? "" : "RECORD.TXT", m, m);
                    t += line;
                }
        return t;
    }();
    return text;
}

void BM_PlainLineSplit(benchmark::State& state) {
    const std::string text = vehicleText();
    for (auto _ : state) {
        size_t lines = 0, pos = 0;
        for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

void BM_ModelRows(benchmark::State& state) {
    const std::string text = vehicleText();
    for (auto _ : state) benchmark::DoNotOptimize(modelRows(text));
}

void BM_SystemRows(benchmark::State& state) {
    const std::string text = vehicleText();
    const NameMaps names = BuildNameMaps(1);
    for (auto _ : state) benchmark::DoNotOptimize(systemRows(text, kModel, names));
}

void BM_VariantRows(benchmark::State& state) {
    const std::string text = vehicleText();
    const NameMaps names = BuildNameMaps(1);
    for (auto _ : state) benchmark::DoNotOptimize(variantRows(text, kModel, kSystem, names));
}

// A device root holding the brand's vehicle file, and a shell on the headless screen.
struct ShellBench {
    ShellBench() : root(dir.path()) {
        const auto file = dir.path() / "STORAGE CARD" / "CORVANDATA" / "Datos" / "BENCH.mnu";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << scrambleMenu(vehicleText());
        ui::ScriptLimits limits;
        limits.idleCloseAfter = LONG_MAX;  // nobody closes the pages behind the benchmark
        limits.maxPumps = LONG_MAX;
        screen.setScript({}, limits);
        host.screen = &screen;
        host.clock = &clock;
        host.root = &root;
        app = std::make_unique<ShellApp>(host);
        app->ShowModelPage("BENCH");
    }
    testing::TempDir dir;
    DeviceRoot root;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    ShellHost host;
    std::unique_ptr<ShellApp> app;
};

void BM_ModelPage(benchmark::State& state) {
    ShellBench b;
    for (auto _ : state) b.app->ShowModelPage("BENCH");
    state.counters["rows"] = b.app->page()->dialog().rowCount(100);
}

void BM_SystemPage(benchmark::State& state) {
    ShellBench b;
    for (auto _ : state) b.app->ShowSystemPage("BENCH", kModel);
    state.counters["rows"] = b.app->page()->dialog().rowCount(100);
}

void BM_VariantPage(benchmark::State& state) {
    ShellBench b;
    for (auto _ : state) b.app->ShowVariantPage("BENCH", kModel, kSystem);
    state.counters["rows"] = b.app->page()->dialog().rowCount(100);
}

BENCHMARK(BM_PlainLineSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SystemRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SystemPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantPage)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of every run so the ratios can be printed at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                ns[r.benchmark_name()] = r.GetAdjustedCPUTime() * 1e6;  // ms -> ns
    }
    std::map<std::string, double> ns;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto base = reporter.ns.find("BM_PlainLineSplit");
    if (base == reporter.ns.end() || base->second <= 0) return 0;
    std::printf("\nTime over a plain split of the 50,000 lines (target: each page under 50 ms):\n");
    for (const char* name : {"BM_ModelRows", "BM_SystemRows", "BM_VariantRows", "BM_ModelPage",
                             "BM_SystemPage", "BM_VariantPage"}) {
        const auto it = reporter.ns.find(name);
        if (it == reporter.ns.end()) continue;
        std::printf("%-16s %7.2f ms  %6.1f x\n", name, it->second / 1e6, it->second / base->second);
    }
    return 0;
}
