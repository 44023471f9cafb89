#pragma once
// The adaptation channels of a VAG unit, reached with KWP 2000 messages (format byte,
// target, source 0xF1, service) that the box passes on: a routine is started (31 B8 01 03),
// a channel selected (31 B9 01 03 c), its value read (31 BA 01 03), a new value tested
// (31 B9 01 03 v v) and saved with the workshop identification (31 BB 01 03 v v + 6 bytes),
// and the routine stopped (32 B8 01 03). Channel 0 stands for all channels: saving it
// puts every channel back to its value at power-up. Locked channels refuse a test or a
// save until a login lifted the locks.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvan::sim {

struct AdaptationChannel {
    int number = 1;
    uint16_t value = 0;
    uint16_t initial = 0;          // the value channel 0 puts back
    std::optional<uint16_t> text;  // value text code, given with the value
    bool locked = false;           // a login lifts the lock
    bool readable = true;          // false: selecting it is refused
    uint16_t min = 0, max = 0xFFFF;
};

class Kw1281Adaptation {
  public:
    explicit Kw1281Adaptation(std::vector<AdaptationChannel> channels);

    // The answer's service bytes (from the service byte on) to the service bytes of a
    // request; `unlocked` after an accepted login.
    std::vector<uint8_t> answer(std::span<const uint8_t> service, bool unlocked);
    // The session ended: the routine stops.
    void reset();

    const AdaptationChannel* channel(int number) const;
    bool running() const { return running_; }
    // The workshop identification of the last save, and how many saves were taken.
    const std::array<uint8_t, 6>& savedBy() const { return savedBy_; }
    int saves() const { return saves_; }
    int refusedTests() const { return refusedTests_; }

  private:
    AdaptationChannel* find(int number);
    std::vector<uint8_t> select(uint8_t number);
    std::vector<uint8_t> test(uint16_t value, bool unlocked);
    std::vector<uint8_t> read() const;
    std::vector<uint8_t> save(std::span<const uint8_t> data, bool unlocked);

    std::vector<AdaptationChannel> channels_;
    bool running_ = false;
    std::optional<int> selected_;
    std::optional<uint16_t> tested_;
    std::array<uint8_t, 6> savedBy_{};
    int saves_ = 0;
    int refusedTests_ = 0;
};

}  // namespace corvan::sim
