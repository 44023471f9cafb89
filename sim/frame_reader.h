#pragma once
// The box's side of the framing: collects the bytes the host writes into frames. A frame
// whose check byte is wrong is dropped (the box does not answer it), and a frame left
// half-written for longer than the gap time is abandoned so that the next byte starts a
// new frame: the box resynchronises on a pause, as the host does with its flush.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace corvan::sim {

class FrameReader {
  public:
    explicit FrameReader(int64_t gapUs = 200000) : gapUs_(gapUs) {}

    // One byte that arrived at `atUs`; calls `onFrame` with each whole good frame.
    void push(uint8_t byte, int64_t atUs,
              const std::function<void(std::span<const uint8_t>)>& onFrame);

    void clear() { buf_.clear(); }
    bool midFrame() const { return !buf_.empty(); }
    uint64_t badFrames() const { return bad_; }
    uint64_t abandonedFrames() const { return abandoned_; }

  private:
    int64_t gapUs_;
    int64_t lastUs_ = 0;
    std::vector<uint8_t> buf_;
    uint64_t bad_ = 0;
    uint64_t abandoned_ = 0;
};

}  // namespace corvan::sim
