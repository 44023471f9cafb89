#pragma once
// What a program needs to show its screens with Qt, in one object: the application, the
// screen and, when given, the technician script that works it. The engine and ecor-run
// build one when a display is there (or when asked) and use the headless screen otherwise.
//
//     if (qt::displayAvailable() || wantQt) {
//         qt::QtFrontEnd front(argc, argv, {.scale = 0, .screenshotDir = dir});
//         run(front.screen());
//     }
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "ui/display.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_script_automation.h"

class QApplication;

namespace corvan::ui::qt {

// Whether Qt can open windows someone sees (ui/display.h).
using ui::displayAvailable;

struct QtFrontEndOptions {
    int scale = 0;  // 0: automatic
    std::filesystem::path screenshotDir;
    // Render without a display (pictures only, nobody at the screen).
    bool offscreen = false;
    // Work the screens by this script instead of a person.
    std::optional<TechnicianScript> script;
    ScriptLimits limits;
    std::function<std::filesystem::path(const std::string&)> bitmapFile;
};

class QtFrontEnd {
  public:
    // argc and argv must outlive the front end (Qt keeps them). Creates the QApplication,
    // which must be the only one of the process.
    QtFrontEnd(int& argc, char** argv, QtFrontEndOptions options);
    ~QtFrontEnd();
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    QtScreen& screen() { return *screen_; }
    // The script's headless twins (dump, message boxes, run report); null without a script.
    ScriptAutomation* script() { return script_.get(); }

  private:
    std::unique_ptr<QApplication> app_;
    std::unique_ptr<ScriptAutomation> script_;
    std::unique_ptr<QtScreen> screen_;
};

}  // namespace corvan::ui::qt
