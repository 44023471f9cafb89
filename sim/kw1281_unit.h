#pragma once
// A VAG control unit on the K line that talks the block protocol: every message is a block
// (length byte, block counter, block title, data; the host's blocks come without the end
// byte, which the box adds, the unit's answers with it), and an acknowledge block (title
// 0x09) keeps the dialogue going. The unit gives its
// identification as groups of text blocks (title 0xF6; bit 7 of a group's first data byte
// says that another group follows), the fourth block of the first group carrying its
// coding and workshop code; it takes a coding block (0x10) and a login block (0x2B).
// Its adaptation channels are reached with KWP 2000 messages (Kw1281Adaptation).
//
// While the box repeats its keep-alive message (an acknowledge block) the unit takes each
// repetition as an acknowledge: in the middle of an identification group that consumes a
// block the host never sees, which is why the functions switch the repetition off around
// every dialogue. The unit counts both.
//
// Parts added with addPart answer further services: the measuring blocks of a "measuring"
// node are one.
//
// The session: a unit left without any block (request or the box's keep-alive message) for
// longer than its session time-out drops the line; from then on the box reports that it
// does not answer, until the box connects again. An end-of-session block (title 0x06)
// closes the line the same way. A time-out of 0 keeps the session for ever.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/ecu_model.h"
#include "sim/kw1281_adaptation.h"
#include "sim/kw1281_block.h"
#include "sim/kw1281_measuring.h"

namespace corvan::sim {


// One block: its title and its data (what follows the title up to the end byte).
struct Kw1281Block {
    uint8_t title = 0;
    std::vector<uint8_t> data;
};

// A block the box passes on: at least length, counter and title, the length byte 3 or
// more. The data are the bytes after the title up to the length (extra bytes are filler).
std::optional<Kw1281Block> parseKw1281Block(std::span<const uint8_t> message);

// A part of the unit with services of its own (measuring blocks, ...). It sees every host
// block first, as it came (length, counter, title, data), and the box's keep-alive
// repetitions too (their answers go unread); nullopt leaves the block to the unit.
class Kw1281Part {
  public:
    virtual ~Kw1281Part() = default;
    virtual std::optional<Kw1281Block> answer(std::span<const uint8_t> block, int64_t nowUs) = 0;
    // The session ended.
    virtual void reset() {}
};

struct Kw1281Config {
    ConnectResult connect{true, {0x01, 0x8A}, 0};  // the keyword bytes after the slow init
    int64_t delayUs = 0;
    // Groups of identification texts, one text block each.
    std::vector<std::vector<std::string>> identification;
    // With a coding, the first group ends with the coding block (title 0xF6: 00, coding × 2,
    // workshop code).
    std::optional<uint16_t> coding;
    uint16_t workshopCode = 0;
    bool refuseCoding = false;  // coding blocks get the refusal block (0x0A)
    std::optional<uint16_t> loginCode;
    int lockAfter = 3;  // failed logins after which every login is refused (0: never)
    // The address KWP messages must carry; any when not given (the answer then names the
    // request's target as its source).
    std::optional<uint8_t> kwpAddress;
    std::vector<AdaptationChannel> channels;
    int64_t sessionTimeoutUs = 0;  // 0: no time-out
};

// The measuring blocks as a part of the unit.
class Kw1281MeasuringPart final : public Kw1281Part {
  public:
    explicit Kw1281MeasuringPart(Kw1281Measuring measuring) : measuring_(std::move(measuring)) {}
    std::optional<Kw1281Block> answer(std::span<const uint8_t> block, int64_t nowUs) override;
    void reset() override { measuring_.reset(); }
    const Kw1281Measuring& measuring() const { return measuring_; }

  private:
    Kw1281Measuring measuring_;
};

class Kw1281Unit final : public EcuModel {
  public:
    explicit Kw1281Unit(Kw1281Config config);
    // nullptr with the problem recorded on `config` (or the node below it).
    static std::unique_ptr<Kw1281Unit> fromJson(const JsonNode& config);

    void addPart(std::unique_ptr<Kw1281Part> part) { parts_.push_back(std::move(part)); }
    // The measuring part, when the unit has one.
    void setMeasuring(Kw1281Measuring measuring);
    const Kw1281Measuring& measuring() const;

    ConnectResult connect(ConfigBytes config, int64_t nowUs) override;
    EcuReply request(std::span<const uint8_t> message, int64_t nowUs) override;
    void keepAlive(std::span<const uint8_t> message, int64_t nowUs) override;
    void disconnected() override;

    // What the unit holds and saw, for tests and traces.
    std::optional<uint16_t> coding() const { return config_.coding; }
    uint16_t workshopCode() const { return config_.workshopCode; }
    int codingBlocks() const { return codingBlocks_; }
    bool loggedIn() const { return loggedIn_; }
    int failedLogins() const { return failedLogins_; }
    const Kw1281Adaptation& adaptation() const { return adaptation_; }
    uint64_t keepAlivesSeen() const { return keepAlivesSeen_; }
    bool sessionOpen() const { return open_; }
    // Identification blocks the keep-alive took before the host asked for them.
    uint64_t blocksLostToKeepAlive() const { return blocksLost_; }

  private:
    std::vector<Kw1281Block> groupBlocks(size_t group) const;
    std::optional<Kw1281Block> nextGroupBlock();
    Kw1281Block blockAnswer(const Kw1281Block& request);
    std::vector<uint8_t> encode(const Kw1281Block& b);
    // False (and the line dropped) when the session timed out before `nowUs`.
    bool stillOpen(int64_t nowUs);
    void endSession();
    EcuReply kwpAnswer(std::span<const uint8_t> message);

    Kw1281Config config_;
    Kw1281Adaptation adaptation_;
    std::vector<std::unique_ptr<Kw1281Part>> parts_;
    Kw1281MeasuringPart* measuring_ = nullptr;
    // A unit the box is connected to at power-up has its session open from the start.
    bool open_ = true;
    int64_t lastBlockUs_ = 0;
    uint8_t counter_ = 0;
    size_t nextGroup_ = 0;
    std::optional<size_t> group_;  // the group being given, and its next block
    size_t block_ = 0;
    bool loggedIn_ = false;
    int failedLogins_ = 0;
    int codingBlocks_ = 0;
    uint64_t keepAlivesSeen_ = 0;
    uint64_t blocksLost_ = 0;
};

}  // namespace corvan::sim
