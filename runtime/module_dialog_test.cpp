#include "runtime/module_dialog.h"

#include <gtest/gtest.h>

#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

constexpr int kNext = 1001, kExit = 1002;

ui::ControlSpec button(int id, const char* text) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = ui::ControlKind::Button;
    c.text = text;
    return c;
}

ui::DialogTemplate layout() {
    ui::DialogTemplate t;
    t.name = "TESTMOD";
    t.controls = {button(kNext, "Next"), button(kExit, "Exit")};
    t.exitControl = kExit;
    return t;
}

class ModuleDialogTest : public ::testing::Test, protected testing::LinkFixture {
  protected:
    void press(int id) { screen.dialogs.back()->handlers.onButton(id); }
};

TEST_F(ModuleDialogTest, TitledAndShownOnlyInExeAndDemo) {
    for (const char* mode : {"EXE", "DEMO", "REPORT", "DEL", "EXE@"}) {
        auto ctx = context(kEnglish, mode);
        {
            ModuleDialog d(ctx, layout(), "ECU IDENTIFICATION: ", "EDC16");
            EXPECT_EQ(d.dialog().title(), "ECU IDENTIFICATION: EDC16");
            const bool shown = std::string(mode) == "EXE" || std::string(mode) == "DEMO";
            EXPECT_EQ(d.dialog().isVisible(), shown) << mode;
        }
        EXPECT_TRUE(screen.dialogs.back()->destroyed);
    }
}

TEST_F(ModuleDialogTest, LoopActsOnCommandWordsUntilExit) {
    auto ctx = context();
    ModuleDialog d(ctx, layout(), "", "X");
    d.bindButton(kNext, "NEXT");
    std::vector<std::string> seen;
    int pass = 0;
    screen.onPump = [&] {
        ++pass;
        if (pass == 2) press(kNext);
        if (pass == 5) d.setCommand("BUSY");
        if (pass == 8) press(kExit);
    };
    int busyLeft = 2;
    d.run([&](const std::string& word) {
        seen.push_back(word);
        return word != "BUSY" || --busyLeft == 0;  // BUSY stays for one more pass
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"NEXT", "BUSY", "BUSY"}));
    EXPECT_EQ(pass, 8);
}

TEST_F(ModuleDialogTest, CloseBoxAndActionsCanEndTheLoop) {
    auto ctx = context();
    ModuleDialog d(ctx, layout(), "", "X");
    screen.onPump = [&] { screen.dialogs.back()->handlers.onClose(); };
    d.run([](const std::string&) { return true; });
    EXPECT_EQ(d.command(), "EXIT");

    d.clearCommand();
    int idles = 0;
    bool fired = false;
    screen.onPump = [&] {
        if (!fired) d.setCommand("GO");
        fired = true;
    };
    d.run(
        [&](const std::string&) {
            d.setCommand("EXIT");
            return true;  // a word the action replaced is not cleared
        },
        [&] { ++idles; });
    EXPECT_EQ(idles, 2);
}

TEST_F(ModuleDialogTest, UnboundButtonsReachTheModulesOwnHandler) {
    auto ctx = context();
    ModuleDialog d(ctx, layout(), "", "X");
    int other = 0;
    ui::DialogHandlers extra;
    extra.onButton = [&](int id) { other = id; };
    d.setHandlers(extra);
    press(kNext);
    EXPECT_EQ(other, kNext);
    press(kExit);
    EXPECT_EQ(d.command(), "EXIT");
}

TEST_F(ModuleDialogTest, HiddenForANestedCallOnlyWhenItWasVisible) {
    auto exe = context(kEnglish, "EXE");
    ModuleDialog d(exe, layout(), "", "X");
    d.hideForCall();
    EXPECT_FALSE(d.dialog().isVisible());
    d.showAfterCall();
    EXPECT_TRUE(d.dialog().isVisible());

    auto report = context(kEnglish, "REPORT");
    ModuleDialog hidden(report, layout(), "", "X");
    hidden.hideForCall();
    hidden.showAfterCall();
    EXPECT_FALSE(hidden.dialog().isVisible());
}

}  // namespace
}  // namespace corvan
