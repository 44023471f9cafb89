// Building the model, system and variant pages of the shell from a vehicle file of 50,000
// lines, against a plain split of the same text into lines measured in the same run. The
// pages must come up in under 50 ms each.
//
// The rows alone (BM_*Rows) and whole pages on the headless screen (BM_*Page: the file read
// and descrambled for the model page, the rows put into the list, a screen pump after every
// line). bench_shell_program times the same pages on the Qt screen.
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdio>
#include <string>

#include "bench/shell_bench_support.h"
#include "shell/menu_rows.h"
#include "shell/name_maps.h"
#include "ui/headless_screen.h"

namespace {

using namespace corvan;
using namespace corvan::shell;
using namespace corvan::shell::bench;

void BM_Descramble(benchmark::State& state) {
    const std::string file = scrambleMenu(vehicleText());
    for (auto _ : state) benchmark::DoNotOptimize(descrambleMenu(file));
}

void BM_ModelRows(benchmark::State& state) {
    const std::string& text = vehicleText();
    for (auto _ : state) benchmark::DoNotOptimize(modelRows(text));
}

void BM_SystemRows(benchmark::State& state) {
    const std::string& text = vehicleText();
    const NameMaps names = BuildNameMaps(1);
    for (auto _ : state) benchmark::DoNotOptimize(systemRows(text, kModel, names));
}

void BM_VariantRows(benchmark::State& state) {
    const std::string& text = vehicleText();
    const NameMaps names = BuildNameMaps(1);
    for (auto _ : state) benchmark::DoNotOptimize(variantRows(text, kModel, kSystem, names));
}

// The headless screen, with nobody closing the pages behind the benchmark.
struct HeadlessShell {
    HeadlessShell() {
        ui::ScriptLimits limits;
        limits.idleCloseAfter = LONG_MAX;
        limits.maxPumps = LONG_MAX;
        screen.setScript({}, limits);
    }
    ui::HeadlessScreen screen;
    ShellOnScreen shell{screen};
};

void BM_ModelPage(benchmark::State& state) {
    HeadlessShell b;
    for (auto _ : state) b.shell.app->ShowModelPage(kBrand);
    state.counters["rows"] = b.shell.app->page()->dialog().rowCount(100);
}

void BM_SystemPage(benchmark::State& state) {
    HeadlessShell b;
    for (auto _ : state) b.shell.app->ShowSystemPage(kBrand, kModel);
    state.counters["rows"] = b.shell.app->page()->dialog().rowCount(100);
}

void BM_VariantPage(benchmark::State& state) {
    HeadlessShell b;
    for (auto _ : state) b.shell.app->ShowVariantPage(kBrand, kModel, kSystem);
    state.counters["rows"] = b.shell.app->page()->dialog().rowCount(100);
}

BENCHMARK(PlainLineSplit)->Name("BM_PlainLineSplit")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Descramble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SystemRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SystemPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VariantPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf(
        "\nCPU time over a plain split of the 50,000 lines (target: each page under 50 "
        "ms):\n");
    reporter.print("BM_PlainLineSplit",
                   {"BM_Descramble", "BM_ModelRows", "BM_SystemRows", "BM_VariantRows",
                    "BM_ModelPage", "BM_SystemPage", "BM_VariantPage"},
                   false);
    return 0;
}
