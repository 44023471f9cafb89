#pragma once
// The requests of the live-data items: each request text once, with the answer it got in
// the current polling cycle (shared by every item asking the same) and the header block
// of a dynamic VAG group. And the frames the polling sends: ECU requests (one, or a pre-,
// main and post-request written "@pre@main@post") and the keep-alive frames of the box
// around a dynamic group's header.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/livedata/live_item.h"

namespace corvan::livedata {

inline constexpr size_t kMaxRequests = 300;

// ECU messages of one request text; pre and post are empty for a one-part request.
struct RequestParts {
    std::vector<uint8_t> pre, main, post;
};
RequestParts splitRequest(std::string_view request);

// Varbox frames without their check byte.
std::vector<uint8_t> ecuRequestFrame(std::span<const uint8_t> message);  // 80 n+1 20 00 ...
// The box stops repeating the group read while the header is fetched: 80 05 86 00 04 00 29 00.
std::vector<uint8_t> maintenanceStopFrame();
// The KW1281 acknowledge block to the ECU: 80 04 20 00 03 00 09.
std::vector<uint8_t> acknowledgeFrame();
// The box repeats the read of group `group` again: 80 05 86 01 04 00 29 g.
std::vector<uint8_t> maintenanceStartFrame(uint8_t group);
// The box holds the line with acknowledge blocks: 80 04 86 01 03 00 09.
std::vector<uint8_t> maintenanceAcknowledgeFrame();

// The ECU's bytes of a reply of `length` as hexadecimal text; empty when the box says the
// ECU gave no answer (reply command 0x0A) or no reply came.
std::string answerText(std::span<const uint8_t> reply, int length);

struct RequestEntry {
    std::string request;
    std::string answer;           // of this cycle; empty until one came
    std::vector<uint8_t> header;  // header block of a dynamic group, kept across cycles
};

class RequestTable {
  public:
    // The distinct request texts of the selected items, in slot order.
    explicit RequestTable(const std::vector<LiveItem>& items);

    RequestEntry* find(std::string_view request);
    void clearAnswers();
    size_t size() const { return entries_.size(); }

  private:
    std::vector<RequestEntry> entries_;
};

}  // namespace corvan::livedata
