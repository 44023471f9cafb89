#include "runtime/result_text.h"

namespace corvan {

std::string resultRecord(std::string_view id, std::string_view label, std::string_view value) {
    std::string r;
    r.reserve(id.size() + label.size() + value.size() + 4);
    r += '@';
    r += id;
    r += '|';
    r += label;
    r += '|';
    r += value;
    r += '|';
    return r;
}

std::vector<ResultRecord> parseResultRecords(std::string_view text) {
    std::vector<ResultRecord> records;
    size_t p = text.find('@');
    while (p != std::string_view::npos) {
        std::string_view fields[3];
        size_t q = p + 1;
        bool complete = true;
        for (auto& f : fields) {
            const size_t bar = text.find('|', q);
            if (bar == std::string_view::npos) {
                complete = false;
                break;
            }
            f = text.substr(q, bar - q);
            q = bar + 1;
        }
        if (!complete) break;
        records.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2])});
        p = text.find('@', q);
    }
    return records;
}

}  // namespace corvan
