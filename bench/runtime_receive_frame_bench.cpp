// What the framing costs the terminal's processor, beside what the line itself costs.
//
// ReceiveFrame (one-byte reads, running check, scratch fields of the link) is timed against
// plain one-byte reads of the same bytes from the same in-memory port, and a whole Exchange
// (byte-wise send of an ECU request and the reply frame) against the same reads and writes
// made directly on the port. The ratios printed at the end are the runtime's overhead over
// the port; the wire time of the same bytes at 9600 baud (10 bits per byte) is printed
// beside the CPU time of one exchange.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/exchange.h"
#include "runtime/frame.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/testing/fake_screen.h"

namespace {

using namespace corvan;

// A box that answers every whole request with the same reply, and keeps nothing.
class EchoBox final : public ByteDevice {
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

struct Line {
    VirtualClock clock;
    EchoBox box;
    MemoryPort port{clock, box};
    testing::FakeScreen screen;
    HostServices host;
    VarboxLink link;
    Line() {
        host.clock = &clock;
        host.screen = &screen;
        link.port = &port;
        link.host = &host;
    }
};

std::vector<uint8_t> replyFrame(size_t dataLength) {
    std::vector<uint8_t> data(dataLength);
    for (size_t i = 0; i < dataLength; ++i) data[i] = static_cast<uint8_t>(i * 37 + 1);
    return frame::build(0x20, data, true);
}

void BM_ReceiveFrame(benchmark::State& state) {
    Line line;
    const auto f = replyFrame(static_cast<size_t>(state.range(0)));
    std::vector<uint8_t> reply(512);
    for (auto _ : state) {
        for (uint8_t b : f) line.port.pending().push(b, 0);
        const int n = ReceiveFrame(line.link, reply);
        if (n != static_cast<int>(f.size())) state.SkipWithError("frame not received");
        benchmark::DoNotOptimize(reply.data());
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Baseline: the same bytes through the same port, read one by one and XORed.
void BM_RawPortReads(benchmark::State& state) {
    Line line;
    const auto f = replyFrame(static_cast<size_t>(state.range(0)));
    std::vector<uint8_t> reply(512);
    for (auto _ : state) {
        for (uint8_t b : f) line.port.pending().push(b, 0);
        uint8_t check = 0;
        for (size_t i = 0; i < f.size(); ++i) {
            size_t got = 0;
            line.port.readByte(reply[i], got);
            check ^= reply[i];
        }
        if (check != 0) state.SkipWithError("bad check");
        benchmark::DoNotOptimize(reply.data());
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

const std::vector<uint8_t> kRequest{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80};

void BM_Exchange(benchmark::State& state) {
    Line line;
    line.box.reply = replyFrame(static_cast<size_t>(state.range(0)));
    line.box.requestSize = kRequest.size() + 1;
    ModuleContext ctx(line.link, 1, "EXE");
    std::vector<uint8_t> reply(512);
    for (auto _ : state) {
        if (Exchange(ctx, kRequest, reply) != static_cast<int>(line.box.reply.size()))
            state.SkipWithError("no reply");
    }
}

// Baseline: the same writes and reads made directly on the port.
void BM_RawPortExchange(benchmark::State& state) {
    Line line;
    line.box.reply = replyFrame(static_cast<size_t>(state.range(0)));
    line.box.requestSize = kRequest.size() + 1;
    std::vector<uint8_t> reply(512);
    for (auto _ : state) {
        uint8_t check = 0;
        size_t written = 0;
        for (uint8_t b : kRequest) {
            line.port.write(&b, 1, written);
            check ^= b;
        }
        line.port.write(&check, 1, written);
        for (size_t i = 0; i < line.box.reply.size(); ++i) {
            size_t got = 0;
            line.port.readByte(reply[i], got);
        }
        benchmark::DoNotOptimize(reply.data());
    }
}

BENCHMARK(BM_ReceiveFrame)->Arg(0)->Arg(16)->Arg(255)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RawPortReads)->Arg(0)->Arg(16)->Arg(255)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Exchange)->Arg(16)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RawPortExchange)->Arg(16)->Unit(benchmark::kNanosecond);

// Keeps the CPU time per iteration of every run so the ratios can be printed at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                ns[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> ns;
};

void printRatio(const RatioReporter& r, const std::string& subject, const std::string& baseline) {
    const auto s = r.ns.find(subject), b = r.ns.find(baseline);
    if (s == r.ns.end() || b == r.ns.end() || b->second <= 0) return;
    std::printf("%-22s / %-25s = %.2f\n", subject.c_str(), baseline.c_str(), s->second / b->second);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRuntime time over plain port work (1.00 = no overhead):\n");
    for (const char* arg : {"/0", "/16", "/255"})
        printRatio(reporter, std::string("BM_ReceiveFrame") + arg,
                   std::string("BM_RawPortReads") + arg);
    printRatio(reporter, "BM_Exchange/16", "BM_RawPortExchange/16");
    const auto ex = reporter.ns.find("BM_Exchange/16");
    if (ex != reporter.ns.end()) {
        // Request 7 bytes, reply 20 bytes; 10 bits per byte at 9600 baud.
        const double wireNs = (7 + 20) * 10.0 / 9600.0 * 1e9;
        std::printf(
            "\nOne exchange (7-byte request, 20-byte reply): CPU %.0f ns, wire %.1f ms "
            "at 9600 baud, CPU/wire = %.2e\n",
            ex->second, wireNs / 1e6, ex->second / wireNs);
    }
    benchmark::Shutdown();
    return 0;
}
