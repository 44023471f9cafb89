#pragma once
// The requests of the Nissan key coding and pairing procedure and how its replies read. The
// coding start and status requests come from the data ("CODEKEY=", "INFKEY="), the closing
// message 0x30 is the box driver's own. Pure functions.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace corvan::nissankeys {

// Polls of the status before the procedure counts as failed.
inline constexpr int kMaxPolls = 200;

struct NissanRequests {
    std::vector<uint8_t> start, status, closing;
    // The data name both requests (a request without bytes is not sent).
    bool usable() const { return start.size() > 4 && status.size() > 4; }
};

// From the item's "CODEKEY=" and "INFKEY=" (hexadecimal, at most 99 bytes each, an odd
// last character paired with 0) and the closing 80 02 20 00 30.
NissanRequests readRequests(std::string_view text, int start);

// The start reply says the procedure runs: 0x01 at reply byte 4.
bool codingStarted(std::span<const uint8_t> reply);
// The status reply says the key is coded: 0x02 at reply byte 6.
bool codingDone(std::span<const uint8_t> reply);
// The bar while the status is polled: the polls done so far, halved (0 to 99).
int pollProgress(int pollsDone);

}  // namespace corvan::nissankeys
