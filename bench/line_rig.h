#pragma once
// What the line benchmarks share: the simulated box with line-rate pacing behind the
// in-memory line on a chosen clock, an installation folder, the headless screen, the count
// of every byte of every frame on the line, and the wire bound of those bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "runtime/host_services.h"
#include "runtime/varbox_link.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::bench {

inline constexpr double kBaud = 9600.0;
inline constexpr double kBitsPerByte = 10.0;  // start, 8 data, stop

// Microseconds the line needs for `bytes` bytes.
inline double wireUs(uint64_t bytes) {
    return double(bytes) * kBitsPerByte * 1e6 / kBaud;
}

// Counts the bytes of every frame on the line, both ways, and the frames sent.
struct FrameBytes final : FrameObserver {
    void frameSent(std::span<const uint8_t> f) override {
        bytes += f.size();
        ++sent;
    }
    void frameReceived(std::span<const uint8_t> f, bool) override { bytes += f.size(); }
    uint64_t bytes = 0, sent = 0;
};

// The scenario's box, paced at 9600 baud, on `clock`, in an installation whose iCor.cfg
// names the data path. A scenario that does not load ends the benchmark program.
struct PacedLine {
    PacedLine(Clock& c, std::string_view scenarioJson) : clock(c), root(dir.path()) {
        sim::LoadResult loaded = sim::loadScenarioText(scenarioJson, "bench");
        if (!loaded.ok()) {
            std::fprintf(stderr, "bench scenario: %s\n", loaded.error.c_str());
            std::exit(2);
        }
        loaded.scenario->timing.pacing = true;
        loaded.scenario->timing.baud = int(kBaud);
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        const std::filesystem::path card = dir.path() / "STORAGE CARD";
        std::filesystem::create_directories(card / "CORVANDATA" / "drv");
        std::ofstream(card / "iCor.cfg") << "PATH=[STORAGE CARD\\CORVANDATA]\r\n";
        root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        host.root = &root;
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &counter;
        link.port = port.get();
        link.host = &host;
    }
    std::filesystem::path dataFolder() const { return dir.path() / "STORAGE CARD" / "CORVANDATA"; }

    Clock& clock;
    testing::TempDir dir;
    DeviceRoot root;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    ui::HeadlessScreen screen;
    FrameBytes counter;
    HostServices host;
    VarboxLink link;
};

// One figure against its bound: the benchmark sets the counters "measured_ms", "bound_ms"
// and "limit" (the ratio the figure must keep under, or over for a rate with "at_least");
// the reporter prints them all as one table at the end.
inline void reportBound(benchmark::State& state, double measuredUs, double boundUs, double limit,
                        bool atLeast = false) {
    state.counters["measured_ms"] = measuredUs / 1000.0;
    state.counters["bound_ms"] = boundUs / 1000.0;
    state.counters["ratio"] = boundUs > 0 ? measuredUs / boundUs : 0;
    state.counters["limit"] = limit;
    state.counters["at_least"] = atLeast ? 1 : 0;
}

class BoundReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
            const auto c = [&r](const char* name) {
                const auto it = r.counters.find(name);
                return it == r.counters.end() ? -1.0 : double(it->second);
            };
            if (c("limit") < 0) continue;
            rows_.push_back({r.benchmark_name(), c("measured_ms"), c("bound_ms"), c("ratio"),
                             c("limit"), c("at_least") > 0});
        }
    }
    // Prints the table; returns how many figures missed their limit.
    int summary() const {
        int missed = 0;
        std::printf("\n%-58s %12s %12s %8s %10s\n", "figure", "measured ms", "bound ms", "ratio",
                    "limit");
        for (const Row& w : rows_) {
            // A rate is measured as time per unit: its ratio is bound over measured.
            const double ratio = w.atLeast ? (w.ratio > 0 ? 1.0 / w.ratio : 0) : w.ratio;
            const bool met = w.atLeast ? ratio >= w.limit : ratio <= w.limit;
            missed += met ? 0 : 1;
            std::printf("%-58s %12.3f %12.3f %8.4f %s%-8.2f %s\n", w.name.c_str(), w.measured,
                        w.bound, ratio, w.atLeast ? ">= " : "<= ", w.limit, met ? "met" : "MISSED");
        }
        return missed;
    }

  private:
    struct Row {
        std::string name;
        double measured, bound, ratio, limit;
        bool atLeast;
    };
    std::vector<Row> rows_;
};

}  // namespace corvan::bench
