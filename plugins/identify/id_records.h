#pragma once
// Identification records in the parameter text, and the table of the distinct requests
// they make with each request's cached reply. A record is "@I" and three characters, then
// five bracketed fields: description (quoted), request (hexadecimal, or "INITIAL_ID"),
// start byte, byte count and format; the block ends at "ENDDATA".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::identify {

inline constexpr size_t kMaxRecords = 30;
inline constexpr size_t kMaxRequests = 30;
// The request of a record that shows the ECU's answer to the connection set-up.
inline constexpr std::string_view kInitialId = "INITIAL_ID";

struct IdRecord {
    std::string id;           // "I" and the three characters after it, e.g. "I000"
    std::string description;  // as written, quotes included
    std::string request;
    std::string start;
    std::string count;
    std::string format;

    // The description as shown and reported: without its quotes.
    std::string label() const;
};

// Up to 30 records from `start` on. Each record is taken only when its "@I" comes before
// the first "ENDDATA" after the previous record (after `start` for the first one).
std::vector<IdRecord> readIdRecords(std::string_view text, int start);

// The distinct request texts (exact comparison), at most 30, in order of first appearance,
// each with the reply text last received for it (empty until a good reply came).
class RequestTable {
  public:
    explicit RequestTable(const std::vector<IdRecord>& records);

    // The cached reply of `request`, or null when the request is not in the table.
    std::string* reply(std::string_view request);
    size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::string request, reply;
    };
    std::vector<Entry> entries_;
};

}  // namespace corvan::identify
