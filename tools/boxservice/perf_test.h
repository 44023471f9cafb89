#pragma once
// The link performance test: the bare echo request 00 00 0F (the driver name) exchanged
// over and over, each timed with the high-resolution counter, with the count of frames,
// of erroneous frames, of exchanges slower than half a second and the response times.
#include <cstdint>
#include <span>
#include <string>

namespace corvan::boxservice {

class PortSession;

inline constexpr int64_t kSlowExchangeUs = 500000;
inline constexpr uint32_t kMaxEchoExchanges = 65535;

// Field identifiers of the "Prueba de transmisión" dialog (values; each label is 100 less).
inline constexpr int kTotalId = 1201, kBadId = 1202, kRateId = 1203, kLastTimeId = 1204,
                     kMeanTimeId = 1205, kSlowId = 1206;

struct EchoFigures {
    uint32_t frames = 0, bad = 0, slow = 0;
    int64_t lastUs = 0, totalUs = 0;

    void add(int64_t us, bool good);
    // As the dialog shows them: counts, "%.5f %%", "%.5f seg.", "%.3f seg.".
    std::string errorRateText() const;
    std::string lastTimeText() const;
    std::string meanTimeText() const;
};

// Whether the reply's XOR over its header and its data matches its last byte.
bool echoReplyGood(std::span<const uint8_t> reply, int length);

// Runs the test until Cancel, an exchange without any reply, or 65535 exchanges; the
// figures stay on screen until Cancel. Returns the last figures.
EchoFigures runPerformanceTest(PortSession& session);

}  // namespace corvan::boxservice
