#pragma once
// A control unit that speaks KW1281 behind the box ("kw1281" in a scenario). It keeps the
// session the box opened (the counter of its blocks, the time of the last block it saw),
// answers the measuring-block requests through its measuring part, acknowledges the
// host's acknowledge, and refuses every other block (title 0x0A).
//
// The session: a unit left without any block (request or the box's keep-alive message)
// for longer than its session time-out drops the line; from then on the box reports that
// it does not answer, until the box connects again. An end-of-session block (title 0x06)
// closes the line the same way. A time-out of 0 keeps the session for ever.
#include <memory>

#include "sim/ecu_model.h"
#include "sim/kw1281_measuring.h"

namespace corvan::sim {

class Kw1281Unit final : public EcuModel {
  public:
    struct Config {
        ConnectResult onConnect;
        int64_t delayUs = 0;           // the unit's answer time
        int64_t sessionTimeoutUs = 0;  // 0: no time-out
    };

    Kw1281Unit(Config config, Kw1281Measuring measuring);
    // nullptr with the problem recorded on `config` (or the node below it).
    static std::unique_ptr<Kw1281Unit> fromJson(const JsonNode& config);

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;
    void keepAlive(std::span<const uint8_t> message, int64_t nowUs) override;
    void disconnected() override;

    bool sessionOpen() const { return open_; }
    int keepAlivesSeen() const { return keepAlives_; }
    const Kw1281Measuring& measuring() const { return measuring_; }

  private:
    // False (and the line dropped) when the session timed out before `nowUs`.
    bool stillOpen(int64_t nowUs);
    std::vector<uint8_t> answer(uint8_t title, std::span<const uint8_t> data);

    Config config_;
    Kw1281Measuring measuring_;
    // A unit the box is connected to at power-up has its session open from the start.
    bool open_ = true;
    int64_t lastBlockUs_ = 0;
    uint8_t counter_ = 0;
    int keepAlives_ = 0;
};

}  // namespace corvan::sim
