// A technician script on Qt screens runs as it runs headless: the same module with the same
// script gives the same result, the same message-box answers and the same screen dump.
#include "ui/qt/qt_script_automation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <sstream>

#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_test_support.h"

namespace corvan::ui::qt {
namespace {

enum Ids {
    kList = 1000,
    kSelect = 2,
    kExit = 3,
    kLog = 4,
    kCode = 5,
    kLanguage = 6,
    kA = 7,
    kB = 8
};

ControlSpec spec(int id, ControlKind kind, Rect rect, std::string text = {}) {
    ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::move(text);
    return c;
}

// A module written the way every plug-in is: handlers store command words, its own loop
// pumps and acts on them, and it leaves on "EXIT".
std::string runMenuModule(Screen& screen) {
    DialogTemplate t;
    t.name = "FUNCMENU";
    t.controls = {spec(kList, ControlKind::ListView, {5, 5, 200, 150}),
                  spec(kSelect, ControlKind::Button, {215, 10, 95, 24}, "SELECT"),
                  spec(kExit, ControlKind::Button, {215, 170, 95, 24}, "Exit"),
                  spec(kLog, ControlKind::CheckBox, {215, 40, 95, 16}, "Log"),
                  spec(kCode, ControlKind::Edit, {215, 60, 95, 20}),
                  spec(kLanguage, ControlKind::ComboBox, {215, 85, 95, 100}),
                  spec(kA, ControlKind::Radio, {5, 160, 60, 16}, "A"),
                  spec(kB, ControlKind::Radio, {70, 160, 60, 16}, "B")};
    t.controls[4].digitsOnly = true;
    t.controls[4].maxLength = 4;
    t.exitControl = kExit;
    auto d = screen.createDialog(t);
    Dialog* dp = d.get();
    DialogHandlers h;
    h.onRowTap = [dp](int, int) { dp->setCommand("SELECT"); };
    h.onRowDoubleTap = [dp](int, int) { dp->setCommand("EXECUTE"); };
    h.onButton = [dp](int id) {
        if (id == kSelect) dp->setCommand("EXECUTE");
        if (id == kExit) dp->setCommand("EXIT");
    };
    h.onClose = [dp] { dp->setCommand("EXIT"); };
    d->setHandlers(h);
    d->setTitle("OPTIONS MENU: ENGINE");
    d->setColumns(kList, {{"OPTIONS", 185}});
    for (const char* row : {"IDENTIFICATION", "TROUBLE CODES", "LIVE DATA"})
        d->addRow(kList, {row});
    d->setRowGrey(kList, 2, true);
    d->setItems(kLanguage, {"SPANISH", "ENGLISH", "GERMAN"});
    d->setChecked(kA, true);
    d->show(true);

    std::string log;
    for (int pass = 0; pass < 100000; ++pass) {
        screen.pumpMessages();
        const std::string word = d->command();
        if (word == "EXIT") break;
        if (word == "EXECUTE" && d->selectedRow(kList) >= 0) {
            const std::string row = d->cell(kList, d->selectedRow(kList), 0);
            if (screen.messageBox("No response from VarBox\nRETRY?", "", Buttons::YesNo,
                                  Icon::Question) == Answer::Yes)
                log += "retried ";
            log += "ran " + row + (screen.keyDown(0x11) ? " with control" : "") + "; ";
        }
        d->clearCommand();
    }
    log += "code=" + d->text(kCode) + " log=" + (d->isChecked(kLog) ? "on" : "off") +
           " language=" + std::to_string(d->currentItem(kLanguage)) +
           " radio=" + (d->isChecked(kB) ? "B" : "A");
    return log;
}

const char* const kScript = R"(tap "TROUBLE CODES"
press "SELECT"
answer "RETRY?" Yes
type "12a345" into #5
check #4
choose "GERMAN" in #6
choose "B"
hold control
doubletap row 0
answer "RETRY?" No
release control
dump
press "Exit"
)";

TechnicianScript parsed(const char* text) {
    auto result = parseTechnicianScript(text);
    EXPECT_TRUE(result.ok()) << result.error;
    return result.script;
}

TEST(QtScriptAutomation, RunsLikeTheHeadlessScreen) {
    std::ostringstream headlessDump;
    HeadlessScreen headless(parsed(kScript));
    headless.setDumpStream(headlessDump);
    const std::string headlessResult = runMenuModule(headless);

    std::ostringstream qtDump;
    ScriptAutomation script(parsed(kScript));
    script.twins().setDumpStream(qtDump);
    QtScreen screen(testing::Options(1).automate(&script));
    const std::string qtResult = runMenuModule(screen);

    EXPECT_EQ(qtResult,
              "retried ran TROUBLE CODES; ran IDENTIFICATION with control; code=1234 log=on "
              "language=2 radio=B");
    EXPECT_EQ(qtResult, headlessResult);
    EXPECT_EQ(qtDump.str(), headlessDump.str());
    EXPECT_TRUE(script.twins().report().clean()) << script.twins().report().text();
    ASSERT_EQ(script.twins().messageBoxes().size(), 2u);
    EXPECT_EQ(script.twins().messageBoxes()[1].answer, Answer::No);
}

TEST(QtScriptAutomation, ScriptedAnswerClosesTheQtBox) {
    ScriptAutomation script(parsed("answer \"ERASE\" Yes\n"));
    QtScreen screen(testing::Options(1).automate(&script).watched(true));
    EXPECT_EQ(screen.messageBox("ERASE TROUBLE CODES?", "", Buttons::YesNo, Icon::Question),
              Answer::Yes);
    // No rule left: the box gets its default answer, even with a person at the screen.
    EXPECT_EQ(screen.messageBox("ERASE AGAIN?", "", Buttons::YesNo, Icon::Question), Answer::No);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMessageBox*>(w) && w->isVisible());
    EXPECT_FALSE(script.twins().messageBoxes()[0].byDefault);
    EXPECT_TRUE(script.twins().messageBoxes()[1].byDefault);
}

