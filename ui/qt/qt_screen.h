#pragma once
// The Qt Widgets front end of the screen layer. A program creates its QApplication first,
// then one QtScreen, and hands the screen to the modules:
//
//     QApplication app(argc, argv);
//     corvan::ui::qt::QtScreen screen({.scale = 0, .screenshotDir = "shots"});
//
// Screens are designed for the device's 320 x 240 display and drawn scale times larger.
#include <QFont>
#include <QPoint>
#include <QString>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "ui/qt/qt_automation.h"
#include "ui/qt/qt_screenshots.h"
#include "ui/screen.h"

class QMessageBox;

namespace corvan::ui::qt {

class QtDialog;

struct QtScreenOptions {
    // Device pixels to screen pixels; 0 picks it from the primary screen's size.
    int scale = 0;
    // Empty: no pictures. Otherwise one PNG per dialog shown or closed and per message box.
    std::filesystem::path screenshotDir;
    // Works the screens instead of (or beside) a person; not owned, may be null.
    QtAutomation* automation = nullptr;
    // Host file of a bitmap named by a template (a device path); unset: used as a host path.
    std::function<std::filesystem::path(const std::string&)> bitmapFile;
    // Whether a person watches the screen and answers message boxes the automation leaves.
    // Unset: yes, except on the offscreen and minimal platforms, where nobody could, and
    // such boxes get their escape answer (OK, No, Cancel).
    std::optional<bool> attended;
    // Qt style under the scaling; empty: the classic Windows look, else Fusion.
    QString style;
    // A progress bar is painted at most this often; what a module sets in between shows at
    // the next paint (a start-up moves its bar at every exchange with the box).
    std::chrono::milliseconds progressPaintEvery{500};
    // The time those paints go by; unset: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock;
};

class QtScreen final : public Screen {
  public:
    // Needs the QApplication to exist for the whole life of the screen. Sets the application's
    // style (scaled) and the fallbacks of the device font.
    explicit QtScreen(QtScreenOptions options = {});
    ~QtScreen() override;
    QtScreen(const QtScreen&) = delete;
    QtScreen& operator=(const QtScreen&) = delete;

    std::unique_ptr<Dialog> createDialog(const DialogTemplate& t) override;
    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    // Dispatches waiting events (the window system's at most every 2 ms), then lets the
    // automation act. A call from inside a handler (while a pump is already dispatching)
    // returns at once.
    void pumpMessages() override;
    bool keyDown(int virtualKey) const override;

    int scale() const { return scale_; }
    bool attended() const { return attended_; }
    // False on the offscreen and minimal platforms, where no window is ever seen.
    bool onDisplay() const { return display_; }
    void setScreenshotDir(std::filesystem::path dir) { shots_.setDirectory(std::move(dir)); }
    ScreenshotWriter& screenshots() { return shots_; }
    // The new automation hears of the dialogs that already exist; the old one hears nothing more.
    void setAutomation(QtAutomation* automation);
    QtAutomation* automation() const { return automation_; }

    // The dialogs on screen, in the order they were created.
    std::vector<QtDialog*> shownDialogs() const;

    // For the dialogs: their font, where the device's screen sits on the desktop, and the
    // host file of a template's bitmap.
    QFont systemFont() const;
    QPoint screenOrigin() const { return origin_; }
    QString bitmapFile(const std::string& devicePath) const;
    void attach(QtDialog* dialog);
    void detach(QtDialog* dialog);
    long nextShowOrder() { return ++shows_; }
    std::chrono::steady_clock::time_point now() const {
        return options_.clock ? options_.clock() : std::chrono::steady_clock::now();
    }
    std::chrono::milliseconds progressPaintEvery() const { return options_.progressPaintEvery; }

  private:
    Answer askPerson(QMessageBox& box, const MessageBoxRequest& request, bool picture);

    QtScreenOptions options_;
    int scale_ = 1;
    bool attended_ = true;
    bool display_ = true;
    QPoint origin_;
    ScreenshotWriter shots_;
    QtAutomation* automation_ = nullptr;
    std::vector<QtDialog*> dialogs_;
    bool pumping_ = false;
    long shows_ = 0;
    static constexpr std::chrono::milliseconds kWindowSystemEvery{2};
    std::chrono::steady_clock::time_point lastWindowSystemPump_{};
};

}  // namespace corvan::ui::qt
