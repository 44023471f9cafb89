#include "plugins/vagkline/block_dialogue.h"

#include <algorithm>

#include "runtime/commands.h"

namespace corvan::vagkline {

std::optional<CodingData> Identification::codingData() const {
    if (replies.size() < 4) return std::nullopt;
    return codingDataOf(replies[3]);
}

BlockDialogue::BlockDialogue(const ModuleContext& ctx, RetryPrompt prompt,
                             std::function<void()> betweenSteps)
    : link_(ctx, prompt), betweenSteps_(std::move(betweenSteps)) {}

int BlockDialogue::step(std::span<const uint8_t> request) {
    const int length = send(request);
    if (betweenSteps_) betweenSteps_();
    return length;
}

void BlockDialogue::switchKeepAlive(bool on) {
    send(on ? requests_.keepAliveOn : requests_.keepAliveOff);
}

Identification BlockDialogue::readIdentification(std::span<const uint8_t> request) {
    const int length = step(cmd::readKeepAliveRequest());
    requests_ = keepAliveRequests(reply(), length);
    step(requests_.keepAliveOff);
    auto moreGroups = [this] { return (replyByte(reply(), kFirstDataAt) & kMoreGroupsBit) != 0; };
    auto isText = [this] { return blockTitle(reply()) == kTitleText; };

    // First pass: every group is walked through once without keeping anything.
    size_t blocks = 0;
    bool more = false;
    do {
        step(request);
        more = moreGroups();
        ++blocks;
        do {
            step(requests_.acknowledge);
        } while (isText() && ++blocks < kStoredReplies);
        step(requests_.acknowledge);
        step(requests_.acknowledge);
    } while (more && blocks < kStoredReplies);

    // Second pass: each group's blocks are stored; the block that ends a group stays at
    // the next index, where the next group's first block overwrites it.
    Identification id;
    auto store = [&](size_t k) {
        if (id.replies.size() <= k) id.replies.resize(k + 1);
        std::copy_n(reply().begin(), kStoredReplyBytes, id.replies[k].begin());
    };
    size_t k = 0;
    do {
        step(request);
        store(k);
        more = moreGroups();
        if (++k >= kStoredReplies) break;
        bool full = false;
        for (;;) {
            step(requests_.acknowledge);
            store(k);
            if (!isText()) break;
            if (++k >= kStoredReplies) {
                full = true;
                break;
            }
        }
        if (full) break;
        step(requests_.acknowledge);
        step(requests_.acknowledge);
    } while (more);
    id.replies.resize(k);

    step(requests_.keepAliveOn);
    return id;
}

}  // namespace corvan::vagkline
