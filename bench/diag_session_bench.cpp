// A diagnosis session's two stages on the simulated box with line-rate pacing (9600 baud,
// 10 bits a byte), timed on the virtual clock: the box start-up of the sample engine unit
// (the box already runs its driver: checks, start, name, adapter, configuration and the
// ECU connection) and its identification of 10 records. Each is reported against the wire
// time of its own frames, computed from their byte count in the same run: the ratio says how
// much of the time on the terminal goes to the protocol's waits rather than to the bytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/install_config.h"
#include "engine/plugin_call.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "plugins/funcmenu/menu_text.h"
#include "runtime/param_text.h"
#include "runtime/result_text.h"

namespace {

using namespace corvan;
using namespace corvan::engine;

constexpr std::string_view kInstall = "STORAGE CARD\\CORVANDATA";
constexpr double kBaud = 9600.0;
constexpr double kBitsPerByte = 10.0;  // start, 8 data, stop

// Counts the bytes of every frame on the line.
struct FrameBytes final : FrameObserver {
    void frameSent(std::span<const uint8_t> f) override { bytes += f.size(); }
    void frameReceived(std::span<const uint8_t> f, bool) override { bytes += f.size(); }
    uint64_t bytes = 0;
};

std::string engineRecord() {
    const DeviceRoot root(CORVAN_SAMPLE_ROOT);
    std::string error;
    return readDataRecord(root, kInstall, "EDC16_KWP.TXT", &error).value_or("");
}

std::unique_ptr<EngineHost> pacedHost(FrameBytes& counter) {
    HostSetup s;
    s.root = CORVAN_SAMPLE_ROOT;
    s.installPath = std::string(kInstall);
    s.port.scenarioFile = DeviceRoot(s.root).toHost(installFile(kInstall, "SIM\\vehicle.json"));
    s.pacing = true;
    std::string error;
    auto host = EngineHost::create(std::move(s), &error);
    if (host) host->services().frames = &counter;
    return host;
}

// Virtual time and wire time of the runs so far, and the checks that they did their work.
struct Totals {
    double virtualUs = 0, wireUs = 0;
    void add(int64_t virtualSpan, uint64_t bytes) {
        virtualUs += double(virtualSpan);
        wireUs += double(bytes) * kBitsPerByte * 1e6 / kBaud;
    }
    void report(benchmark::State& state) const {
        const double n = double(state.iterations());
        state.counters["virtual_ms"] = virtualUs / n / 1000.0;
        state.counters["wire_ms"] = wireUs / n / 1000.0;
        state.counters["virtual_per_wire"] = wireUs > 0 ? virtualUs / wireUs : 0;
    }
};

PluginCall startUpCall(const std::string& text) {
    return PluginCall{text, 0, "EXE", "VOLKSWAGEN GOLF V ENGINE"};
}

void BM_StartUpWithDriverRunning(benchmark::State& state) {
    const std::string text = engineRecord();
    Totals totals;
    for (auto _ : state) {
        state.PauseTiming();
        FrameBytes counter;
        auto host = pacedHost(counter);
        state.ResumeTiming();
        if (!host) {
            state.SkipWithError("no sample installation");
            return;
        }
        const int64_t t0 = host->clock().nowUs();
        const PluginOutcome out = callPluginNamed(*host, "BOXSTART.DLL", startUpCall(text), 1);
        if (!out.ran || out.result.find("ERROR") != std::string::npos) {
            state.SkipWithError(("start-up failed: " + out.error + out.result).c_str());
            return;
        }
        totals.add(host->clock().nowUs() - t0, counter.bytes);
    }
    totals.report(state);
}
BENCHMARK(BM_StartUpWithDriverRunning)->Unit(benchmark::kMillisecond);

void BM_IdentificationOfTenRecords(benchmark::State& state) {
    const std::string text = engineRecord();
    Totals totals;
    for (auto _ : state) {
        state.PauseTiming();
        FrameBytes counter;
        auto host = pacedHost(counter);
        const PluginOutcome connected =
            host ? callPluginNamed(*host, "BOXSTART.DLL", startUpCall(text), 1) : PluginOutcome{};
        const std::string extended = text + funcmenu::additionalIdBlock(connected.result);
        counter.bytes = 0;
        state.ResumeTiming();
        if (!connected.ran) {
            state.SkipWithError("start-up did not run");
            return;
        }
        const int64_t t0 = host->clock().nowUs();
        const PluginOutcome out = callPluginNamed(
            *host, "IDENTIFY.DLL",
            PluginCall{extended, findFrom(extended, "<MNU"), "REPORT", "VOLKSWAGEN GOLF V ENGINE"},
            1);
        if (parseResultRecords(out.result).size() != 10) {
            state.SkipWithError(("identification: " + out.error + out.result).c_str());
            return;
        }
        totals.add(host->clock().nowUs() - t0, counter.bytes);
    }
    totals.report(state);
}
BENCHMARK(BM_IdentificationOfTenRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
