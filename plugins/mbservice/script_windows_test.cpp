// The windows a script opens, as the technician sees and works them on the headless screen.
#include "plugins/mbservice/script_windows.h"

#include "plugins/mbservice/script_test_rig.h"

namespace corvan::mbservice::testing {
namespace {

using Strings = std::vector<std::string>;
using ScriptWindows = ScriptRig;

std::vector<std::string> rowTexts(const ui::ControlState& list) {
    std::vector<std::string> rows;
    for (const ui::ListRow& r : list.rows) rows.push_back(r.cells.at(0));
    return rows;
}

TEST_F(ScriptWindows, MessageWindowWithProgressLivesForTheRun) {
    technician("when text #1001 \"Resetting\" dump\nanswer \"\" Ok\n");
    run("HIDEMSG();SHOWMSG(\"Resetting the service indicator\");MOV(COUNT,40);PROGRESS(COUNT);"
        "OUTPUT(\"step\");PROGRESS(250);HIDEMSG();SHOWMSG(\"Again\");EXIT();");
    // The dump rule caught the window as first shown: text, bar still hidden.
    const ui::DialogSnapshot* first = nullptr;
    for (const ui::DialogSnapshot& s : screen.snapshots())
        if (s.name == kMessageWindowName && s.reason == "script") first = &s;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->control(kMessageTextId)->text, "Resetting the service indicator");
    EXPECT_FALSE(first->control(kMessageProgressId)->visible);
    // As the run left it: the bar hidden again with the window, then the window shown again.
    const ui::DialogSnapshot& last = snapshot(kMessageWindowName);
    EXPECT_EQ(last.reason, "destroyed");
    EXPECT_EQ(last.title, "");
    EXPECT_EQ(last.control(kMessageTextId)->text, "Again");
    EXPECT_FALSE(last.control(kMessageProgressId)->visible);
    EXPECT_EQ(last.control(kMessageProgressId)->value, 100);  // 250 held at the top
    EXPECT_EQ(last.control(kMessageProgressId)->high, 100);
    EXPECT_TRUE(screen.dialogs().empty());
    EXPECT_EQ(boxTexts(), Strings{"step"});
}

TEST_F(ScriptWindows, ProgressShowsTheBarAtItsPosition) {
    technician("when text #1001 \"Counting\" dump\n");
    run("SHOWMSG(\"Counting\");MOV(COUNT,40);PROGRESS(COUNT);SLEEP(10);EXIT();");
    const ui::ControlState* bar = snapshot(kMessageWindowName).control(kMessageProgressId);
    EXPECT_TRUE(bar->visible);
    EXPECT_EQ(bar->value, 40);
    EXPECT_EQ(bar->low, 0);
}

TEST_F(ScriptWindows, ChoiceListRowsWidthAndButtons) {
    technician("tap \"B\"\npress \"OK\"\n");
    run("COMBO(A\\B\\C);EXIT();");
    const ui::DialogSnapshot& s = snapshot(kChoiceWindowName);
    EXPECT_EQ(s.title, "ELIJA OPCION");
    const ui::ControlState* list = s.control(kChoiceListId);
    EXPECT_EQ(rowTexts(*list), (Strings{"A", "B"}));  // "C" after the last backslash is no row
    ASSERT_EQ(list->columns.size(), 1u);
    EXPECT_EQ(list->columns[0].heading, "OPCIONES");
    EXPECT_EQ(list->columns[0].width, 280);
    EXPECT_EQ(state.choice, 1);

    technician("doubletap \"" + std::string(26, 'W') + "\"\n");
    run("COMBO(" + std::string(25, 'V') + "\\" + std::string(26, 'W') + "\\);EXIT();");
    EXPECT_EQ(snapshot(kChoiceWindowName).control(kChoiceListId)->columns[0].width, 390);
    EXPECT_EQ(state.choice, 1);
    technician("doubletap \"V\"\n");
    run("COMBO(" + std::string(25, 'V') + "\\);EXIT();");
    EXPECT_EQ(snapshot(kChoiceWindowName).control(kChoiceListId)->columns[0].width, 280);
    EXPECT_EQ(state.choice, 0);
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(ScriptWindows, ChoiceListWaitsForARowAndCancelStops) {
    // OK stays disabled until a row is tapped: the press waits, then the rule is abandoned
    // and the forced close cancels.
    technician("press \"OK\"\n");
    run("COMBO(A\\B\\);OUTPUT(\"never\");", "EXE");
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_FALSE(snapshot(kChoiceWindowName).control(kOkId)->enabled);
    technician("tap \"A\"\npress \"Cancel\"\n");
    run("COMBO(A\\B\\);OUTPUT(\"never\");");
    technician("close\n");
    run("COMBO(A\\B\\);OUTPUT(\"never\");");
    EXPECT_TRUE(screen.messageBoxes().empty());
    // No rows at all: nothing to choose, the run ends when the technician leaves.
    run("COMBO(no rows);OUTPUT(\"never\");");
    EXPECT_TRUE(screen.messageBoxes().empty());
}

struct CodeCase {
    const char* type;
    const char* typed;
    int length;
    const char* mode;
    const char* sent;  // the ECU message SND(FRAME) sends after "27 02" and the code
};

TEST_F(ScriptWindows, EveryCodeEntryTypeWritesItsBytesIntoTheFrame) {
    const CodeCase cases[] = {
        {"TYPE_1", "12AF", 4, "ALFANUM", "27 02 12 AF"},
        {"TYPE_2", "12345", 5, "NUM", "27 02 30 39"},
        {"TYPE_3", "19AZ", 4, "ALFANUM", "27 02 01 09 0A 23"},
        {"TYPE_4", "AB1", 3, "ALFANUM", "27 02 41 42 31"},
        {"TYPE_5", "1193046", 7, "NUM", "27 02 12 34 56"},
        {"TYPE_0", "1234", 4, "NUM", "27 02"},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.type);
        frames.sent.clear();
        const int field = std::string(c.mode) == "ALFANUM" ? kCodeAlphaFieldId : kCodeDigitsFieldId;
        technician("type \"" + std::string(c.typed) + "\" into #" + std::to_string(field) +
                   "\npress \"OK\"\n");
        run("SETSND(2702);ENTERPIN(\"Access code\"," + std::string(c.type) + ",2," +
            std::to_string(c.length) + "," + c.mode + ");SND(FRAME);EXIT();");
        EXPECT_EQ(ecuMessages(), std::vector<Bytes>{hex(c.sent)});
        const ui::DialogSnapshot& s = snapshot(kCodeWindowName);
        EXPECT_EQ(s.control(kPromptId)->text, "Access code");
        EXPECT_EQ(s.control(kCodeAlphaFieldId)->visible, field == kCodeAlphaFieldId);
        EXPECT_EQ(s.control(kCodeDigitsFieldId)->visible, field == kCodeDigitsFieldId);
        EXPECT_TRUE(screen.report().clean()) << screen.report().text();
    }
    // The digits-only field takes nothing else.
    technician("type \"1x2y3z4\" into #1007\npress \"OK\"\n");
    run("SETSND(2702);ENTERPIN(\"Code\",TYPE_2,2,4,NUM);EXIT();");
    EXPECT_EQ(state.frame, "270204D2");
    // Letters typed in upper case come out as capitals.
    technician("type \"ab\" into #1006\npress \"OK\"\n");
    run("SETSND(2702);ENTERPIN(\"Code\",TYPE_1,2,2,ALFANUM);SND(FRAME);EXIT();");
    EXPECT_EQ(state.frame, "2702AB");
}

TEST_F(ScriptWindows, CodeEntryRefusalsAndItsOkButton) {
    // A TYPE_1 entry that is no hexadecimal text.
    technician("type \"12G4\" into #1006\npress \"OK\"\n");
    run("SETSND(2702);ENTERPIN(\"Code\",TYPE_1,2,4,ALFANUM);SND(FRAME);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts(), Strings{"BAD ENTRY"});
    EXPECT_EQ(state.frame, "2702");
    EXPECT_TRUE(frames.sent.empty());

    // OK waits for exactly the length asked for: three digits of four are not enough.
    technician("type \"123\" into #1007\npress \"OK\"\n");
    run("ENTERPIN(\"Code\",TYPE_2,0,4,NUM);OUTPUT(\"never\");");
    EXPECT_FALSE(snapshot(kCodeWindowName).control(kOkId)->enabled);
    EXPECT_EQ(boxTexts().size(), 1u);

    // Something other than digits in the digits-only field: the prompt, and asked again.
    int pumps = 0;
    screen.setPumpHook([&pumps](ui::HeadlessScreen& s) {
        if (ui::HeadlessDialog* d = s.findDialog(kCodeWindowName); d && ++pumps == 3)
            d->setText(kCodeDigitsFieldId, "12.4");
    });
    technician("after 4 pumps press \"OK\"\ntype \"0077\" into #1007\npress \"OK\"\n");
    run("SETSND(00);ENTERPIN(\"Four digits\",TYPE_2,1,4,NUM);EXIT();");
    screen.setPumpHook({});
    EXPECT_EQ(boxTexts().back(), "Four digits");
    EXPECT_EQ(state.frame, "00004D");

    // A code that could not go into the frame is refused before the window opens.
    run("ENTERPIN(\"Code\",TYPE_4,200,60,ALFANUM);OUTPUT(\"never\");");
    run("ENTERPIN(\"Code\",TYPE_2,-3,4,NUM);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts().back(), "Posición fuera de la trama: -3");
    EXPECT_EQ(boxTexts()[boxTexts().size() - 2], "Posición fuera de la trama: 200");
    technician("press \"Cancel\"\n");
    run("ENTERPIN(\"Code\",TYPE_2,0,4,NUM);OUTPUT(\"never\");");
    EXPECT_EQ(boxTexts().back(), "Posición fuera de la trama: -3");
}

TEST_F(ScriptWindows, CodeEntryBeyondTheFrameExtendsItWithZeroBytes) {
    technician("type \"7\" into #1007\npress \"OK\"\n");
    run("SETSND(31);ENTERPIN(\"Code\",TYPE_2,3,1,NUM);SND(FRAME);EXIT();");
    EXPECT_EQ(ecuMessages(), std::vector<Bytes>{hex("31 00 00 00 07")});
}

}  // namespace
}  // namespace corvan::mbservice::testing
