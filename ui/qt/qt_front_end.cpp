#include "ui/qt/qt_front_end.h"

#include <QApplication>

namespace corvan::ui::qt {

QtFrontEnd::QtFrontEnd(int& argc, char** argv, QtFrontEndOptions options) {
    if (options.offscreen) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc, argv);
    if (options.script)
        script_ = std::make_unique<ScriptAutomation>(*options.script, options.limits);
    QtScreenOptions screen;
    screen.scale = options.scale;
    screen.screenshotDir = options.screenshotDir;
    screen.automation = script_.get();
    screen.bitmapFile = options.bitmapFile;
    screen_ = std::make_unique<QtScreen>(std::move(screen));
}

QtFrontEnd::~QtFrontEnd() {
    // The screen goes before the script it calls, and both before the application.
    screen_.reset();
    script_.reset();
    app_.reset();
}

}  // namespace corvan::ui::qt
