#include "plugins/livedata/live_requests.h"

#include "runtime/commands.h"
#include "runtime/hex_text.h"

namespace corvan::livedata {

namespace {
constexpr uint8_t kGroupRead[] = {0x04, 0x00, 0x29};
constexpr uint8_t kAcknowledge[] = {0x03, 0x00, 0x09};
}  // namespace

RequestParts splitRequest(std::string_view request) {
    RequestParts parts;
    const size_t first = request.find('@');
    if (first == std::string_view::npos) {
        parts.main = hexToBytes(request);
        return parts;
    }
    std::vector<uint8_t>* out[] = {&parts.pre, &parts.main, &parts.post};
    size_t at = first;
    for (auto* part : out) {
        if (at == std::string_view::npos) break;
        const size_t next = request.find('@', at + 1);
        *part = hexToBytes(request.substr(
            at + 1, next == std::string_view::npos ? std::string_view::npos : next - at - 1));
        at = next;
    }
    return parts;
}

std::vector<uint8_t> ecuRequestFrame(std::span<const uint8_t> message) {
    return cmd::ecuRequest(message);
}

std::vector<uint8_t> maintenanceStopFrame() {
    const uint8_t message[] = {kGroupRead[0], kGroupRead[1], kGroupRead[2], 0x00};
    return cmd::keepAliveRequest(false, message);
}

std::vector<uint8_t> acknowledgeFrame() {
    return cmd::ecuRequest(kAcknowledge);
}

std::vector<uint8_t> maintenanceStartFrame(uint8_t group) {
    const uint8_t message[] = {kGroupRead[0], kGroupRead[1], kGroupRead[2], group};
    return cmd::keepAliveRequest(true, message);
}

std::vector<uint8_t> maintenanceAcknowledgeFrame() {
    return cmd::keepAliveRequest(true, kAcknowledge);
}

std::string answerText(std::span<const uint8_t> reply, int length) {
    if (length <= 0 || cmd::replyCommand(reply, length) == cmd::kReplyNoEcuAnswer) return {};
    return bytesToHex(cmd::ecuAnswer(reply, length));
}

RequestTable::RequestTable(const std::vector<LiveItem>& items) {
    for (const LiveItem& item : items) {
        if (!item.isSelected() || find(item.request) || entries_.size() == kMaxRequests) continue;
        entries_.push_back({item.request, {}, {}});
    }
}

RequestEntry* RequestTable::find(std::string_view request) {
    for (RequestEntry& e : entries_)
        if (e.request == request) return &e;
    return nullptr;
}

void RequestTable::clearAnswers() {
    for (RequestEntry& e : entries_) e.answer.clear();
}

}  // namespace corvan::livedata
