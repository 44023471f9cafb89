#pragma once
// One VAG unit's block dialogue through the box: the keep-alive query and switching, the
// exchange of one block, and the identification read that coding and login both start
// with. The box's keep-alive repetition would take the unit's answers for itself, so it is
// switched off around every dialogue of several blocks and on again afterwards.
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "plugins/vagkline/block_requests.h"
#include "plugins/vagkline/unit_link.h"
#include "runtime/exchange.h"
#include "runtime/module_context.h"

namespace corvan::vagkline {

// The identification store: up to 40 replies of 100 bytes each, in the order received.
inline constexpr size_t kStoredReplies = 40;
inline constexpr size_t kStoredReplyBytes = 100;
using StoredReply = std::array<uint8_t, kStoredReplyBytes>;

struct Identification {
    std::vector<StoredReply> replies;  // the stored ones (the count k of the read)
    // The fourth reply carries the coding data; fewer than four leave them unknown.
    std::optional<CodingData> codingData() const;
};

class BlockDialogue {
  public:
    // Exchanges use 4 attempts, no wait, poll factor 1.0 and the module's retry prompt.
    // `betweenSteps` runs after every exchange of the identification read, a long one (the
    // module pumps its window there); the other requests go without.
    BlockDialogue(const ModuleContext& ctx, RetryPrompt prompt,
                  std::function<void()> betweenSteps = {});

    // Switches the box's repetition of the keep-alive message the identification read
    // asked it for (the presets before a read).
    void switchKeepAlive(bool on);

    // One request (see UnitLink); returns the reply length.
    int send(std::span<const uint8_t> request) { return link_.send(request); }
    std::span<const uint8_t> reply() const { return link_.reply(); }

    // The two passes over the identification groups with the keep-alive off: the first
    // walks every group, the second stores each group's blocks. Starts by asking the box for
    // its keep-alive message (80 00 85), from which the acknowledge and keep-alive requests
    // are built; ends with the keep-alive on again. Reading stops when 40 blocks have come in
    // either pass (a unit that never ends its text blocks cannot hold the module).
    Identification readIdentification(std::span<const uint8_t> identificationRequest);

  private:
    int step(std::span<const uint8_t> request);

    UnitLink link_;
    std::function<void()> betweenSteps_;
    KeepAliveRequests requests_ = presetKeepAliveRequests();
};

}  // namespace corvan::vagkline
