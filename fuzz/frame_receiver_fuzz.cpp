// The frame receiver fed an arbitrary byte stream from the box: the bytes arrive in pieces
// whose sizes and gaps the input decides (a piece may come later than the read time-out),
// and frames are read one after the other into buffers of the sizes a caller uses. A
// receive never writes past its buffer and never reports more than it holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/host_services.h"
#include "runtime/varbox_io.h"
#include "runtime/varbox_link.h"

namespace {

using namespace corvan;

// Delivers the stream: each host read polls, and the next piece becomes available at its
// own time on the virtual clock.
class StreamDevice final : public ByteDevice {
  public:
    explicit StreamDevice(FuzzedDataProvider& data) : data_(data) {}
    void received(std::span<const uint8_t>, int64_t, ByteQueue&) override {}
    void poll(int64_t nowUs, ByteQueue& out) override {
        if (!out.empty() || data_.remaining_bytes() == 0) return;
        const int64_t gapUs = data_.ConsumeIntegralInRange<int64_t>(0, 200000);
        const auto piece = data_.ConsumeBytes<uint8_t>(data_.ConsumeIntegralInRange<size_t>(1, 64));
        for (uint8_t b : piece) out.push(b, nowUs + gapUs);
    }

  private:
    FuzzedDataProvider& data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    VirtualClock clock;
    StreamDevice device(input);
    MemoryPort port(clock, device);
    port.setReadTimeoutMs(80);
    HostServices host;
    host.clock = &clock;
    VarboxLink link;
    link.port = &port;
    link.host = &host;
    static constexpr size_t kSizes[] = {4, 16, 64, 256, 512};
    for (int frames = 0; frames < 64 && input.remaining_bytes() > 0; ++frames) {
        const size_t room = kSizes[input.ConsumeIntegralInRange<size_t>(0, 4)];
        // Guard bytes past the buffer the receive gets: they must stay as they were.
        std::vector<uint8_t> buffer(room + 8, 0xA5);
        const int got = ReceiveFrame(link, std::span<uint8_t>(buffer.data(), room));
        if (got < 0 || size_t(got) > room) std::abort();
        for (size_t i = room; i < buffer.size(); ++i)
            if (buffer[i] != 0xA5) std::abort();
    }
    return 0;
}
