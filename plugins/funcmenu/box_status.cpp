#include "plugins/funcmenu/box_status.h"

#include "runtime/commands.h"
#include "runtime/exchange.h"

namespace corvan::funcmenu {

namespace {
// The state request is sent once and read every 350 ms; the other requests of the menu are
// sent up to four times and read every 50 ms.
constexpr int kStateAttempts = 1;
constexpr double kStatePollFactor = 7.0;
constexpr int kAttempts = 4;
constexpr double kPollFactor = 1.0;
}  // namespace

int BoxStatus::exchange(const std::vector<uint8_t>& request, int attempts, double pollFactor) {
    return Exchange(ctx_, request, reply_, attempts, 0.0, pollFactor);
}

std::optional<uint8_t> BoxStatus::requestState() {
    if (exchange(cmd::connectionStatusRequest(), kStateAttempts, kStatePollFactor) == 0)
        return std::nullopt;
    return stateByte();
}

void BoxStatus::reset() {
    exchange(cmd::resetRequest(), kAttempts, kPollFactor);
}

void BoxStatus::close(const std::vector<uint8_t>& closingRequest) {
    if (!closingRequest.empty()) exchange(closingRequest, kAttempts, kPollFactor);
    reset();
}

std::string BoxStatus::information(const SystemInfo& info) {
    exchange(cmd::driverNameRequest(), kAttempts, kPollFactor);
    const std::string driver = driverNameFromReply(reply_);
    exchange(cmd::connectionStatusRequest(), kStateAttempts, kStatePollFactor);
    return informationText(ctx_.language(), info, driver, checksumWord(reply_[kChecksumIndex]),
                           stateText(reply_[kStateIndex], ctx_.language()));
}

}  // namespace corvan::funcmenu
