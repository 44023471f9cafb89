#pragma once
// Fetching one item's answer over the box and decoding it. Answers are shared within a
// polling cycle through the request table, except the data blocks of dynamic VAG groups
// (title 0xF4), which are asked again for every item. A VAG group that answers with a
// header block (title 0x02) is read through the box's keep-alive hand-over: the box stops
// repeating the group read, the header is fetched and kept, the box starts again, and the
// data block follows. In DEMO every answer is random and nothing goes on the line.
#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "plugins/livedata/live_item.h"
#include "plugins/livedata/live_requests.h"
#include "plugins/livedata/vag_decoder.h"
#include "runtime/module_context.h"

namespace corvan::livedata {

// The pause that the CAN driver of the box needs after each VAG CAN group read.
inline constexpr int kVagCanPauseMs = 200;
// Random hexadecimal digits of a demonstration answer.
inline constexpr size_t kDemoAnswerDigits = 200;

class ItemPoller {
  public:
    ItemPoller(const ModuleContext& ctx, std::string_view text, const VagDecoder& vag);

    // Polls `item` and leaves its shown value (and, for the VAG kinds, its unit) in the
    // item. False when the main request got no reply and the technician gave up retrying.
    bool poll(LiveItem& item, RequestTable& requests);

  private:
    bool pollLine(LiveItem& item, RequestEntry& entry);
    bool readDynamicGroup(const std::vector<uint8_t>& main, RequestEntry& entry,
                          std::string& answer);
    // One exchange; frames to the box's keep-alive wait 200 ms before they are sent.
    int exchange(const std::vector<uint8_t>& frame, bool maintenance = false);
    std::string randomAnswer();

    const ModuleContext& ctx_;
    std::string_view text_;
    const VagDecoder& vag_;
    std::array<uint8_t, 4096> reply_{};
    std::minstd_rand random_;
};

}  // namespace corvan::livedata
