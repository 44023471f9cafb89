// The function menu watching the box: the state polls and their rhythm, a lost connection,
// a silent box, and the information box.
#include <gtest/gtest.h>

#include "plugins/funcmenu/menu_test_rig.h"

namespace corvan::funcmenu::testing {
namespace {

using BoxStatusTest = MenuRig;

const std::string kWork = menuItem("Work", "FUNC.DLL");

std::string information(const std::string& driver, const std::string& checksum,
                        const std::string& state) {
    return "VarBox Code: VB-3100\r\nVarBox Version: 2.14\r\n\r\nData name: DIESEL EDC16 "
           "KWP2000\r\nData Version: 1.3\r\n\r\nDriver name: " +
           driver + "\r\nDriver checksum: " + checksum + "\r\n\r\nConnection status: " + state;
}

TEST_F(BoxStatusTest, PolledOnTheFirstPassEvery350PassesAndRightAfterAFunction) {
    boot();
    std::vector<size_t> pollsAtPump(1, 0);
    screen.setPumpHook([&](ui::HeadlessScreen& s) {
        pollsAtPump.push_back(sent(0x82).size());
        const long pump = s.pumpCount();
        if (pump == 500) s.findDialog("FUNCMENU")->doubleTapRow(kMenuListId, 0);
        if (pump == 900) s.findDialog("FUNCMENU")->press(kExitButtonId);
    });
    run(menuText(kWork), "EXE");
    ASSERT_GE(pollsAtPump.size(), 900u);
    EXPECT_EQ(pollsAtPump[1], 1u);
    EXPECT_EQ(pollsAtPump[350], 1u);
    EXPECT_EQ(pollsAtPump[351], 2u);
    EXPECT_EQ(pollsAtPump[500], 2u);
    // Pass 500 checks the state before running the function; pass 501 polls again.
    EXPECT_EQ(pollsAtPump[501], 4u);
    EXPECT_EQ(pollsAtPump[850], 4u);
    EXPECT_EQ(pollsAtPump[851], 5u);
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "func.so"}));
    // A state request is sent once and read every 350 ms; one pass sleeps 1 ms.
    EXPECT_GE(clock.nowMs(), 900);
}

TEST_F(BoxStatusTest, StateTwoLetsFunctionsRunAndShowsTryingToConnect) {
    boot(scenario(R"("state": 2,)"));
    script("press \"Information\"\ntap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    run(menuText(kWork), "EXE");
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    const ui::MessageBoxRecord& box = screen.messageBoxes()[0];
    EXPECT_EQ(box.text, information("KWP2000 ", "OK", "Trying to connect"));
    EXPECT_EQ(box.icon, ui::Icon::Information);
    EXPECT_EQ(box.buttons, ui::Buttons::Ok);
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "func.so"}));
    // The information box asked for the driver name and the state.
    EXPECT_EQ(sent(0x0F), std::vector<Bytes>{hex("80 00 0F 8F")});
}

TEST_F(BoxStatusTest, ChecksumFlagShowsWrongAndGermanReadsEnglish) {
    boot(scenario(R"("checksumFlag": 1,)"));
    script("press \"Information\"\npress \"Verlassen\"\n");
    run(menuText(kWork), "EXE", kGerman);
    // The text is the English one; the state word has a German text of its own.
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{information("KWP2000 ", "WRONG", "Angeschlossen")});
    const ui::DialogSnapshot& m = menu();
    EXPECT_EQ(m.title, "MENÜPUNKTE EDC16");
    EXPECT_EQ(m.control(kRunButtonId)->text, "WÄHLEN");
    EXPECT_EQ(m.control(kPowerLabelId)->text, "Einspeisung");
    EXPECT_EQ(m.control(kMenuListId)->columns.at(0).heading, "OPTIONEN");
}

TEST_F(BoxStatusTest, SilentPollAndNoEndsTheMenuWithoutClosing) {
    boot(scenario());
    box->inject(sim::Fault{.kind = sim::FaultKind::Silence, .count = -1, .command = 0x82});
    EXPECT_EQ(run(menuText(kWork), "EXE"), "");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No response from VarBox\nRETRY?"});
    // One send of the state request, no closing request, no reset.
    EXPECT_EQ(frames.sent, std::vector<Bytes>{hex("80 00 82 02")});
    EXPECT_FALSE(menu().visible);
}

TEST_F(BoxStatusTest, SilentPollAnsweredYesAsksAgain) {
    boot(scenario());
    box->inject(sim::Fault{.kind = sim::FaultKind::Silence, .count = 1, .command = 0x82});
    script("answer \"RETRY?\" Yes\npress \"Exit\"\n");
    EXPECT_NE(run(menuText(kWork), "EXE"), "");
    EXPECT_EQ(sent(0x82).size(), 2u);
    EXPECT_EQ(frames.sent.back(), hex("80 00 88 08"));
}

TEST_F(BoxStatusTest, SilentCheckBeforeExecuteUsesTheLastStateByte) {
    boot(scenario());
    // The first poll is answered (state 1); the check before the function is not.
    box->inject(
        sim::Fault{.kind = sim::FaultKind::Silence, .skip = 1, .count = 1, .command = 0x82});
    script("tap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    EXPECT_NE(run(menuText(kWork), "EXE"), "");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No response from VarBox\nRETRY?"});
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "func.so"}));
    EXPECT_EQ(frames.sent.back(), hex("80 00 88 08"));  // the menu went on and closed
}

TEST_F(BoxStatusTest, StateZeroResetsAndOffersToConnectAgain) {
    boot(scenario(R"("state": 0,)"));
    // Retry runs the configuration plug-in again; the next poll finds state 0 once more and
    // the unanswered question cancels, which leaves the menu.
    script("answer \"CONNECTION ERROR\" Retry\n");
    const std::string text = menuText(kWork);
    EXPECT_NE(run(text, "EXE@"), "ERROR");
    ASSERT_EQ(screen.messageBoxes().size(), 2u);
    for (const ui::MessageBoxRecord& b : screen.messageBoxes()) {
        EXPECT_EQ(b.text, "CONNECTION ERROR");
        EXPECT_EQ(b.buttons, ui::Buttons::RetryCancel);
        EXPECT_EQ(b.icon, ui::Icon::Question);
    }
    const auto c = calls();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].file, "config.so");
    EXPECT_EQ(c[1].mode, "EXE@");  // the same arguments as the first time
    EXPECT_EQ(c[1].text, text);
    const std::vector<Bytes> expected{hex("80 00 82 02"),       hex("80 00 88 08"),
                                      hex("80 00 82 02"),       hex("80 00 88 08"),
                                      hex("80 02 20 00 82 20"), hex("80 00 88 08")};
    EXPECT_EQ(frames.sent, expected);
    EXPECT_EQ(menu().control(kPowerValueId)->text, "OK");
}

TEST_F(BoxStatusTest, StateZeroBeforeExecuteRunsNothing) {
    boot(scenario(R"("state": 0,)"));
    script("answer \"CONNECTION ERROR\" Retry\ntap \"Work\"\npress \"SELECT\"\n");
    run(menuText(kWork), "EXE");
    // The function never ran; the word stayed and the next pass polled and asked again.
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "config.so"}));
    EXPECT_EQ(screen.messageBoxes().size(), 2u);
}

}  // namespace
}  // namespace corvan::funcmenu::testing
