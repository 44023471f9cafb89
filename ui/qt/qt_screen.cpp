#include "ui/qt/qt_screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "ui/qt/qt_dialog.h"
#include "ui/qt/qt_look.h"
#include "ui/qt/qt_message_box.h"

namespace corvan::ui::qt {

namespace {

bool platformWithoutDisplay() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

}  // namespace

QtScreen::QtScreen(QtScreenOptions options)
    : options_(std::move(options)), automation_(options_.automation) {
    installFontSubstitutions();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect desktop = primary ? primary->availableGeometry() : QRect(0, 0, 320, 240);
    scale_ = options_.scale > 0 ? options_.scale : automaticScale(desktop.size());
    display_ = !platformWithoutDisplay();
    attended_ = options_.attended.value_or(display_);
    // The device's screen is one fixed area; on a desktop it sits in the middle.
    const QSize device(320 * scale_, 240 * scale_);
    origin_ = desktop.topLeft() + QPoint(std::max(0, (desktop.width() - device.width()) / 2),
                                         std::max(0, (desktop.height() - device.height()) / 2));
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setStyle(createScaledStyle(scale_, options_.style));
    shots_.setDirectory(options_.screenshotDir);
}

QtScreen::~QtScreen() = default;

std::unique_ptr<Dialog> QtScreen::createDialog(const DialogTemplate& t) {
    return std::make_unique<QtDialog>(*this, t);
}

Answer QtScreen::messageBox(const std::string& text, const std::string& title, Buttons buttons,
                            Icon icon) {
    const MessageBoxRequest request{text, title, buttons, icon};
    auto box = buildMessageBox(request, systemFont(), 320 * scale_);
    const std::string subject = title.empty() ? text : title;
    const bool unwatched = automation_ || !attended_;
    if (unwatched) {
        // The box comes up before anything answers it: the picture shows it, and the
        // automation sees it on screen as a person would.
        box->show();
        // In the middle of the device's screen, as a box without parent stands on the device.
        const QSize device(320 * scale_, 240 * scale_);
        box->move(origin_ + QPoint((device.width() - box->width()) / 2,
                                   (device.height() - box->height()) / 2));
        shots_.save(box.get(), subject, "message", box->windowTitle(), true, scale_);
    }
    std::optional<Answer> answer = automation_ ? automation_->answer(request) : std::nullopt;
    if (answer && !offers(buttons, *answer)) answer.reset();
    if (!answer && attended_) {
        box->hide();
        return askPerson(*box, request, !unwatched);
    }
    // Its button is clicked as a person would, which closes the box; no nested event loop
    // runs, so nothing can hang on it.
    const Answer given = answer.value_or(escapeAnswer(buttons));
    if (QAbstractButton* button = box->button(standardButtonOf(given))) button->click();
    box->hide();
    return given;
}

Answer QtScreen::askPerson(QMessageBox& box, const MessageBoxRequest& request, bool picture) {
    // The picture is taken once the box is laid out and on screen, inside its own loop.
    if (picture) {
        QTimer::singleShot(0, &box, [this, &box, &request] {
            shots_.save(&box, request.title.empty() ? request.text : request.title, "message",
                        box.windowTitle(), true, scale_);
        });
    }
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    return answerOf(clicked).value_or(escapeAnswer(request.buttons));
}

void QtScreen::pumpMessages() {
    if (pumping_) return;
    pumping_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{pumping_};
    // Modules pump after every step of their work, a line of a long data file or a byte from
    // the box, tens of thousands of times a second. Looking at the window system's queue costs
    // a poll of its connection, far more than such a step: the events the program posted to
    // itself are delivered on every pump, the window system's (input, exposure, timers) at
    // most every kWindowSystemEvery, which nobody at the screen can tell from every pump.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastWindowSystemPump_ >= kWindowSystemEvery) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lastWindowSystemPump_ = std::chrono::steady_clock::now();
    } else {
        QCoreApplication::sendPostedEvents();
    }
    for (QtDialog* dialog : dialogs_) dialog->paintDueProgress();
    if (automation_) automation_->act(shownDialogs());
}

bool QtScreen::keyDown(int virtualKey) const {
    if (automation_ && automation_->keyDown(virtualKey)) return true;
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    switch (virtualKey) {
        case 0x10:
            return held & Qt::ShiftModifier;
        case 0x11:
            return held & Qt::ControlModifier;
        case 0x12:
            return held & Qt::AltModifier;
        default:
            return false;
    }
}

std::vector<QtDialog*> QtScreen::shownDialogs() const {
    std::vector<QtDialog*> shown;
    std::copy_if(dialogs_.begin(), dialogs_.end(), std::back_inserter(shown),
                 [](const QtDialog* d) { return d->isVisible(); });
    return shown;
}

QFont QtScreen::systemFont() const {
    return deviceFont(FontSpec{}, scale_);
}

QString QtScreen::bitmapFile(const std::string& devicePath) const {
    if (options_.bitmapFile)
        return QString::fromStdString(options_.bitmapFile(devicePath).string());
    return QString::fromStdString(devicePath);
}

void QtScreen::setAutomation(QtAutomation* automation) {
    automation_ = automation;
    if (automation_)
        for (QtDialog* d : dialogs_) automation_->dialogCreated(d);
}

void QtScreen::attach(QtDialog* dialog) {
    dialogs_.push_back(dialog);
    if (automation_) automation_->dialogCreated(dialog);
}

void QtScreen::detach(QtDialog* dialog) {
    if (automation_) automation_->dialogDestroyed(dialog);
    std::erase(dialogs_, dialog);
}

}  // namespace corvan::ui::qt
