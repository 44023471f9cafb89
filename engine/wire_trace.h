#pragma once
// The wire trace: one line per frame on the Varbox line, in the order the runtime saw them,
//
//     <milliseconds> TX <bytes>    a frame written (check byte included)
//     <milliseconds> RX <bytes>    a frame received whole with a good check
//     <milliseconds> RX! <bytes>   a frame that failed its check (as far as it was read)
//     <milliseconds> TX! <bytes>   the part of a frame the line took before it was lost
//     <milliseconds> LOST          the line hung up or failed (once, until it is reopened)
//     <milliseconds> REOPENED      the line was opened again after the technician's Yes
//     <milliseconds> REOPEN FAILED the line could not be opened again
//
// bytes as two upper-case hexadecimal digits separated by single blanks, milliseconds since
// the start of the run on the run's clock (virtual or real).
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "runtime/host_services.h"

namespace corvan {
class Clock;
}

namespace corvan::engine {

// One line of the trace, without the line end.
std::string traceLine(int64_t milliseconds, std::string_view direction,
                      std::span<const uint8_t> bytes);

class WireTrace final : public FrameObserver {
  public:
    // Times count from the clock's reading now.
    WireTrace(const Clock& clock, std::ostream& out);

    void frameSent(std::span<const uint8_t> frame) override;
    void frameReceived(std::span<const uint8_t> frame, bool good) override;
    void frameCut(std::span<const uint8_t> written) override;
    void lineLost() override;
    void lineReopened(bool ok) override;

    long framesSent() const { return sent_; }
    long framesReceived() const { return received_; }
    long badFrames() const { return bad_; }
    bool lineLostNow() const { return lost_; }

  private:
    void write(std::string_view direction, std::span<const uint8_t> frame);

    const Clock& clock_;
    std::ostream& out_;
    int64_t startMs_;
    long sent_ = 0, received_ = 0, bad_ = 0;
    bool lost_ = false;
};

}  // namespace corvan::engine
