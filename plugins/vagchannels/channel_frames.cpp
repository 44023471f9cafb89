#include "plugins/vagchannels/channel_frames.h"

#include <algorithm>

#include "runtime/commands.h"
#include "runtime/hex_text.h"

namespace corvan::vagchannels {

namespace {

constexpr size_t kMinTemplate = 4;
constexpr size_t kMaxTemplate = 254;
constexpr uint8_t kGroup0Title29 = 0x12;
constexpr uint8_t kGroup0TitleOther = 0x11;
constexpr uint8_t kAcknowledgeTitle = 0x09;

uint8_t group0Title(bool title29) {
    return title29 ? kGroup0Title29 : kGroup0TitleOther;
}

}  // namespace

Bytes blockTemplate(std::string_view frameHex) {
    Bytes block = hexToBytes(frameHex);
    if (block.size() < kMinTemplate) block.resize(kMinTemplate, 0);
    if (block.size() > kMaxTemplate) block.resize(kMaxTemplate);
    return block;
}

bool readsGroupsWithTitle29(std::span<const uint8_t> block) {
    return block.size() > 2 && block[2] == kGroupReadTitle;
}

Bytes groupBlock(std::span<const uint8_t> block, uint8_t group) {
    Bytes b(block.begin(), block.end());
    if (b.size() > kGroupByte) b[kGroupByte] = group;
    return b;
}

Bytes readGroupFrame(std::span<const uint8_t> block) {
    return cmd::ecuRequest(block);
}

Bytes maintenanceStopFrame(std::span<const uint8_t> block) {
    return cmd::keepAliveRequest(false, block);
}

Bytes maintenanceStartFrame(std::span<const uint8_t> block) {
    return cmd::keepAliveRequest(true, block);
}

Bytes acknowledgeFrame() {
    const uint8_t block[] = {0x03, 0x00, kAcknowledgeTitle, 0x00};
    return cmd::ecuRequest(block);
}

Bytes group0ReadFrame(bool title29) {
    const uint8_t block[] = {0x03, 0x00, group0Title(title29)};
    return cmd::ecuRequest(block);
}

Bytes group0MaintenanceFrame(bool title29) {
    const uint8_t block[] = {0x03, 0x00, group0Title(title29), 0x00};
    return cmd::keepAliveRequest(true, block);
}

Bytes queryMaintenanceFrame() {
    return cmd::readKeepAliveRequest();
}

Bytes restoreFrame(std::span<const uint8_t> queryReply, int length) {
    const int m = length >= 4 && queryReply.size() >= 4 ? queryReply[1] : 0;
    if (cmd::replyCommand(queryReply, length) != cmd::kReadKeepAlive || m < 1) {
        const uint8_t acknowledge[] = {0x03, 0x00, kAcknowledgeTitle, 0x00};
        return cmd::keepAliveRequest(true, acknowledge);
    }
    // The frame counts m data bytes: the 01 and the message. Of the m bytes kept from byte 4
    // the last is the reply's check byte, which the send leaves out.
    Bytes frame{0x80, uint8_t(m), cmd::kSetKeepAlive, 0x01};
    const size_t available = std::min<size_t>(queryReply.size(), size_t(length)) - 4;
    const size_t message = std::min<size_t>(size_t(m) - 1, available);
    frame.insert(frame.end(), queryReply.begin() + 4, queryReply.begin() + 4 + long(message));
    frame.resize(size_t(m) + 3, 0);
    return frame;
}

}  // namespace corvan::vagchannels
