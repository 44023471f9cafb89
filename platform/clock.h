#pragma once
// Time as the system sees it. Every wait and clock read goes through a Clock so the same
// code runs in real time on a workshop terminal and instantly on the virtual clock in tests.
#include <chrono>
#include <cstdint>
#include <memory>

namespace corvan {

// Local calendar time of the device clock (the system-information record shows it).
struct CivilTime {
    int year = 2000, month = 1, day = 1;  // month 1..12
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time in microseconds since an arbitrary origin.
    virtual int64_t nowUs() const = 0;
    int64_t nowMs() const { return nowUs() / 1000; }
    virtual void sleepUs(int64_t us) = 0;
    void sleepMs(int64_t ms) { sleepUs(ms * 1000); }
    // Sleeps until the monotonic time reaches `us` (returns at once when it has passed).
    void sleepUntilUs(int64_t us) {
        const int64_t now = nowUs();
        if (us > now) sleepUs(us - now);
    }
    virtual CivilTime civilNow() const = 0;
    // True for a clock whose sleeps take no real time.
    virtual bool isVirtual() const = 0;
};

class RealClock final : public Clock {
public:
    int64_t nowUs() const override;
    void sleepUs(int64_t us) override;
    CivilTime civilNow() const override;
    bool isVirtual() const override { return false; }
};

// Sleeps advance it instantly; serial read time-outs advance it too (the in-memory port
// calls sleepUs for the time-out it waited). The civil time starts at `start` and moves
// with the monotonic time.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(CivilTime start = CivilTime{2007, 2, 3, 9, 5, 7});
    int64_t nowUs() const override { return now_; }
    void sleepUs(int64_t us) override {
        if (us > 0) now_ += us;
    }
    void advanceUs(int64_t us) { sleepUs(us); }
    CivilTime civilNow() const override;
    bool isVirtual() const override { return true; }

private:
    int64_t now_ = 0;
    CivilTime start_;
};

}  // namespace corvan
