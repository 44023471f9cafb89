#pragma once
// The start-up's side of the line: the pumping exchange with the mode text as the switch of
// the retry prompt, one reply buffer, and the pauses on the host's clock.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/boxstart/download_plan.h"
#include "runtime/module_context.h"

namespace corvan::boxstart {

class BoxLink {
  public:
    // Room for any reply the box gives during start-up and set-up; a longer frame is
    // flushed by the receive and counts as no reply.
    static constexpr size_t kReplyCapacity = 4096;

    BoxLink(const ModuleContext& ctx, std::string_view promptSwitch)
        : ctx_(ctx), prompt_(promptSwitch), reply_(kReplyCapacity, 0) {}

    // One exchange; the reply length, or 0 when none came (and the technician declined or,
    // with an empty mode text, was not asked). A failed exchange leaves the earlier reply
    // bytes in place, except byte 2.
    int exchange(std::span<const uint8_t> request, Pacing pacing);

    // The block send and up to `reads` receives `pauseMs` apart (the data blocks).
    int sendBlock(std::span<uint8_t> frame);
    int receive(int reads, int pauseMs);

    uint8_t at(size_t index) const { return index < reply_.size() ? reply_[index] : 0; }
    std::span<const uint8_t> reply() const { return reply_; }

    void sleepMs(int ms) const { ctx_.clock().sleepMs(ms); }
    const ModuleContext& context() const { return ctx_; }
    const std::string& promptSwitch() const { return prompt_; }

  private:
    const ModuleContext& ctx_;
    std::string prompt_;
    std::vector<uint8_t> reply_;
};

}  // namespace corvan::boxstart
