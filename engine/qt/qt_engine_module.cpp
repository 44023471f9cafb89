// libcorvan_engine_qt.so: the Qt window of eCor and ecor-run and the PDF of the session
// report, opened by the programs only when a run needs them (engine/qt_parts.h). Its one
// export is the entry; the screen layer and Qt stay inside it.
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include "engine/qt_parts.h"
#include "ui/qt/qt_front_end.h"

namespace corvan::engine {
namespace {

class Window final : public QtWindow {
  public:
    Window(int& argc, char** argv, ui::qt::QtFrontEndOptions options)
        : front_(argc, argv, std::move(options)) {}
    ui::Screen& screen() override { return front_.screen(); }
    ui::HeadlessScreen* record() override {
        return front_.script() ? &front_.script()->twins() : nullptr;
    }

  private:
    ui::qt::QtFrontEnd front_;
};

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

// Qt lays the report's HTML out on A4 pages and paints it into a PDF, so the customer's
// copy reads the same as the HTML a browser shows.
std::string sessionPdf(const std::string& html, std::string* error) {
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

class Parts final : public QtParts {
  public:
    std::unique_ptr<QtWindow> openWindow(int& argc, char** argv, QtWindowOptions options) override {
        ui::qt::QtFrontEndOptions qt;
        qt.offscreen = options.offscreen;
        qt.scale = options.scale;
        qt.screenshotDir = std::move(options.screenshotDir);
        qt.script = std::move(options.script);
        qt.bitmapFile = std::move(options.bitmapFile);
        return std::make_unique<Window>(argc, argv, std::move(qt));
    }
    std::string drawPdf(const std::string& html, std::string* error) override {
        return sessionPdf(html, error);
    }
};

}  // namespace
}  // namespace corvan::engine

extern "C" __attribute__((visibility("default"))) corvan::engine::QtParts*
corvan_engine_qt_parts_v1() {
    static corvan::engine::Parts parts;
    return &parts;
}
