#include "plugins/livedata/live_csv.h"

#include <cstdio>
#include <map>

namespace corvan::livedata {

namespace {

std::string field(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string seconds(int64_t ms) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(ms) / 1000.0);
    return buf;
}

}  // namespace

std::string csvHeading(const RecordedItem& item) {
    std::string h = item.key;
    if (!item.description.empty()) h += " " + item.description;
    if (!item.unit.empty()) h += " (" + item.unit + ")";
    return h;
}

std::string liveCsv(const std::vector<CsvColumn>& columns, int64_t originMs) {
    std::string out = "Time (s)";
    for (const CsvColumn& c : columns) out += ";" + field(c.heading);
    out += "\r\n";
    struct Row {
        int64_t ms;
        std::vector<const std::string*> values;
    };
    std::map<uint32_t, Row> rows;
    for (size_t k = 0; k < columns.size(); ++k)
        for (const Sample& s : columns[k].samples) {
            auto [it, added] = rows.try_emplace(
                s.cycle, Row{s.ms, std::vector<const std::string*>(columns.size(), nullptr)});
            if (!added && s.ms < it->second.ms) it->second.ms = s.ms;
            it->second.values[k] = &s.text;
        }
    for (const auto& [cycle, row] : rows) {
        out += seconds(row.ms - originMs);
        for (const std::string* v : row.values) out += ";" + (v ? field(*v) : std::string());
        out += "\r\n";
    }
    return out;
}

std::vector<CsvColumn> recordingColumns(const LiveRecording& recording) {
    std::vector<CsvColumn> columns;
    for (const RecordedItem& it : recording.items()) {
        CsvColumn c{csvHeading(it), {}};
        for (size_t i = 0; i < it.ring.size(); ++i) c.samples.push_back(it.ring.at(i));
        columns.push_back(std::move(c));
    }
    return columns;
}

std::string csvFileName(std::string_view prefix, const CivilTime& at) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "_%04d%02d%02d_%02d%02d%02d.CSV", at.year, at.month, at.day,
                  at.hour, at.minute, at.second);
    return std::string(prefix) + buf;
}

}  // namespace corvan::livedata
