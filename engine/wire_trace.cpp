#include "engine/wire_trace.h"

#include <ostream>

#include "platform/clock.h"

namespace corvan::engine {

std::string traceLine(int64_t milliseconds, std::string_view direction,
                      std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line = std::to_string(milliseconds);
    line += ' ';
    line += direction;
    for (uint8_t b : bytes) {
        line += ' ';
        line += kDigits[b >> 4];
        line += kDigits[b & 0x0F];
    }
    return line;
}

WireTrace::WireTrace(const Clock& clock, std::ostream& out)
    : clock_(clock), out_(out), startMs_(clock.nowMs()) {}

void WireTrace::frameSent(std::span<const uint8_t> frame) {
    ++sent_;
    write("TX", frame);
}

void WireTrace::frameReceived(std::span<const uint8_t> frame, bool good) {
    ++(good ? received_ : bad_);
    write(good ? "RX" : "RX!", frame);
}

void WireTrace::frameCut(std::span<const uint8_t> written) {
    write("TX!", written);
}

void WireTrace::lineLost() {
    if (lost_) return;
    lost_ = true;
    write("LOST", {});
}

void WireTrace::lineReopened(bool ok) {
    lost_ = !ok;
    write(ok ? "REOPENED" : "REOPEN FAILED", {});
}

void WireTrace::write(std::string_view direction, std::span<const uint8_t> frame) {
    // Flushed line by line: a run that is stopped still leaves every frame up to then.
    out_ << traceLine(clock_.nowMs() - startMs_, direction, frame) << '\n' << std::flush;
}

}  // namespace corvan::engine
