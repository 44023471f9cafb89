#include "engine/session_report.h"

#include <cstdio>

#include "engine/session_report_texts.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::engine {

namespace {

namespace t = report_texts;

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\n':
                out += "<br>";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string timeOfDay(const CivilTime& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    return buf;
}

class Writer {
  public:
    Writer(const SessionRecord& record, const ReportHeader& header)
        : record_(record), header_(header) {}
    std::string html();

  private:
    std::string pick(const TextTable& table) const {
        return escaped(PickText(table, header_.language));
    }
    void headerRows();
    void section(const SessionEntry& entry);
    void codesTable(const ReportSection& codes);
    void recordsTable(const ReportSection& s, const TextTable* first, const TextTable* second);
    void erase(const SessionEntry& entry);
    void journal();
    void row(std::string_view label, std::string_view value);
    std::string kindText(const std::string& kind) const;

    const SessionRecord& record_;
    const ReportHeader& header_;
    std::string out_;
    size_t eraseIndex_ = 0;
    std::vector<EraseOutcome> erases_;
};

void Writer::row(std::string_view label, std::string_view value) {
    out_ += "<tr><th align=\"left\">";
    out_ += label;
    out_ += "</th><td>";
    out_ += escaped(value);
    out_ += "</td></tr>\n";
}

void Writer::headerRows() {
    out_ += "<table class=\"head\" cellspacing=\"0\" cellpadding=\"3\">\n";
    if (!header_.workshop.empty()) row(pick(t::kWorkshop), header_.workshop);
    row(pick(t::kVehicle), record_.vehicle().selection);
    row(pick(t::kRecord), record_.vehicle().record);
    row(pick(t::kStarted), civilText(record_.started()));
    row(pick(t::kWritten), civilText(header_.written));
    out_ += "</table>\n";
    if (record_.vehicle().demo) out_ += "<p><b>" + pick(t::kDemoNotice) + "</b></p>\n";
}

void Writer::recordsTable(const ReportSection& s, const TextTable* first, const TextTable* second) {
    out_ += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
    if (first && second)
        out_ += "<tr><th align=\"left\">" + pick(*first) + "</th><th align=\"left\">" +
                pick(*second) + "</th></tr>\n";
    for (const auto& fields : s.records) {
        out_ += "<tr>";
        // Identification and system records are id, label and value: the id is the data's
        // own numbering, of no use to the customer.
        const size_t from = fields.size() >= 3 ? 1 : 0;
        for (size_t i = from; i < fields.size(); ++i) out_ += "<td>" + escaped(fields[i]) + "</td>";
        out_ += "</tr>\n";
    }
    out_ += "</table>\n";
}

void Writer::codesTable(const ReportSection& codes) {
    if (codes.records.empty()) {
        out_ += "<p>" + pick(t::kNoCodes) + "</p>\n";
        return;
    }
    recordsTable(codes, &t::kCode, &t::kDescription);
}

void Writer::erase(const SessionEntry& entry) {
    out_ +=
        "<h2>" + pick(t::kEraseSection) + " <small>" + timeOfDay(entry.time) + "</small></h2>\n";
    const EraseOutcome* outcome = eraseIndex_ < erases_.size() ? &erases_[eraseIndex_++] : nullptr;
    out_ +=
        "<p><b>" + pick(entry.section.status == "OK" ? t::kErased : t::kNotErased) + "</b></p>\n";
    if (!outcome) return;
    out_ += "<h3>" + pick(t::kCodesBefore) + "</h3>\n";
    if (outcome->before)
        codesTable(*outcome->before);
    else
        out_ += "<p>" + pick(t::kNotRead) + "</p>\n";
    out_ += "<h3>" + pick(t::kCodesAfter) + "</h3>\n";
    if (outcome->after)
        codesTable(*outcome->after);
    else
        out_ += "<p>" + pick(t::kNotRead) + "</p>\n";
}

void Writer::section(const SessionEntry& entry) {
    const ReportSection& s = entry.section;
    if (s.head == "[DEL]") {
        if (!s.status.empty()) erase(entry);
        return;
    }
    std::string heading;
    const TextTable* first = &t::kDescription;
    const TextTable* second = &t::kValue;
    if (s.head == "[SYS]")
        heading = pick(t::kSystemSection);
    else if (s.head == "[IDN]")
        heading = pick(t::kIdentificationSection);
    else if (s.head == "[DTC]")
        heading = pick(t::kCodesSection);
    else {
        // A section this report does not know: shown under its own head, fields as they came.
        heading = escaped(s.title.empty() ? s.head : s.head + " " + s.title);
        first = second = nullptr;
    }
    out_ += "<h2>" + heading + " <small>" + timeOfDay(entry.time) + "</small></h2>\n";
    if (s.head == "[DTC]")
        codesTable(s);
    else if (!s.records.empty())
        recordsTable(s, first, second);
    if (!s.status.empty()) out_ += "<p>" + escaped(s.status) + "</p>\n";
}

std::string Writer::kindText(const std::string& kind) const {
    static const std::pair<std::string_view, const TextTable*> kinds[] = {
        {"erase", &t::kKindErase},
        {"coding", &t::kKindCoding},
        {"adaptation", &t::kKindAdaptation},
        {"login", &t::kKindLogin},
        {"key", &t::kKindKey},
        {"airbag", &t::kKindAirbag},
        {"service", &t::kKindService}};
    for (const auto& [word, table] : kinds)
        if (kind == word) return pick(*table);
    return escaped(kind);
}

void Writer::journal() {
    out_ += "<h2>" + pick(t::kJournalSection) + "</h2>\n";
    const auto& entries = record_.journal().writes();
    if (entries.empty()) {
        out_ += "<p>" + pick(t::kNoWrites) + "</p>\n";
        return;
    }
    out_ += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<tr>";
    for (const TextTable* h :
         {&t::kTime, &t::kUnit, &t::kKind, &t::kBefore, &t::kValue, &t::kSent, &t::kAnswer})
        out_ += "<th align=\"left\">" + pick(*h) + "</th>";
    out_ += "</tr>\n";
    for (const SessionWrite& e : entries) {
        const std::string answer =
            e.answered ? escaped(e.answer) + " (" + pick(e.done ? t::kDone : t::kNotDone) + ")"
                       : pick(t::kNoAnswer);
        out_ += "<tr><td>" + timeOfDay(e.time) + "</td><td>" + escaped(e.write.unit) + "</td><td>" +
                kindText(e.write.kind) + "</td><td>" + escaped(e.write.before) + "</td><td>" +
                escaped(e.write.value) + "</td><td><tt>" + escaped(e.write.sent) +
                "</tt></td><td>" + answer + "</td></tr>\n";
    }
    out_ += "</table>\n";
}

std::string Writer::html() {
    erases_ = record_.erases();
    const std::string title = pick(t::kTitle);
    out_ = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>" + title +
           "</title>\n<style>\nbody { font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; }\n"
           "h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 14pt; }\n"
           "h3 { font-size: 10pt; } th { background-color: #e0e0e0; }\n"
           "table { border-collapse: collapse; }\n"
           "table.head th { background-color: transparent; }\n</style></head>\n<body>\n";
    out_ += "<h1>" + title + "</h1>\n";
    headerRows();
    if (record_.entries().empty()) out_ += "<p>" + pick(t::kNothing) + "</p>\n";
    // The readings an erase shows as its codes before and after are not shown again.
    std::vector<bool> inErase(record_.entries().size(), false);
    for (const EraseOutcome& e : erases_)
        for (const int i : {e.beforeEntry, e.afterEntry})
            if (i >= 0) inErase[static_cast<size_t>(i)] = true;
    // The system information describes the unit and the data: it heads the sections, though
    // the function menu hands it back only when the technician leaves.
    for (const bool system : {true, false})
        for (size_t i = 0; i < record_.entries().size(); ++i) {
            const SessionEntry& entry = record_.entries()[i];
            if ((entry.section.head == "[SYS]") == system && !inErase[i]) section(entry);
        }
    journal();
    out_ += "</body></html>\n";
    return std::move(out_);
}

}  // namespace

std::string civilText(const CivilTime& c) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                  c.minute, c.second);
    return buf;
}

std::string sessionReportHtml(const SessionRecord& record, const ReportHeader& header) {
    return Writer(record, header).html();
}

std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file) {
    const std::string ext = asciiUpper(file.extension().string());
    if (ext == ".HTML" || ext == ".HTM") return ReportFormat::Html;
    if (ext == ".PDF") return ReportFormat::Pdf;
    return std::nullopt;
}

bool writeSessionReport(const std::filesystem::path& file, const std::string& html,
                        std::string* error) {
    const auto format = reportFormatOf(file);
    if (!format) {
        if (error) *error = "a session report is .html or .pdf: " + file.string();
        return false;
    }
    std::string bytes = html;
    if (*format == ReportFormat::Pdf) {
        bytes = sessionReportPdf(html, error);
        if (bytes.empty()) return false;
    }
    if (!writeFileAtomic(file, bytes)) {
        if (error) *error = "cannot write " + file.string();
        return false;
    }
    return true;
}

}  // namespace corvan::engine
