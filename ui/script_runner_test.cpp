#include "ui/script_runner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "ui/headless_screen.h"
#include "ui/ui_test_support.h"

namespace corvan::ui {
namespace {

using namespace testing;
using Words = std::vector<std::string>;

void load(HeadlessScreen& screen, std::string_view script, ScriptLimits limits = {}) {
    const std::string error = screen.loadScript(script, limits);
    ASSERT_EQ(error, "");
}

TEST(ScriptActions, TapAndPressDriveTheModuleLoop) {
    HeadlessScreen screen;
    load(screen,
         "tap \"TROUBLE CODES\"\n"
         "press \"SELECT\"\n"
         "doubletap row 2 in #100\n"
         "press #2\n");
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(m.words, (Words{"SELECT", "EXECUTE", "EXECUTE", "EXIT"}));
    EXPECT_EQ(m.executed, (Words{"TROUBLE CODES", "LIVE DATA"}));
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
    EXPECT_EQ(screen.pumpCount(), 4);  // one action per pump
}

TEST(ScriptActions, TapMatchesOnlyWhatTheTechnicianSees) {
    HeadlessScreen screen;
    // "K-LIVE DATA" sits in the hidden column; the tap must not find it there.
    load(screen, "tap \"K-LIVE\"\npress \"Exit\"\n", {.abandonAfter = 10});
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(m.words, (Words{"EXIT"}));
    ASSERT_EQ(screen.report().abandoned.size(), 1u);
    EXPECT_EQ(screen.report().abandoned[0].line, 1);
    EXPECT_EQ(screen.report().abandoned[0].reason, "no visible dialog has its target");
}

TEST(ScriptActions, TypeCheckChooseAndTheControlKey) {
    HeadlessScreen screen;
    load(screen,
         "type \"abc\" into #11\n"
         "check #12\n"
         "check #12\n"  // already checked: done without a click
         "choose \"ISO 9141\" in #15\n"
         "choose \"Rear\"\n"
         "choose #13\n"
         "hold control\n"
         "press \"Information\"\n"
         "release control\n"
         "press \"Information\"\n"
         "close\n");
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(m.words, (Words{"TEXT", "CHECK", "CHOICE 15", "CHOICE 14", "CHOICE 13", "ADVANCED",
                              "iCOR", "EXIT"}));
    const DialogSnapshot* last = screen.lastSnapshot("SAMPLE");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->control(kEdit)->text, "abc");
    EXPECT_TRUE(last->control(kCheck)->checked);
    EXPECT_EQ(last->control(kCombo)->currentItem, 1);
    EXPECT_TRUE(last->control(kRadioA)->checked);
    EXPECT_FALSE(last->control(kRadioB)->checked);
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST(ScriptActions, TypingKeepsToTheFieldsRules) {
    HeadlessScreen screen;
    load(screen, "type \"12-34 5\" into #11\ntype \"x\" into #12\n", {.abandonAfter = 5});
    DialogTemplate t = sampleTemplate();
    t.controls[5].digitsOnly = true;  // the edit field: a login code
    t.controls[5].maxLength = 4;
    auto d = screen.createDialog(t);
    d->show(true);
    for (int i = 0; i < 6; ++i) screen.pumpMessages();
    EXPECT_EQ(d->text(kEdit), "1234");
    // Typing into a check box is not possible: the rule is given up.
    EXPECT_EQ(screen.report().abandoned.size(), 1u);
}

TEST(ScriptPacing, AfterCountsPumpsFromWhenTheRuleBecameCurrent) {
    HeadlessScreen screen;
    load(screen, "after 5 pumps tap row 0\nafter 2 pumps press \"Exit\"\n");
    FakeModule m(screen);
    m.run();
    const auto& fired = screen.runner().fired();
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0].pump, 6);  // five pumps went by, it acts on the sixth
    EXPECT_EQ(fired[1].pump, 9);
    EXPECT_EQ(fired[1].dialog, "SAMPLE");
}

