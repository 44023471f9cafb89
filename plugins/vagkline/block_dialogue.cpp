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
    : link_(ctx, prompt, std::move(betweenSteps)) {}

void BlockDialogue::queryKeepAlive() {
    const int length = send(cmd::readKeepAliveRequest());
    requests_ = keepAliveRequests(reply(), length);
}

void BlockDialogue::switchKeepAlive(bool on) {
    send(on ? requests_.keepAliveOn : requests_.keepAliveOff);
}

Identification BlockDialogue::readIdentification(std::span<const uint8_t> request) {
    queryKeepAlive();
    switchKeepAlive(false);
    auto moreGroups = [this] { return (replyByte(reply(), kFirstDataAt) & kMoreGroupsBit) != 0; };
    auto isText = [this] { return blockTitle(reply()) == kTitleText; };

    // First pass: every group is walked through once without keeping anything.
    size_t blocks = 0;
    bool more = false;
    do {
        send(request);
        more = moreGroups();
        ++blocks;
        do {
            send(requests_.acknowledge);
        } while (isText() && ++blocks < kStoredReplies);
        send(requests_.acknowledge);
        send(requests_.acknowledge);
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
        send(request);
        store(k);
        more = moreGroups();
        if (++k >= kStoredReplies) break;
        bool full = false;
        for (;;) {
            send(requests_.acknowledge);
            store(k);
            if (!isText()) break;
            if (++k >= kStoredReplies) {
                full = true;
                break;
            }
        }
        if (full) break;
        send(requests_.acknowledge);
        send(requests_.acknowledge);
    } while (more);
    id.replies.resize(k);

    switchKeepAlive(true);
    return id;
}

}  // namespace corvan::vagkline
