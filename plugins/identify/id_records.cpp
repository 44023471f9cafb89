#include "plugins/identify/id_records.h"

#include "runtime/param_text.h"

namespace corvan::identify {

namespace {
constexpr std::string_view kRecordMark = "@I";
constexpr std::string_view kEndMark = "ENDDATA";
}  // namespace

std::string IdRecord::label() const {
    return stripQuotes(description);
}

std::vector<IdRecord> readIdRecords(std::string_view text, int start) {
    std::vector<IdRecord> records;
    int bound = findFrom(text, kEndMark, start);
    int at = findFrom(text, kRecordMark, start);
    while (at >= 0 && records.size() < kMaxRecords && (bound < 0 || at < bound)) {
        IdRecord r;
        r.id = std::string(text.substr(static_cast<size_t>(at) + 1, 4));
        int pos = at;
        r.description = readBracket(text, pos);
        r.request = readBracket(text, pos);
        r.start = readBracket(text, pos);
        r.count = readBracket(text, pos);
        r.format = readBracket(text, pos);
        records.push_back(std::move(r));
        // The block ends at the first "ENDDATA" after this record, even when a record with
        // missing brackets made the fields run past it.
        bound = findFrom(text, kEndMark, at);
        at = findFrom(text, kRecordMark, pos);
    }
    return records;
}

RequestTable::RequestTable(const std::vector<IdRecord>& records) {
    for (const IdRecord& r : records) {
        if (entries_.size() == kMaxRequests) break;
        if (!reply(r.request)) entries_.push_back({r.request, {}});
    }
}

std::string* RequestTable::reply(std::string_view request) {
    for (Entry& e : entries_)
        if (e.request == request) return &e.reply;
    return nullptr;
}

}  // namespace corvan::identify
