#include "sim/frame_reader.h"

#include "runtime/frame.h"

namespace corvan::sim {

void FrameReader::push(uint8_t byte, int64_t atUs,
                       const std::function<void(std::span<const uint8_t>)>& onFrame) {
    if (!buf_.empty() && atUs - lastUs_ > gapUs_) {
        buf_.clear();
        ++abandoned_;
    }
    lastUs_ = atUs;
    buf_.push_back(byte);
    if (buf_.size() < frame::kHeaderSize) return;
    const size_t whole = frame::dataLength(buf_[0], buf_[1]) + 4;
    if (buf_.size() < whole) return;
    if (frame::xorOf(buf_) == 0)
        onFrame(buf_);
    else
        ++bad_;
    buf_.clear();
}

}  // namespace corvan::sim
