#pragma once
// A far end of the line for the runtime's tests and benchmarks: it collects what the host
// writes into frames (by their length bytes) and answers each whole frame with the bytes a
// handler returns. It can also stream bytes on its own (a box that never falls silent).
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/memory_port.h"
#include "runtime/frame.h"

namespace corvan::testing {

class FrameResponder final : public ByteDevice {
  public:
    using Handler = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& request)>;

    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override {
        writeSizes.push_back(bytes.size());
        for (uint8_t b : bytes) {
            if (hangUpAfterBytes == 0) return;  // this byte never reached the far end
            if (hangUpAfterBytes > 0) --hangUpAfterBytes;
            pending_.push_back(b);
            if (pending_.size() < 2) continue;
            const size_t whole = frame::dataLength(pending_[0], pending_[1]) + 4;
            if (pending_.size() < whole) continue;
            frames.push_back(pending_);
            frameTimesUs.push_back(nowUs);
            pending_.clear();
            if (handler)
                for (uint8_t r : handler(frames.back())) out.push(r, nowUs + replyDelayUs);
        }
    }
    void poll(int64_t nowUs, ByteQueue& out) override {
        if (streamLeft > 0 && out.empty()) {
            out.push(static_cast<uint8_t>(streamLeft & 0xFF), nowUs);
            --streamLeft;
        }
    }

    // The line hangs up once this many more bytes came (-1: never); a write on a hung-up
    // line fails. With `comesBack` the host's reopen brings it back.
    bool hungUp() const override { return hangUpAfterBytes == 0; }
    bool reconnect() override {
        if (hangUpAfterBytes == 0 && comesBack) hangUpAfterBytes = -1;
        ++reconnects;
        return !hungUp();
    }
    long hangUpAfterBytes = -1;
    bool comesBack = false;
    int reconnects = 0;

    Handler handler;
    int64_t replyDelayUs = 0;
    long streamLeft = 0;                       // bytes still to stream on its own
    std::vector<std::vector<uint8_t>> frames;  // every whole frame the host wrote
    std::vector<int64_t> frameTimesUs;         // when each was complete
    std::vector<size_t> writeSizes;            // bytes per write call of the host

  private:
    std::vector<uint8_t> pending_;
};

}  // namespace corvan::testing
