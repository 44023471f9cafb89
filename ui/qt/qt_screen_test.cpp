// The screen as a whole: pumping (re-entry included), the automation's turn, key state,
// scaling and the pictures it writes.
#include "ui/qt/qt_screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTimer>

#include "ui/qt/qt_dialog.h"
#include "ui/qt/qt_look.h"
#include "ui/qt/qt_test_support.h"

namespace corvan::ui::qt {
namespace {

class CountingAutomation : public QtAutomation {
  public:
    int turns = 0;
    std::vector<std::vector<QtDialog*>> seen;
    bool controlHeld = false;
    std::function<void(const std::vector<QtDialog*>&)> onTurn;

    std::optional<Answer> answer(const MessageBoxRequest&) override { return std::nullopt; }
    void act(const std::vector<QtDialog*>& shown) override {
        ++turns;
        seen.push_back(shown);
        if (onTurn) onTurn(shown);
    }
    bool keyDown(int vk) const override { return vk == 0x11 && controlHeld; }
};

DialogTemplate menu(const std::string& name) {
    DialogTemplate t;
    t.name = name;
    t.title = "OPTIONS MENU: ";
    ControlSpec list;
    list.id = 1;
    list.kind = ControlKind::ListView;
    list.rect = {5, 5, 200, 190};
    list.font = {"Tahoma", 16, 800, false};
    list.headerFont = {"Tahoma", 13, 800, true};
    ControlSpec exit;
    exit.id = 2;
    exit.kind = ControlKind::Button;
    exit.text = "Exit";
    exit.rect = {215, 170, 95, 26};
    ControlSpec power;
    power.id = 3;
    power.kind = ControlKind::Label;
    power.text = "Power";
    power.rect = {215, 10, 60, 16};
    t.controls = {list, exit, power};
    t.exitControl = 2;
    return t;
}

TEST(QtScreen, PumpDispatchesWaitingEvents) {
    QtScreen screen(testing::Options(1));
    int delivered = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++delivered; }, Qt::QueuedConnection);
    EXPECT_EQ(delivered, 0);
    screen.pumpMessages();
    EXPECT_EQ(delivered, 1);
}

TEST(QtScreen, TightPumpingDeliversEveryPostedEventAndStillRunsTimers) {
    // A module reading a long file pumps after every line: what the program posts to itself
    // arrives on the very next pump, and timers (like the window system's input) keep coming.
    QtScreen screen(testing::Options(1));
    int delivered = 0;
    for (int i = 1; i <= 1000; ++i) {
        QMetaObject::invokeMethod(
            qApp, [&] { ++delivered; }, Qt::QueuedConnection);
        screen.pumpMessages();
        ASSERT_EQ(delivered, i);
    }
    bool fired = false;
    QTimer::singleShot(1, qApp, [&] { fired = true; });
    for (long pumps = 0; !fired && pumps < 100000000; ++pumps) screen.pumpMessages();
    EXPECT_TRUE(fired);
}

TEST(QtScreen, PumpFromInsideAHandlerReturnsAtOnce) {
    CountingAutomation script;
    QtScreen screen(testing::Options(1).automate(&script));
    int depth = 0, deepest = 0, delivered = 0;
    auto handler = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        ++delivered;
        screen.pumpMessages();  // a careless module pumping in its handler
        --depth;
    };
    QMetaObject::invokeMethod(qApp, handler, Qt::QueuedConnection);
    QMetaObject::invokeMethod(qApp, handler, Qt::QueuedConnection);
    screen.pumpMessages();
    EXPECT_EQ(delivered, 2);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(script.turns, 1);  // the inner calls gave the automation no turn
    screen.pumpMessages();
    EXPECT_EQ(script.turns, 2);
}

