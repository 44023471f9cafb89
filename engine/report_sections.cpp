#include "engine/report_sections.h"

namespace corvan::engine {

namespace {

constexpr size_t npos = std::string_view::npos;

// Where the token from `p` ends: at the next "|", "@" or "[" (or the end of the text).
size_t tokenEnd(std::string_view text, size_t p) {
    const size_t end = text.find_first_of("|@[", p);
    return end == npos ? text.size() : end;
}

}  // namespace

std::vector<ReportSection> parseReportSections(std::string_view text) {
    std::vector<ReportSection> sections;
    size_t p = 0;
    // A head is "[" word "]" at the start of the text or right after what closed the last
    // section; a text that begins otherwise is a status word, not report data.
    while (p < text.size() && text[p] == '[') {
        const size_t close = text.find(']', p);
        if (close == npos) break;
        ReportSection section;
        section.head = std::string(text.substr(p, close - p + 1));
        p = close + 1;
        if (p < text.size() && text[p] == '=') {
            size_t end = text.find_first_of("@[", p + 1);
            if (end == npos) end = text.size();
            section.title = std::string(text.substr(p + 1, end - p - 1));
            p = end;
        }
        while (p < text.size() && text[p] == '@') {
            size_t end = tokenEnd(text, p + 1);
            if (end == text.size() || text[end] != '|') {
                // "@OK" with no "|" after it: the section's status word.
                section.status = std::string(text.substr(p + 1, end - p - 1));
                p = end;
                continue;
            }
            // Fields, each closed by "|", until a new record, a new head or the end.
            std::vector<std::string> fields;
            size_t q = p + 1;
            bool complete = true;
            while (true) {
                const size_t bar = text.find('|', q);
                if (bar == npos) {
                    complete = false;
                    q = text.size();
                    break;
                }
                fields.emplace_back(text.substr(q, bar - q));
                q = bar + 1;
                if (q >= text.size() || text[q] == '@' || text[q] == '[') break;
            }
            if (complete) section.records.push_back(std::move(fields));
            p = q;
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

}  // namespace corvan::engine
