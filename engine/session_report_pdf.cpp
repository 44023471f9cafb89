// The PDF of the session report: Qt lays the report's HTML out on A4 pages and paints it
// into a PDF, so the customer's copy reads the same as the HTML a browser shows.
#include "engine/session_report.h"

#ifdef CORVAN_WITH_QT
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#endif

#if defined(CORVAN_WITH_QT) && defined(__SANITIZE_ADDRESS__)
// Laying out the PDF's text makes fontconfig build font patterns that it keeps in its own
// caches until the process ends; the leak checker of a sanitizer build would count them
// against every program that writes a report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace corvan::engine {

#ifdef CORVAN_WITH_QT
namespace {

// Laying out text needs Qt's fonts, which need a GUI application. A headless run has none,
// so one is made on the offscreen platform (no display needed) and kept for the process.
bool guiApplication(std::string* error) {
    if (QCoreApplication::instance()) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
        if (error) *error = "no GUI application to draw the PDF with";
        return false;
    }
    static int argc = 3;
    static char name[] = "eCor", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    return app != nullptr;
}

}  // namespace

std::string sessionReportPdf(const std::string& html, std::string* error) {
    if (!guiApplication(error)) return {};
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        pdf.setCreator("eCor");
        QTextDocument document;
        document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
        pdf.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        document.print(&pdf);
    }
    if (bytes.isEmpty() && error) *error = "the PDF came out empty";
    return bytes.toStdString();
}
#else
std::string sessionReportPdf(const std::string&, std::string* error) {
    if (error) *error = "this build has no Qt, so no PDF: write the report as .html";
    return {};
}
#endif

}  // namespace corvan::engine