TEST(QtScriptAutomation, IdleModuleIsClosedThroughItsExitButton) {
    ScriptLimits limits;
    limits.idleCloseAfter = 5;
    ScriptAutomation script(TechnicianScript{}, limits);
    QtScreen screen(testing::Options(1).automate(&script));
    const std::string result = runMenuModule(screen);
    EXPECT_EQ(result, "code= log=off language=-1 radio=A");
    ASSERT_EQ(script.twins().report().forcedCloses.size(), 1u);
    EXPECT_EQ(script.twins().report().forcedCloses[0].how, "pressed #3");
}

TEST(QtScriptAutomation, TwinFollowsTheQtDialog) {
    ScriptAutomation script{TechnicianScript{}};
    QtScreen screen(testing::Options(1).automate(&script));
    DialogTemplate t;
    t.name = "PROGRESS";
    t.controls = {spec(1, ControlKind::Progress, {5, 5, 200, 12}),
                  spec(2, ControlKind::Label, {5, 20, 200, 14}),
                  spec(3, ControlKind::Picture, {5, 40, 50, 50})};
    auto d = screen.createDialog(t);
    d->setTitle("ECU CONNECTION");
    d->setRange(1, 0, 50);
    d->setProgress(1, 20);
    d->setText(2, "Data Transfer");
    d->setPicture(3, "/nowhere/box.bmp");
    d->setControlVisible(2, false);
    d->show(true);
    screen.pumpMessages();
    HeadlessDialog* twin = script.twins().findDialog("PROGRESS");
    ASSERT_NE(twin, nullptr);
    EXPECT_EQ(twin->title(), "ECU CONNECTION");
    EXPECT_EQ(twin->progress(1), 20);
    EXPECT_EQ(twin->control(1)->high, 50);
    EXPECT_EQ(twin->text(2), "Data Transfer");
    EXPECT_FALSE(twin->isControlVisible(2));
    EXPECT_EQ(twin->picture(3), "/nowhere/box.bmp");
    EXPECT_TRUE(twin->isVisible());
    d.reset();
    EXPECT_EQ(script.twins().findDialog("PROGRESS"), nullptr);
    ASSERT_NE(script.twins().lastSnapshot("PROGRESS"), nullptr);
    EXPECT_EQ(script.twins().lastSnapshot("PROGRESS")->reason, "destroyed");
}

}  // namespace
}  // namespace corvan::ui::qt
