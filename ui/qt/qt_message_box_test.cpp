// Message boxes: each button set and icon comes up as a QMessageBox, a scripted answer
// closes it without a nested loop, and an unwatched screen never waits for a person.
#include "ui/qt/qt_message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_test_support.h"

namespace corvan::ui::qt {
namespace {

QMessageBox* visibleMessageBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// Answers from a list and records what the box on screen looked like when it was asked.
class RecordingAutomation : public QtAutomation {
  public:
    std::vector<std::optional<Answer>> answers;
    struct Seen {
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        QString text, title;
    };
    std::vector<Seen> seen;

    std::optional<Answer> answer(const MessageBoxRequest&) override {
        QMessageBox* box = visibleMessageBox();
        if (box)
            seen.push_back({box->standardButtons(), box->icon(), box->text(), box->windowTitle()});
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    void act(const std::vector<QtDialog*>&) override {}
};

struct BoxCase {
    Buttons buttons;
    Icon icon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::Icon expectedIcon;
    Answer answer;
};

class MessageBoxKinds : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxKinds, ComeUpWithTheirButtonsAndIconAndCloseOnTheScriptedAnswer) {
    const BoxCase& c = GetParam();
    RecordingAutomation script;
    script.answers = {c.answer};
    QtScreen screen(testing::Options(1).automate(&script));
    EXPECT_EQ(screen.messageBox("CONNECTION ERROR", "funcmenu", c.buttons, c.icon), c.answer);
    ASSERT_EQ(script.seen.size(), 1u);
    EXPECT_EQ(script.seen[0].buttons, c.expectedButtons);
    EXPECT_EQ(script.seen[0].icon, c.expectedIcon);
    EXPECT_EQ(script.seen[0].title, "funcmenu");
    EXPECT_EQ(visibleMessageBox(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    AllSets, MessageBoxKinds,
    ::testing::Values(
        BoxCase{Buttons::Ok, Icon::Information, QMessageBox::Ok, QMessageBox::Information,
                Answer::Ok},
        BoxCase{Buttons::YesNo, Icon::Question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Question, Answer::No},
        BoxCase{Buttons::YesNoCancel, Icon::Warning,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning,
                Answer::Cancel},
        BoxCase{Buttons::RetryCancel, Icon::Stop, QMessageBox::Retry | QMessageBox::Cancel,
                QMessageBox::Critical, Answer::Retry},
        BoxCase{Buttons::Ok, Icon::None, QMessageBox::Ok, QMessageBox::NoIcon, Answer::Ok}));

TEST(QtMessageBox, LineBreaksOfModuleTextsShowAsLineBreaks) {
    RecordingAutomation script;
    script.answers = {Answer::Yes};
    QtScreen screen(testing::Options(1).automate(&script));
    screen.messageBox("VarBox Code: 1\r\nVarBox Version: 2", "", Buttons::YesNo, Icon::None);
    ASSERT_EQ(script.seen.size(), 1u);
    EXPECT_EQ(script.seen[0].text, "VarBox Code: 1\nVarBox Version: 2");
}

// However long its text, a box is never wider than the device's screen: the text wraps, a
// long path breaks, and a text that fits a line is left exactly as it is.
TEST(QtMessageBox, NeverWiderThanTheScreenWithLongTextsWrapped) {
    const std::string longText =
        "No se puede abrir el puerto COM2 (/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ-if00"
        "-port0):\ncannot open the port (No such file or directory), check the cable and the "
        "adapter, then try again";
    for (int scale : {1, 2}) {
        auto box = buildMessageBox({longText, "", Buttons::Ok, Icon::Stop}, QFont(), 320 * scale);
        box->show();
        QApplication::processEvents();
        EXPECT_LE(box->width(), 320 * scale) << scale;
        EXPECT_GT(box->height(), 0);
        box->hide();
    }
    EXPECT_EQ(breakableText("No response from VarBox\nRETRY?"), "No response from VarBox\nRETRY?");
    const QString path = breakableText("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ");
    EXPECT_TRUE(path.contains(QChar(0x200B)));
    EXPECT_EQ(QString(path).remove(QChar(0x200B)),
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ");
}

TEST(QtMessageBox, AnswerTheBoxDoesNotOfferGivesItsEscapeAnswer) {
    RecordingAutomation script;
    script.answers = {Answer::Retry, Answer::Yes};
    QtScreen screen(testing::Options(1).automate(&script).watched(false));
    EXPECT_EQ(screen.messageBox("RETRY?", "", Buttons::YesNo, Icon::Question), Answer::No);
    EXPECT_EQ(screen.messageBox("Load Error", "", Buttons::Ok, Icon::Stop), Answer::Ok);
}

TEST(QtMessageBox, UnwatchedScreenNeverWaitsForAPerson) {
    RecordingAutomation script;  // has nothing to say
    QtScreen screen(testing::Options(1).automate(&script).watched(false));
    EXPECT_FALSE(screen.attended());
    EXPECT_EQ(
        screen.messageBox("No response from VarBox\nRETRY?", "", Buttons::YesNo, Icon::Question),
        Answer::No);
    EXPECT_EQ(screen.messageBox("x", "", Buttons::RetryCancel, Icon::Question), Answer::Cancel);
    EXPECT_EQ(screen.messageBox("x", "", Buttons::YesNoCancel, Icon::Question), Answer::Cancel);

    // Without a display nobody could answer: a screen left to decide is unattended there.
    if (QGuiApplication::platformName() == "offscreen") {
        QtScreenOptions plain;
        plain.scale = 1;
        QtScreen bare(plain);
        EXPECT_FALSE(bare.attended());
        EXPECT_EQ(bare.messageBox("DEMO MODE", "", Buttons::Ok, Icon::None), Answer::Ok);
    }
    EXPECT_EQ(visibleMessageBox(), nullptr);
}

TEST(QtMessageBox, PersonAnswersInAModalBox) {
    QtScreen screen(testing::Options(1).watched(true));
    // Plays the person: clicks Yes on the modal box once it is up.
    std::function<void()> person = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(0, person);
            return;
        }
        box->button(QMessageBox::Yes)->click();
    };
    QTimer::singleShot(0, person);
    EXPECT_EQ(screen.messageBox("ERASE?", "", Buttons::YesNo, Icon::Question), Answer::Yes);
    EXPECT_EQ(visibleMessageBox(), nullptr);
}

TEST(QtMessageBox, EscapeAnswers) {
    EXPECT_EQ(escapeAnswer(Buttons::Ok), Answer::Ok);
    EXPECT_EQ(escapeAnswer(Buttons::YesNo), Answer::No);
    EXPECT_EQ(escapeAnswer(Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(escapeAnswer(Buttons::RetryCancel), Answer::Cancel);
    EXPECT_TRUE(offers(Buttons::RetryCancel, Answer::Retry));
    EXPECT_FALSE(offers(Buttons::YesNo, Answer::Cancel));
}

}  // namespace
}  // namespace corvan::ui::qt