TEST(QtScreen, AutomationSeesTheShownDialogsOldestFirstAndCanPress) {
    CountingAutomation script;
    QtScreen screen(testing::Options(1).automate(&script));
    auto first = screen.createDialog(menu("FUNCMENU"));
    auto second = screen.createDialog(menu("IDENTIFY"));
    auto hidden = screen.createDialog(menu("HIDDEN"));
    first->setHandlers(testing::Handlers().button([&](int) { first->setCommand("EXIT"); }));
    second->show(true);
    first->show(true);
    script.onTurn = [](const std::vector<QtDialog*>& shown) {
        if (!shown.empty()) shown.front()->pressButton(2);
    };
    screen.pumpMessages();
    ASSERT_EQ(script.seen.size(), 1u);
    ASSERT_EQ(script.seen[0].size(), 2u);
    EXPECT_EQ(script.seen[0][0]->layout().name, "FUNCMENU");
    EXPECT_EQ(script.seen[0][1]->layout().name, "IDENTIFY");
    EXPECT_EQ(first->command(), "EXIT");
    second.reset();
    EXPECT_EQ(screen.shownDialogs().size(), 1u);
}

TEST(QtScreen, ControlKeyComesFromTheKeyboardOrTheAutomation) {
    CountingAutomation script;
    QtScreen screen(testing::Options(1).automate(&script));
    EXPECT_FALSE(screen.keyDown(0x11));  // nobody holds it on the offscreen platform
    script.controlHeld = true;
    EXPECT_TRUE(screen.keyDown(0x11));
    EXPECT_FALSE(screen.keyDown(0x41));
}

TEST(QtScreen, AutomaticScaleFitsTheDesktop) {
    EXPECT_EQ(automaticScale(QSize(320, 240)), 1);
    EXPECT_EQ(automaticScale(QSize(800, 600)), 1);
    EXPECT_EQ(automaticScale(QSize(1366, 740)), 2);
    EXPECT_EQ(automaticScale(QSize(1920, 1040)), 3);
    EXPECT_EQ(automaticScale(QSize(3840, 2100)), 4);
    EXPECT_EQ(automaticScale(QSize(0, 0)), 1);
    QtScreen automatic{QtScreenOptions()};
    EXPECT_GE(automatic.scale(), 1);
    QtScreen chosen(testing::Options(2));
    EXPECT_EQ(chosen.scale(), 2);
}

TEST(QtScreenshots, SlugsAreShortPlainAndStable) {
    EXPECT_EQ(fileSlug("No response from VarBox\nRETRY?"), "no-response-from-varbox-retry");
    EXPECT_EQ(fileSlug("OPTIONS MENU: ENGINE"), "options-menu-engine");
    EXPECT_EQ(fileSlug("ERRO DE LIGAÇÃO"), "erro-de-liga-o");
    EXPECT_EQ(fileSlug("???"), "screen");
    EXPECT_LE(fileSlug(std::string(100, 'a')).size(), 40u);
}

