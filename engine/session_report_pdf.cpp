// The PDF of the session report: drawn by the Qt module (engine/qt_parts.h), loaded only
// when a PDF is asked for, so that an HTML report keeps the run free of Qt.
#include "engine/session_report.h"

#ifdef CORVAN_WITH_QT
#include "engine/qt_parts.h"
#endif

#if defined(CORVAN_WITH_QT) && defined(__SANITIZE_ADDRESS__)
// Laying out the PDF's text makes fontconfig build font patterns that it keeps in its own
// caches until the process ends; the leak checker of a sanitizer build would count them
// against every program that writes a report. The checker reads this from the program, not
// from the module that draws the PDF.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace corvan::engine {

#ifdef CORVAN_WITH_QT
std::string sessionReportPdf(const std::string& html, std::string* error) {
    QtParts* qt = loadQtParts(error);
    if (!qt) {
        if (error) *error += "\nno PDF without it: write the report as .html";
        return {};
    }
    return qt->drawPdf(html, error);
}
#else
std::string sessionReportPdf(const std::string&, std::string* error) {
    if (error) *error = "this build has no Qt, so no PDF: write the report as .html";
    return {};
}
#endif

}  // namespace corvan::engine
