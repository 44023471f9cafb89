#pragma once
// What the shell's benchmarks share: a vehicle file of 50,000 lines (100 models, 50 systems
// each, 10 variants each, a data record on every third variant) in a device root, and a
// shell on a given screen that has read it once.
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/test_temp_dir.h"
#include "shell/menu_text.h"
#include "shell/shell_app.h"
#include "shell/shell_host.h"
#include "ui/screen.h"

namespace corvan::shell::bench {

constexpr int kModels = 100, kSystems = 50, kVariants = 10;
inline const char* const kBrand = "BENCH";
inline const char* const kModel = "MODEL 050";
inline const char* const kSystem = "SYSTEM 25";

inline const std::string& vehicleText() {
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

// The baseline of the pages: the vehicle text cut into lines and nothing else.
inline void PlainLineSplit(benchmark::State& state) {
    const std::string& text = vehicleText();
    for (auto _ : state) {
        size_t lines = 0, pos = 0;
        for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

// A device root holding the brand's vehicle file, and a shell on `screen` showing its
// model page.
struct ShellOnScreen {
    explicit ShellOnScreen(ui::Screen& screen) : root(dir.path()) {
        const auto file = dir.path() / "STORAGE CARD" / "CORVANDATA" / "Datos" / "BENCH.mnu";
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << scrambleMenu(vehicleText());
        host.screen = &screen;
        host.clock = &clock;
        host.root = &root;
        app = std::make_unique<ShellApp>(host);
        app->ShowModelPage(kBrand);
    }
    testing::TempDir dir;
    DeviceRoot root;
    VirtualClock clock;
    ShellHost host;
    std::unique_ptr<ShellApp> app;
};

// Keeps the real and the CPU time per iteration of every run so the ratios can be printed
// at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                // By the function's name: a real-time run's name carries "/real_time".
                real[r.run_name.function_name] = r.GetAdjustedRealTime();
                cpu[r.run_name.function_name] = r.GetAdjustedCPUTime();
            }
    }
    // Prints each of `names` in ms and as a multiple of `base`: real time for runs that wait
    // for other processes, CPU time otherwise.
    void print(const std::string& base, const std::vector<std::string>& names,
               bool realTime) const {
        const auto& ms = realTime ? real : cpu;
        const auto b = ms.find(base);
        if (b == ms.end() || b->second <= 0) return;
        for (const std::string& name : names) {
            const auto it = ms.find(name);
            if (it == ms.end()) continue;
            std::printf("%-32s %8.2f ms  %6.1f x\n", name.c_str(), it->second,
                        it->second / b->second);
        }
    }
    std::map<std::string, double> real, cpu;  // milliseconds, the benchmarks' unit
};

}  // namespace corvan::shell::bench
