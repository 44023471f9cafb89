#pragma once
// The measuring blocks (groups) of a KW1281 unit: what it answers to a group read, with
// values that move on the simulator's clock.
//
// - A fixed group answers with title 0xE7: per field its formula number and the bytes a, b.
// - A dynamic group answers the first read after an acknowledge (or after reading another
//   group) with its header (title 0x02: per field formula, factor, a count and that many
//   further bytes), and every further read with data (title 0xF4: one byte per field).
// - Group 0 answers with its ten raw values (title 0xF4), to its own reads (0x12, 0x11) and
//   to a group read of group 0.
// - A group given as raw bytes answers with exactly those bytes (odd answers for tests).
// - A group the unit does not have is refused (title 0x0A).
//
// The box's keep-alive message reaches the unit like a request whose answer nobody reads:
// an acknowledge repeated by the box starts dynamic groups over with their header, a group
// read repeated by the box keeps the group going. A fuller KW1281 unit composes this part
// with its other services; `handle` leaves every block that is not a measuring-block
// request to them.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/json_node.h"

namespace corvan::sim {

// A byte that stays at `from`, or runs from `from` to `to` and back once per period.
struct MovingByte {
    int from = 0;
    int to = 0;
    int64_t periodUs = 0;
    uint8_t at(int64_t nowUs) const;
};

struct FixedFieldSpec {
    uint8_t formula = 0;
    MovingByte a, b;
};

struct DynamicFieldSpec {
    uint8_t formula = 0;
    uint8_t factor = 0;
    std::vector<uint8_t> extra;  // the further bytes of the descriptor (17: a table)
    MovingByte u;
};

struct MeasuringGroup {
    enum class Kind { Fixed, Dynamic, Raw, RawValues };
    int number = 0;
    Kind kind = Kind::Fixed;
    std::vector<FixedFieldSpec> fixed;
    std::vector<DynamicFieldSpec> dynamic;
    std::vector<uint8_t> raw;        // Raw: title and data of the answer
    std::vector<MovingByte> values;  // RawValues (group 0): one byte each
};

class Kw1281Measuring {
  public:
    // A measuring-block answer: its title and data (the unit adds length, counter and end).
    struct Answer {
        uint8_t title = 0;
        std::vector<uint8_t> data;
    };

    Kw1281Measuring() = default;
    explicit Kw1281Measuring(std::vector<MeasuringGroup> groups);
    // From the "measuring" node ({"groups": [...]}); nullopt with the problem recorded.
    static std::optional<Kw1281Measuring> fromJson(const JsonNode& node);

    // The answer to a host block, or nullopt when it is not a measuring-block request.
    std::optional<Answer> handle(std::span<const uint8_t> block, int64_t nowUs);
    // The session ended: dynamic groups start with their header again.
    void reset() { headerSentFor_.reset(); }

    const MeasuringGroup* group(int number) const;
    // For tests: how many headers and dynamic data blocks the unit sent.
    int headersSent() const { return headersSent_; }
    int dataBlocksSent() const { return dataBlocksSent_; }

  private:
    Answer groupAnswer(const MeasuringGroup& g, int64_t nowUs);

    std::vector<MeasuringGroup> groups_;
    std::optional<int> headerSentFor_;  // the dynamic group whose header the host has
    int headersSent_ = 0;
    int dataBlocksSent_ = 0;
};

}  // namespace corvan::sim