TEST(ScriptPacing, RuleWaitsUntilItsTargetCanBePressed) {
    HeadlessScreen screen;
    load(screen, "press \"SELECT\"\npress \"Exit\"\n");
    FakeModule m(screen);
    m.dialog->selectRow(kList, 0);
    m.dialog->setEnabled(kSelect, false);
    screen.setPumpHook([&](HeadlessScreen& s) {
        if (s.pumpCount() == 7) m.dialog->setEnabled(kSelect, true);
    });
    m.run();
    EXPECT_EQ(m.words, (Words{"EXECUTE", "EXIT"}));
    EXPECT_EQ(screen.runner().fired()[0].pump, 8);
}

TEST(ScriptPacing, ConditionsPickTheDialogAndWaitForRows) {
    HeadlessScreen screen;
    load(screen,
         "when title \"MENU\" press \"Exit\"\n"
         "when rows #100 >= 4 tap row 3\n"
         "when text #10 \"OK\" press \"Exit\"\n");
    auto menu = screen.createDialog(sampleTemplate());
    menu->setTitle("OPTIONS MENU: ENGINE");
    std::string menuWord;
    DialogHandlers h;
    h.onButton = [&](int) { menuWord = "EXIT"; };
    menu->setHandlers(h);
    menu->show(true);
    FakeModule m(screen);  // shown after the menu: on top
    screen.setPumpHook([&](HeadlessScreen& s) {
        if (s.pumpCount() == 10) m.dialog->addRow(kList, {"ACTUATORS"});
        if (s.pumpCount() == 20) m.dialog->setText(kLabel, "OK");
    });
    m.run();
    EXPECT_EQ(menuWord, "EXIT");  // the title chose the menu below the module's dialog
    EXPECT_EQ(m.words, (Words{"SELECT", "EXIT"}));
    const auto& fired = screen.runner().fired();
    ASSERT_EQ(fired.size(), 3u);
    EXPECT_EQ(fired[1].pump, 11);
    EXPECT_EQ(fired[2].pump, 21);
}

TEST(ScriptEnd, AbandonedRuleAndForcedCloseEndALoopThatNeverGetsExit) {
    HeadlessScreen screen;
    std::ostringstream dump;
    screen.setDumpStream(dump);
    load(screen, "press \"NOWHERE\"\n", {.abandonAfter = 100, .idleCloseAfter = 30});
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(m.words, (Words{"EXIT"}));  // the backend pressed the exit control
    const RunReport r = screen.report();
    ASSERT_EQ(r.abandoned.size(), 1u);
    EXPECT_EQ(r.abandoned[0].pumps, 100);
    ASSERT_EQ(r.forcedCloses.size(), 1u);
    EXPECT_EQ(r.forcedCloses[0].how, "pressed #2");
    EXPECT_EQ(r.forcedCloses[0].pump, 130);
    EXPECT_EQ(r.forcedCloses[0].title, "SAMPLE: ENGINE");
    EXPECT_FALSE(r.clean());
    EXPECT_NE(r.text().find("abandoned after 100 pumps"), std::string::npos);
    EXPECT_NE(dump.str().find("rule 1 abandoned at pump 100"), std::string::npos);
    EXPECT_NE(dump.str().find("forced-close SAMPLE pressed #2 at pump 130"), std::string::npos);
}

TEST(ScriptEnd, ForcedCloseUsesTheCloseBoxWithoutAnExitControl) {
    HeadlessScreen screen;
    load(screen, "", {.idleCloseAfter = 5});
    DialogTemplate t = sampleTemplate();
    t.exitControl = 0;
    auto d = screen.createDialog(t);
    bool closed = false;
    DialogHandlers h;
    h.onClose = [&] { closed = true; };
    d->setHandlers(h);
    // Hidden dialogs are closed too: a loop must end even when nothing is on screen.
    while (!closed) screen.pumpMessages();
    EXPECT_EQ(screen.pumpCount(), 5);
    EXPECT_EQ(screen.report().forcedCloses.at(0).how, "closed");
}

TEST(ScriptEnd, RunawayLoopIsStoppedAtTheHardLimit) {
    HeadlessScreen screen;
    load(screen, "", {.idleCloseAfter = 10, .maxPumps = 1000});
    screen.setRunawayHandler([](const RunReport& r) {
        throw std::runtime_error("runaway, " + std::to_string(r.forcedCloses.size()) + " closes");
    });
    auto d = screen.createDialog(sampleTemplate());  // its handlers ignore everything
    d->show(true);
    try {
        for (;;) screen.pumpMessages();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "runaway, 100 closes");
    }
    EXPECT_EQ(screen.pumpCount(), 1001);
    // No pump is left stuck "inside" after the throw: the next one runs and stops again.
    EXPECT_THROW(screen.pumpMessages(), std::runtime_error);
    EXPECT_EQ(screen.pumpCount(), 1002);
}

