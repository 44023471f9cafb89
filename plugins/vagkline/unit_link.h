#pragma once
// One VAG unit's requests through the box: each exchange uses 4 attempts, no wait and poll
// factor 1.0 with the module's retry prompt, into a reply buffer that is cleared first, so
// that a request that got no answer never leaves an earlier answer's bytes to be taken for
// its own. The module's window is pumped after every exchange.
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "runtime/exchange.h"
#include "runtime/module_context.h"

namespace corvan::vagkline {

class UnitLink {
  public:
    UnitLink(const ModuleContext& ctx, RetryPrompt prompt, std::function<void()> betweenSteps = {})
        : ctx_(ctx), prompt_(prompt), betweenSteps_(std::move(betweenSteps)) {}

    // Returns the reply length (0: none came and the technician gave up).
    int send(std::span<const uint8_t> request) {
        reply_.fill(0);
        const int length = Exchange(ctx_, request, reply_, 4, 0.0, 1.0, prompt_);
        if (betweenSteps_) betweenSteps_();
        return length;
    }
    std::span<const uint8_t> reply() const { return reply_; }

  private:
    const ModuleContext& ctx_;
    RetryPrompt prompt_;
    std::function<void()> betweenSteps_;
    std::array<uint8_t, 256> reply_{};
};

}  // namespace corvan::vagkline
