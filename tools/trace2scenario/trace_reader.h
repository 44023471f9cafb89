#pragma once
// Reading a wire trace back: one line per frame as the engine writes it ("<ms> TX|RX|RX!|TX!
// <bytes>", "<ms> LOST", "<ms> REOPENED", "<ms> REOPEN FAILED"), and the exchanges in it:
// each frame the terminal sent with what came back before its next one. Pure: text in,
// records out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::trace {

enum class LineKind { Sent, Received, ReceivedBad, SentCut, Lost, Reopened, ReopenFailed };

struct TraceLine {
    int number = 0;  // line number in the file, from 1
    int64_t ms = 0;
    LineKind kind = LineKind::Sent;
    std::vector<uint8_t> bytes;
};

struct ParsedTrace {
    std::vector<TraceLine> lines;
    std::string error;  // "line 7: ..."; empty when the whole text was read
    bool ok() const { return error.empty(); }
};

// Blank lines and lines starting with "#" are skipped (support staff annotate traces). A TX
// or RX line must hold one whole frame with a good check byte, times never go backwards;
// anything else is an error naming the line.
ParsedTrace parseTrace(std::string_view text);

// One request of the terminal and what the line gave back before the next request.
struct Exchange {
    TraceLine request;
    std::vector<TraceLine> after;  // RX, RX!, LOST, REOPENED, ... in order
    // The good reply frame, when the first thing after the request is one.
    const TraceLine* reply() const;
};

// Lines before the first request (a line lost before anything was sent) are returned in
// `leading`.
struct Exchanges {
    std::vector<TraceLine> leading;
    std::vector<Exchange> list;
};
Exchanges groupExchanges(const std::vector<TraceLine>& lines);

}  // namespace corvan::trace