TEST(ScriptAnswers, BoxesTakeMatchingAnswerRulesInOrder) {
    HeadlessScreen screen;
    load(screen,
         "answer \"RETRY?\" Yes\n"
         "answer \"ERASE\" Yes\n"
         "press \"Exit\"\n"
         "answer \"never reached\" Ok\n");
    // The second and third boxes may come in either order among consecutive answer rules.
    EXPECT_EQ(screen.messageBox("ERASE TROUBLE CODES?", "", Buttons::YesNo, Icon::Question),
              Answer::Yes);
    EXPECT_EQ(
        screen.messageBox("No response from VarBox\nRETRY?", "", Buttons::YesNo, Icon::Question),
        Answer::Yes);
    // Both answers used: the current rule is the press, so the next box gets its default.
    EXPECT_EQ(
        screen.messageBox("No response from VarBox\nRETRY?", "", Buttons::YesNo, Icon::Question),
        Answer::No);
    const auto& boxes = screen.messageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_FALSE(boxes[0].byDefault);
    EXPECT_EQ(boxes[0].ruleLine, 2);
    EXPECT_EQ(boxes[1].ruleLine, 1);
    EXPECT_TRUE(boxes[2].byDefault);
    EXPECT_EQ(boxes[2].number, 3);
}

TEST(ScriptAnswers, EmptyTextAnswersWhateverBoxComesNext) {
    HeadlessScreen screen;
    load(screen, "answer \"\" Retry\n");
    EXPECT_EQ(screen.messageBox("Link lost", "", Buttons::RetryCancel, Icon::Warning),
              Answer::Retry);
}

TEST(ScriptAnswers, DefaultsForEveryKindOfBox) {
    HeadlessScreen screen;
    EXPECT_EQ(screen.messageBox("iCor.cfg NOT FOUND", "", Buttons::Ok, Icon::Stop), Answer::Ok);
    EXPECT_EQ(screen.messageBox("No hay respuesta del terminal \n¿REINTENTAR?", "", Buttons::YesNo,
                                Icon::Question),
              Answer::No);
    EXPECT_EQ(screen.messageBox("Save?", "", Buttons::YesNoCancel, Icon::Question), Answer::Cancel);
    EXPECT_EQ(screen.messageBox("Link lost", "", Buttons::RetryCancel, Icon::Warning),
              Answer::Cancel);
    for (const auto& box : screen.messageBoxes()) EXPECT_TRUE(box.byDefault);
}

TEST(ScriptAnswers, AnswerThatIsNotAButtonOfTheBoxIsReported) {
    HeadlessScreen screen;
    load(screen, "answer \"DEMO\" Yes\n");
    EXPECT_EQ(screen.messageBox("DEMO MODE", "", Buttons::Ok, Icon::Information), Answer::Ok);
    EXPECT_TRUE(screen.messageBoxes()[0].byDefault);
    ASSERT_EQ(screen.report().problems.size(), 1u);
    EXPECT_EQ(screen.report().problems[0],
              "rule at line 1 answers Yes to a Ok box; it got its default answer");
    EXPECT_TRUE(screen.runner().finished());
}

TEST(ScriptAnswers, AnswerRuleWaitingForABoxIsAbandoned) {
    HeadlessScreen screen;
    load(screen, "answer \"RETRY\" Yes\npress \"Exit\"\n", {.abandonAfter = 40});
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(m.words, (Words{"EXIT"}));
    ASSERT_EQ(screen.report().abandoned.size(), 1u);
    EXPECT_EQ(screen.report().abandoned[0].reason, "no message box with its text");
    EXPECT_EQ(screen.pumpCount(), 41);
}

TEST(ScriptAnswers, UnusedRulesAreReported) {
    HeadlessScreen screen;
    load(screen, "press \"Exit\"\nanswer \"x\" Ok\n");
    FakeModule m(screen);
    m.run();
    EXPECT_EQ(screen.report().unusedRules, (Words{"line 2: answer \"x\" Ok"}));
}

}  // namespace
}  // namespace corvan::ui