TEST(QtScreenshots, OnePictureWhenShownHiddenClosedAndPerMessageBox) {
    const auto dir = testing::outputDir("sequence");
    QtScreen screen(testing::Options(1).shots(dir));
    auto dialog = screen.createDialog(menu("FUNCMENU"));
    dialog->setTitle("OPTIONS MENU: ENGINE");
    dialog->show(true);
    dialog->show(true);  // already up: no second picture
    dialog->show(false);
    dialog->show(true);
    screen.messageBox("DEMO MODE", "", Buttons::Ok, Icon::Information);
    dialog.reset();
    EXPECT_EQ(screen.screenshots().written(), 5);
    for (const char* name :
         {"0001-funcmenu-shown.png", "0002-funcmenu-hidden.png", "0003-funcmenu-shown.png",
          "0004-demo-mode-message.png", "0005-funcmenu-closed.png"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
}

TEST(QtScreenshots, DialogPictureIsTheDeviceScreenWithItsCaption) {
    const auto dir = testing::outputDir("menu");
    for (int scale : {1, 2}) {
        QtScreen screen(testing::Options(scale).shots(dir / std::to_string(scale)));
        auto dialog = screen.createDialog(menu("FUNCMENU"));
        dialog->setTitle("OPTIONS MENU: GOLF IV 1.9 TDI");
        dialog->setColumns(1, {{"OPTIONS", 185}});
        for (const char* row : {"ECU IDENTIFICATION", "TROUBLE CODES", "LIVE DATA", "EXIT"})
            dialog->addRow(1, {row});
        dialog->setRowGrey(1, 2, true);
        dialog->selectRow(1, 0);
        dialog->show(true);
        const auto file = dir / std::to_string(scale) / "0001-funcmenu-shown.png";
        ASSERT_TRUE(std::filesystem::exists(file));
        const QImage picture(QString::fromStdString(file.string()));
        EXPECT_EQ(picture.size(), QSize(320 * scale, (240 + kCaptionPixels) * scale));
        // The caption bar is drawn on top, the dialog below it.
        EXPECT_EQ(picture.pixelColor(2 * scale, 2 * scale), QColor(0, 0, 128));
        EXPECT_NE(picture.pixelColor(2 * scale, (kCaptionPixels + 2) * scale), QColor(0, 0, 128));
    }
}

TEST(QtScreenshots, EveryControlKindAndBoxKindIsDrawn) {
    const auto dir = testing::outputDir("kinds");
    const auto bitmap = testing::writeBitmap(dir / "box.bmp", 24, 16, QColor(255, 200, 0));
    QtScreen screen(testing::Options(1).shots(dir));
    DialogTemplate t;
    t.name = "KINDS";
    auto add = [&](int id, ControlKind kind, Rect r, std::string text = {}) {
        ControlSpec c;
        c.id = id;
        c.kind = kind;
        c.rect = r;
        c.text = std::move(text);
        t.controls.push_back(c);
        return &t.controls.back();
    };
    add(1, ControlKind::Label, {5, 5, 150, 14}, "Alimentación");
    add(2, ControlKind::Edit, {160, 3, 60, 20})->digitsOnly = true;
    add(3, ControlKind::CheckBox, {5, 25, 90, 16}, "Report");
    add(4, ControlKind::Radio, {100, 25, 60, 16}, "K-line");
    add(5, ControlKind::Radio, {165, 25, 60, 16}, "CAN");
    add(6, ControlKind::ComboBox, {5, 45, 150, 100});
    add(7, ControlKind::Progress, {5, 72, 220, 14});
    add(8, ControlKind::Picture, {235, 5, 80, 60});
    ControlSpec* list = add(9, ControlKind::ListView, {5, 92, 310, 110});
    list->font = {"Tahoma", 13, 400, false};
    list->headerFont = {"Tahoma", 13, 800, true};
    add(10, ControlKind::Button, {5, 208, 95, 26}, "Exit");
    ControlSpec* pictured = add(11, ControlKind::Button, {105, 208, 40, 26});
    pictured->bitmap = bitmap.string();
    auto d = screen.createDialog(t);
    d->setTitle("ECU IDENTIFICATION: ENGINE");
    d->setText(2, "1234");
    d->setChecked(3, true);
    d->setChecked(5, true);
    d->setItems(6, {"SPANISH", "ENGLISH"});
    d->setCurrentItem(6, 1);
    d->setProgress(7, 40);
    d->setPicture(8, bitmap.string());
    d->setColumns(9, {{"DESCRIPTION", 140}, {"KEY", 0}, {"INFORMATION", 165}});
    d->addRow(9, {"Part number", "I000", "0281010123"});
    d->addRow(9, {"Coding", "I001", "???"});
    d->setRowGrey(9, 1, true);
    d->show(true);
    screen.messageBox("No response from VarBox\nRETRY?", "", Buttons::YesNo, Icon::Question);
    screen.messageBox("ERROR DE CONEXION", "funcmenu", Buttons::RetryCancel, Icon::Warning);
    const QImage picture(QString::fromStdString((dir / "0001-kinds-shown.png").string()));
    EXPECT_EQ(picture.size(), QSize(320, 240 + kCaptionPixels));
    EXPECT_TRUE(std::filesystem::exists(dir / "0002-no-response-from-varbox-retry-message.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "0003-funcmenu-message.png"));
}

TEST(QtScreenshots, FullScreenDialogHasNoCaption) {
    const auto dir = testing::outputDir("fullscreen");
    QtScreen screen(testing::Options(1).shots(dir));
    DialogTemplate t = menu("WAIT");
    t.fullScreen = true;
    auto dialog = screen.createDialog(t);
    dialog->show(true);
    const QImage picture(QString::fromStdString((dir / "0001-wait-shown.png").string()));
    EXPECT_EQ(picture.size(), QSize(320, 240));
}

TEST(QtScreenshots, NoFolderNoPictures) {
    QtScreen screen(testing::Options(1));
    auto dialog = screen.createDialog(menu("FUNCMENU"));
    dialog->show(true);
    EXPECT_EQ(screen.screenshots().written(), 0);
}

}  // namespace
}  // namespace corvan::ui::qt
