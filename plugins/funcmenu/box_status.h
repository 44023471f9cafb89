#pragma once
// The function menu's exchanges with the box itself: the connection state, the driver name,
// the reset and the closing requests. All of them share one reply buffer, as the menu's
// decisions rely on: a state check that gets no reply leaves the last state byte there.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "plugins/funcmenu/system_info.h"
#include "runtime/module_context.h"

namespace corvan::funcmenu {

class BoxStatus {
  public:
    explicit BoxStatus(const ModuleContext& ctx) : ctx_(ctx) {}

    // One state request (80 00 82: one send, 350 ms between reads). The state byte, or
    // nullopt when no reply came and the technician declined to retry.
    std::optional<uint8_t> requestState();
    // State byte of the last state reply held in the buffer (reply byte 3).
    uint8_t stateByte() const { return reply_[kStateIndex]; }

    // Reset of the box and its ECU connection (80 00 88); the reply is not looked at.
    void reset();
    // The ECU's closing request (when there is one), then the reset.
    void close(const std::vector<uint8_t>& closingRequest);

    // The information box's text: the driver name and the state from the box, the rest from
    // the data. A request that gets no reply leaves whatever the buffer holds.
    std::string information(const SystemInfo& info);

  private:
    static constexpr size_t kStateIndex = 3, kChecksumIndex = 14;
    // Replies longer than this (an ECU answering the closing request at length) count as
    // bad frames; the menu never looks at them.
    static constexpr size_t kReplySize = 1024;

    int exchange(const std::vector<uint8_t>& request, int attempts, double pollFactor);

    const ModuleContext& ctx_;
    std::array<uint8_t, kReplySize> reply_{};
};

}  // namespace corvan::funcmenu
