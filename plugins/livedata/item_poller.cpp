#include "plugins/livedata/item_poller.h"

#include "plugins/livedata/item_decoding.h"
#include "runtime/exchange.h"
#include "runtime/hex_text.h"

namespace corvan::livedata {

namespace {
constexpr double kMaintenanceWaitSeconds = 0.2;
constexpr int kAttempts = 4;
}  // namespace

ItemPoller::ItemPoller(const ModuleContext& ctx, std::string_view text, const VagDecoder& vag)
    : ctx_(ctx),
      text_(text),
      vag_(vag),
      random_(static_cast<std::minstd_rand::result_type>(ctx.clock().nowUs() | 1)) {}

int ItemPoller::exchange(const std::vector<uint8_t>& frame, bool maintenance) {
    return Exchange(ctx_, frame, reply_, kAttempts, maintenance ? kMaintenanceWaitSeconds : 0.0);
}

std::string ItemPoller::randomAnswer() {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string answer(kDemoAnswerDigits, '0');
    for (char& ch : answer) ch = kDigits[random_() % 16];
    return answer;
}

bool ItemPoller::poll(LiveItem& item, RequestTable& requests) {
    if (ctx_.isDemo()) {
        item.value = randomAnswer();
        decodeItemGeneric(item, text_);
        return true;
    }
    RequestEntry* entry = requests.find(item.request);
    RequestEntry alone{item.request, {}, {}};  // an item the table does not know
    if (!entry) entry = &alone;
    const bool cached =
        !entry->answer.empty() && !(item.isVag() && blockTitle(entry->answer) == kTitleDynamicData);
    if (!cached && !pollLine(item, *entry)) return false;
    item.value = entry->answer;
    decodeItem(item, entry->header, text_, vag_);
    if (item.isVagCan()) ctx_.clock().sleepMs(kVagCanPauseMs);
    return true;
}

bool ItemPoller::pollLine(LiveItem& item, RequestEntry& entry) {
    const RequestParts parts = splitRequest(item.request);
    const std::vector<uint8_t> main = ecuRequestFrame(parts.main);
    std::string answer;
    if (item.isVag()) {
        const int length = exchange(main);
        if (length == 0) return false;
        answer = answerText(reply_, length);
        if (blockTitle(answer) == kTitleDynamicHeader &&
            !readDynamicGroup(parts.main, entry, answer))
            return false;
    } else {
        if (!parts.pre.empty()) exchange(ecuRequestFrame(parts.pre));
        const int length = exchange(main);
        if (length == 0) return false;
        answer = answerText(reply_, length);
        if (!parts.post.empty()) exchange(ecuRequestFrame(parts.post));
    }
    entry.answer = std::move(answer);
    return true;
}

bool ItemPoller::readDynamicGroup(const std::vector<uint8_t>& main, RequestEntry& entry,
                                  std::string& answer) {
    const std::vector<uint8_t> frame = ecuRequestFrame(main);
    exchange(maintenanceStopFrame(), true);
    exchange(acknowledgeFrame());
    int length = exchange(frame);
    if (length == 0) return false;
    entry.header = hexToBytes(answerText(reply_, length));
    exchange(maintenanceStartFrame(main.size() > 3 ? main[3] : 0), true);
    length = exchange(frame);
    if (length == 0) return false;
    answer = answerText(reply_, length);
    exchange(maintenanceAcknowledgeFrame(), true);
    exchange(acknowledgeFrame());
    return true;
}

}  // namespace corvan::livedata
