#include "plugins/boxstart/box_link.h"

#include "runtime/exchange.h"
#include "runtime/varbox_io.h"

namespace corvan::boxstart {

int BoxLink::exchange(std::span<const uint8_t> request, Pacing pacing) {
    return ExchangePumping(ctx_, request, reply_, pacing.attempts, pacing.waitMs, pacing.pollMs,
                           prompt_);
}

int BoxLink::sendBlock(std::span<uint8_t> frame) {
    return SendFrameBlock(ctx_.link(), frame);
}

int BoxLink::receive(int reads, int pauseMs) {
    for (int i = 0; i < reads; ++i) {
        const int length = ReceiveFrame(ctx_.link(), reply_);
        if (length > 0) return length;
        sleepMs(pauseMs);
    }
    return 0;
}

}  // namespace corvan::boxstart
