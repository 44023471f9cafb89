#pragma once
// One VAG unit's requests through the box: each exchange uses 4 attempts, no wait and poll
// factor 1.0 with the module's retry prompt, into a reply buffer that is cleared first, so
// that a request that got no answer never leaves an earlier answer's bytes to be taken for
// its own.
#include <array>
#include <cstdint>
#include <span>

#include "runtime/exchange.h"
#include "runtime/module_context.h"

namespace corvan::vagkline {

class UnitLink {
  public:
    UnitLink(const ModuleContext& ctx, RetryPrompt prompt) : ctx_(ctx), prompt_(prompt) {}

    // Returns the reply length (0: none came and the technician gave up).
    int send(std::span<const uint8_t> request) {
        reply_.fill(0);
        return Exchange(ctx_, request, reply_, 4, 0.0, 1.0, prompt_);
    }
    std::span<const uint8_t> reply() const { return reply_; }

  private:
    const ModuleContext& ctx_;
    RetryPrompt prompt_;
    std::array<uint8_t, 256> reply_{};
};

}  // namespace corvan::vagkline
