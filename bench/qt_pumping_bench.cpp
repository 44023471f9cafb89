// The terminal's processor time per exchange while the Qt front end is pumping: the box
// start-up's progress window is open and the pumping form of the exchange dispatches the
// window's events before every read of the reply, as during a start-up. The exchange runs
// over a pseudo-terminal to the simulator program pacing the far end at 9600 baud, so the
// process measured holds the terminal alone. Its processor time (all its threads, Qt's
// included) per exchange is set against the wire time of the exchange's frames; the same
// with the headless screen stands beside it. Offscreen unless a display is there
// (`xvfb-run -a bench/bench_qt_pumping` for a real X server).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "bench/line_rig.h"
#include "bench/pty_line.h"
#include "plugins/boxstart/progress_window.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "ui/qt/qt_screen.h"

namespace {

using namespace corvan;
using namespace corvan::bench;

constexpr int kWarmUpExchanges = 5;

double processCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

void pumpingExchanges(benchmark::State& state, ui::Screen& screen) {
    PtyLine line(kLatencyScenario, screen);
    if (!line.port) {
        state.SkipWithError(line.error.c_str());
        return;
    }
    const ModuleContext ctx(line.link, 1, "EXE");
    boxstart::ProgressWindow window(ctx, "BENCH", true);
    const std::vector<uint8_t> request = cmd::ecuRequest(std::vector<uint8_t>{0x1A, 0x80});
    std::vector<uint8_t> reply(512);
    int progress = 0;
    auto exchange = [&] {
        window.setProgress(progress = (progress + 1) % 100);
        return ExchangePumping(ctx, request, reply, 4, 0, 100, "") == kReplyFrame;
    };
    // The window's first paint (its fonts and glyphs loaded, every control drawn) is the
    // start-up's once, not an exchange's: a few exchanges go before the measurement.
    for (int i = 0; i < kWarmUpExchanges; ++i)
        if (!exchange()) return state.SkipWithError("no reply");
    const uint64_t bytes0 = line.counter.bytes;
    const double cpu0 = processCpuUs();
    for (auto _ : state) {
        if (!exchange()) return state.SkipWithError("no reply");
    }
    const double n = double(state.iterations());
    reportBound(state, (processCpuUs() - cpu0) / n, wireUs(line.counter.bytes - bytes0) / n, 0.01);
}

void BM_CpuPerExchangeQtPumping(benchmark::State& state) {
    ui::qt::QtScreen screen;
    pumpingExchanges(state, screen);
}
void BM_CpuPerExchangeHeadless(benchmark::State& state) {
    ui::HeadlessScreen screen;
    pumpingExchanges(state, screen);
}
BENCHMARK(BM_CpuPerExchangeQtPumping)
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CpuPerExchangeHeadless)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::printf("Qt platform: %s\n", qPrintable(QGuiApplication::platformName()));
    BoundReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = reporter.summary();
    benchmark::Shutdown();
    return missed == 0 ? 0 : 3;
}
