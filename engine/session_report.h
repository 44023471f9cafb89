#pragma once
// The session report a technician hands to the customer: the workshop, the vehicle, the
// data record and the date, then everything the session's functions returned or showed in
// report form, in the order it came (the system information, the identification, each
// reading of the trouble codes, each erase with the codes before and after it), and every
// write to the vehicle. HTML, in the session's language; the PDF is drawn from it.
#include <filesystem>
#include <optional>
#include <string>

#include "engine/session_record.h"
#include "platform/clock.h"

namespace corvan::engine {

// The key of iCor.cfg that names the workshop on the report ("WORKSHOP=[Garage Sol]").
inline constexpr std::string_view kWorkshopKey = "WORKSHOP=";
// The key that makes eCor offer the report when the function menu returns:
// "SESSION_REPORT=[YES]" (any case); missing or anything else: no question.
inline constexpr std::string_view kSessionReportKey = "SESSION_REPORT=";

struct ReportHeader {
    std::string workshop;  // empty: the line is left out
    int language = 1;      // the session's language index
    CivilTime written;     // when the report is written, on the run's clock
};

std::string sessionReportHtml(const SessionRecord& record, const ReportHeader& header);

// "2007-02-03 09:05:07"
std::string civilText(const CivilTime& t);

enum class ReportFormat { Html, Pdf };
// By the file's extension, in any case: ".html"/".htm" or ".pdf"; nullopt for any other.
std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file);

// Writes `html` as the file's format says, atomically (the old file or the new one, never a
// torn one); false with `error` set.
bool writeSessionReport(const std::filesystem::path& file, const std::string& html,
                        std::string* error);

// The PDF of `html` (A4, the report's own fonts); empty with `error` set when this build
// cannot draw one. Implemented with Qt's painting (engine/session_report_pdf.cpp).
std::string sessionReportPdf(const std::string& html, std::string* error);

}  // namespace corvan::engine
