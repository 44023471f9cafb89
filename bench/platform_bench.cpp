// Speed of the platform paths every run leans on. Each measured path has a baseline in the
// same run (a plain copy, a bare queue), so the figures read as ratios on any machine.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/device_root.h"
#include "platform/memory_port.h"
#include "platform/text_codec.h"

namespace corvan {
namespace {

// A data file's worth of mixed Spanish text and binary bytes.
std::string sampleBytes(size_t n) {
    std::string s;
    const std::string line =
        "Diagn\xF3stico de la unidad: se\xF1"
        "al \x80 \x93ok\x94 \x81\xFF\r\n";
    while (s.size() < n) s += line;
    s.resize(n);
    return s;
}

void BM_CopyBaseline(benchmark::State& state) {
    const std::string in = sampleBytes(size_t(state.range(0)));
    for (auto _ : state) {
        std::string out(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_CopyBaseline)->Arg(1 << 20);

void BM_Cp1252ToUtf8(benchmark::State& state) {
    const std::string in = sampleBytes(size_t(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(cp1252ToUtf8(in));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Cp1252ToUtf8)->Arg(1 << 20);

void BM_Utf8ToCp1252(benchmark::State& state) {
    const std::string in = cp1252ToUtf8(sampleBytes(size_t(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(utf8ToCp1252(in));
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Utf8ToCp1252)->Arg(1 << 20);

// One reply byte through a bare queue: the floor for the in-memory line.
void BM_ByteQueueBaseline(benchmark::State& state) {
    ByteQueue q;
    int64_t t = 0;
    for (auto _ : state) {
        q.push(0x55, ++t);
        benchmark::DoNotOptimize(q.pop());
    }
}
BENCHMARK(BM_ByteQueueBaseline);

// One reply byte through the in-memory line on the virtual clock: what a simulated
// exchange costs per byte in tests and fast headless runs.
void BM_MemoryPortReadByte(benchmark::State& state) {
    VirtualClock clock;
    ScriptedDevice device;
    MemoryPort port(clock, device);
    uint8_t b = 0;
    size_t got = 0;
    for (auto _ : state) {
        port.pending().push(0x55, clock.nowUs() + 100);
        port.readByte(b, got);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_MemoryPortReadByte);

// Resolving a device path whose case differs from the files in a folder of many pictures,
// against the same path spelt exactly.
class PictureFolder {
  public:
    explicit PictureFolder(bool upperCase = false) {
        root_ = std::filesystem::temp_directory_path() / "corvan-bench-root";
        const auto dir = root_ / "Storage Card" / "CorvanData" / "Fotos";
        std::filesystem::create_directories(dir);
        for (int i = 0; i < 2000; ++i) {
            const std::string name = "Pic" + std::to_string(i) + ".bmp";
            std::ofstream(dir / (upperCase ? asciiUpper(name) : name));
        }
    }
    ~PictureFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    const std::filesystem::path& root() const { return root_; }

  private:
    std::filesystem::path root_;
};

void BM_DeviceRootExactCase(benchmark::State& state) {
    PictureFolder folder;
    DeviceRoot root(folder.root());
    for (auto _ : state)
        benchmark::DoNotOptimize(root.toHost("\\Storage Card\\CorvanData\\Fotos\\Pic1234.bmp"));
}
BENCHMARK(BM_DeviceRootExactCase);

void BM_DeviceRootOtherCase(benchmark::State& state) {
    PictureFolder folder;
    DeviceRoot root(folder.root());
    for (auto _ : state)
        benchmark::DoNotOptimize(root.toHost("\\STORAGE CARD\\CORVANDATA\\FOTOS\\PIC1234.BMP"));
}
BENCHMARK(BM_DeviceRootOtherCase);

// The common installation: upper-case file names asked for in another case.
void BM_DeviceRootUpperCaseFiles(benchmark::State& state) {
    PictureFolder folder(true);
    DeviceRoot root(folder.root());
    for (auto _ : state)
        benchmark::DoNotOptimize(root.toHost("\\Storage Card\\CorvanData\\Fotos\\pic1234.bmp"));
}
BENCHMARK(BM_DeviceRootUpperCaseFiles);

}  // namespace
}  // namespace corvan

BENCHMARK_MAIN();
