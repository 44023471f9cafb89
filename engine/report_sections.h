#pragma once
// The result texts of a session read back as report sections. A function hands back an
// empty text, a status word ("OK", "ERROR", a message), or report data: a section head
// ("[IDN]", "[DTC]", "[SYS]=SYSTEM INFORMATION", "[DEL]") and its records, "@" and fields
// each closed by "|" ("@i003|VER|2.1|" for the identification, "@P0100|Air mass|" for a
// code), or a status after the head ("[DEL]@OK"). A report pass hands back several such
// texts one after the other.
#include <string>
#include <string_view>
#include <vector>

namespace corvan::engine {

struct ReportSection {
    std::string head;    // "[IDN]"
    std::string title;   // what followed "=" after the head ("SYSTEM INFORMATION"), or empty
    std::string status;  // a word after "@" with no "|" ("OK", "KO"), or empty
    std::vector<std::vector<std::string>> records;  // the fields of each record
    bool operator==(const ReportSection&) const = default;
};

// The sections of `text`; a text without a section head (empty, or a status word) gives
// none. A record cut short (a field without its "|") is dropped, as the runtime's reader
// does.
std::vector<ReportSection> parseReportSections(std::string_view text);

}  // namespace corvan::engine
