// The channel adaptation against the simulated unit on the virtual clock: the routine's
// requests on the wire, the tests and saves, the login for locked channels and what the
// technician sees.
#include "plugins/vagadapt/adaptation_module.h"

#include <gtest/gtest.h>

#include "plugins/vagkline/vag_test_rig.h"
#include "plugins/vagkline/workshop_settings.h"

namespace corvan::vagadapt {
namespace {

using vagkline::testing::Bytes;
using vagkline::testing::hex;
using vagkline::testing::kombiScenario;
using vagkline::testing::kombiText;

class AdaptTest : public vagkline::testing::VagRig {
  protected:
    AdaptTest() { installPlugin(CORVAN_VAGLOGIN_PLUGIN, "vaglogin.so"); }
    std::string run(const std::string& text = kombiText(), const std::string& mode = "EXE",
                    int language = kEnglishIndex) {
        ModuleContext ctx = context(mode, language);
        // The function menu calls it with the position of its menu item.
        const auto item = static_cast<int32_t>(text.find("<MNU"));
        return runAdaptation(ctx, PluginCall{text, item, mode, "KOMBI"});
    }
    // The adaptation's messages as names: start, read, select c, test v, save v, stop.
    std::vector<std::string> routine() const {
        std::vector<std::string> out;
        for (const Bytes& m : ecuMessages()) {
            if (m.size() < 7 || m[2] != 0xF1) continue;
            const std::string op = m[3] == 0x32    ? "stop"
                                   : m[4] == 0xB8  ? "start"
                                   : m[4] == 0xBA  ? "read"
                                   : m[4] == 0xBB  ? "save"
                                   : m.size() == 8 ? "select"
                                                   : "test";
            if (op == "select")
                out.push_back(op + " " + std::to_string(m[7]));
            else if (op == "test" || op == "save")
                out.push_back(op + " " + std::to_string(m[7] << 8 | m[8]));
            else
                out.push_back(op);
        }
        return out;
    }
    std::vector<std::string> routineFrom(const std::string& first) const {
        const auto all = routine();
        const auto at = std::find(all.begin(), all.end(), first);
        return {at, all.end()};
    }
    const ui::ControlState& control(int id) const { return *shown("VAGADAPT").control(id); }
    // The first state of a dialog a script's "dump" recorded.
    const ui::DialogSnapshot& scripted(const std::string& name) const {
        for (const ui::DialogSnapshot& s : screen.snapshots())
            if (s.name == name && s.reason == "script") return s;
        throw std::runtime_error("no dump of " + name);
    }
};

using Ops = std::vector<std::string>;

TEST_F(AdaptTest, ReadingAChannelRepeatsWhileTheWordStaysAndExitSendsStop) {
    boot();
    script(
        "type \"9\" into #1002\npress \"Start\"\n"
        "when text #1009 \"500\" dump\n"
        "after 30 pumps press \"Exit\"\n");
    EXPECT_EQ(run(), "");
    const Ops ops = routine();
    ASSERT_GE(ops.size(), 6u);
    EXPECT_EQ(Ops(ops.begin(), ops.begin() + 5),
              (Ops{"start", "read", "select 9", "read", "read"}));
    EXPECT_EQ(ops.back(), "stop");
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "start"), 1);
    EXPECT_EQ(control(kValueId).text, "500");
    EXPECT_EQ(control(kDescriptionId).text, "ADAPTACION");  // text code 294
    // While reading (the script's dump) the button offers Stop.
    const ui::DialogSnapshot& reading = scripted("VAGADAPT");
    EXPECT_EQ(reading.control(kStartStopId)->text, "Stop");
    EXPECT_TRUE(reading.control(kSaveId)->enabled);
    EXPECT_EQ(shown("VAGADAPT").title, "CHANNEL ADJUSTMENT: KOMBI");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(AdaptTest, ExitWhileStoppedSendsNothingAndStopSendsStop) {
    boot();
    script("press \"Exit\"\n");
    run();
    EXPECT_TRUE(routine().empty());
    script(
        "type \"30\" into #1002\npress \"Start\"\nwhen text #1009 \"7\" press \"Stop\"\n"
        "after 20 pumps press \"Exit\"\n");
    frames.sent.clear();
    run();
    const Ops ops = routine();
    EXPECT_EQ(ops.back(), "stop");
    EXPECT_EQ(std::count(ops.begin(), ops.end(), "stop"), 1);  // not again at Exit
    EXPECT_EQ(control(kStartStopId).text, "Start");
    EXPECT_FALSE(control(kSaveId).enabled);
}

TEST_F(AdaptTest, ChannelAndValueStayWithinWhatTheUnitTakes) {
    boot();
    script(
        "type \"254\" into #1002\npress \"+\"\npress \"+\"\ndump\n"
        "type \"1\" into #1002\npress \"-\"\npress \"-\"\ndump\n"
        "type \"300\" into #1002\ntype \"70000\" into #1011\ndump\n"
        "type \"0\" into #1002\npress \"Exit\"\n");
    run();
    std::vector<std::string> shown;
    for (const ui::DialogSnapshot& s : screen.snapshots())
        if (s.reason == "script")
            shown.push_back(s.control(kChannelId)->text + " " + s.control(kNewValueId)->text);
    EXPECT_EQ(shown, (std::vector<std::string>{"255 0", "0 0", "255 65535"}));
    // At 0 the routine cannot start and the save button resets the unit.
    EXPECT_FALSE(control(kStartStopId).enabled);
    EXPECT_EQ(control(kSaveId).text, "Reset adaptation values");
    EXPECT_TRUE(routine().empty());
}

TEST_F(AdaptTest, ChannelChangeDuringTheReadingStartsTheRoutineAgain) {
    boot();
    script(
        "type \"9\" into #1002\npress \"Start\"\n"
        "when text #1009 \"500\" type \"30\" into #1002\n"
        "when text #1009 \"7\" press \"Exit\"\n");
    run();
    const Ops from = routineFrom("select 9");
    const auto change = std::find(from.begin(), from.end(), "stop");
    ASSERT_NE(change, from.end());
    EXPECT_EQ(Ops(change, change + 4), (Ops{"stop", "start", "read", "select 30"}));
}

TEST_F(AdaptTest, SavingTestsFiveTimesThenSavesWithTheWorkshopIdentification) {
    writeConfig("VAG_WORKSHOP_ID=[0102030405A6]\r\n");
    boot();
    script(
        "type \"30\" into #1002\npress \"Start\"\n"
        "when text #1009 \"7\" type \"812\" into #1011\n"
        "press \"Save new data\"\n"
        "answer \"Are you sure?\" Yes\n"
        "answer \"Adjustment OK\" Ok\n"
        "when text #1009 \"812\" press \"Exit\"\n");
    run();
    EXPECT_EQ(unit().adaptation().channel(30)->value, 812);
    EXPECT_EQ(unit().adaptation().savedBy(), (vagkline::WorkshopId{1, 2, 3, 4, 5, 0xA6}));
    const Ops from = routineFrom("test 812");
    ASSERT_GE(from.size(), 17u);
    EXPECT_EQ(Ops(from.begin(), from.begin() + 17),
              (Ops{"test 812", "read", "test 812", "read", "test 812", "read", "test 812", "read",
                   "test 812", "read", "save 812", "read", "stop",
                   // and the saved channel is read again
                   "start", "read", "select 30", "read"}));
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"ATTENTION: changes will be saved.\n\rAre you sure?",
                                        "Adjustment OK"}));
    const auto saves = sent(0x20);
    const auto save = std::find_if(saves.begin(), saves.end(),
                                   [](const Bytes& f) { return f.size() > 8 && f[8] == 0xBB; });
    ASSERT_NE(save, saves.end());
    EXPECT_EQ(Bytes(save->begin(), save->end() - 1),
              hex("80 10 20 00 8C 00 F1 31 BB 01 03 03 2C 01 02 03 04 05 A6"));
}

TEST_F(AdaptTest, NoAtTheQuestionSendsNoTestAndNoSave) {
    boot();
    script(
        "type \"30\" into #1002\npress \"Start\"\n"
        "when text #1009 \"7\" type \"99\" into #1011\npress \"Save new data\"\n"
        "answer \"Are you sure?\" No\nwhen text #1009 \"7\" press \"Exit\"\n");
    run();
    for (const std::string& op : routine()) {
        EXPECT_NE(op.rfind("test", 0), 0u) << op;
        EXPECT_NE(op.rfind("save", 0), 0u) << op;
    }
    EXPECT_EQ(unit().adaptation().channel(30)->value, 7);
}

TEST_F(AdaptTest, LockedChannelRefusesTheFirstTestValueOnce) {
    boot();
    script(
        "type \"9\" into #1002\npress \"Start\"\n"
        "when text #1009 \"500\" type \"600\" into #1011\n"
        "press \"Save new data\"\nanswer \"Are you sure?\" Yes\n"
        "answer \"locked\" Ok\n"
        "when text #1009 \"500\" press \"Exit\"\n");
    run();
    const Ops from = routineFrom("test 600");
    ASSERT_GE(from.size(), 2u);
    EXPECT_EQ(Ops(from.begin(), from.begin() + 2), (Ops{"test 600", "stop"}));
    EXPECT_EQ(std::count(from.begin(), from.end(), "test 600"), 1);
    EXPECT_EQ(boxTexts().size(), 2u);
    EXPECT_EQ(boxTexts()[1],
              "Adjustment not allowed.\r\nThe selected channel is locked and can request a pssword "
              "to modify information");
    EXPECT_EQ(unit().adaptation().saves(), 0);
}

TEST_F(AdaptTest, AccessCodeStartsTheLoginInSpanishAndUnlocksTheChannel) {
    boot();
    script(
        "type \"9\" into #1002\n"
        "press \"Access code\"\n"
        "when title \"ENTRADA CODIGO ACCESO\" type \"11111\" into #1003\n"
        "press \"OK\"\nanswer \"ACEPTADO\" Ok\n"
        "when title \"CHANNEL ADJUSTMENT\" press \"Start\"\n"
        "when text #1009 \"500\" type \"640\" into #1011\n"
        "press \"Save new data\"\nanswer \"Are you sure?\" Yes\nanswer \"Adjustment OK\" Ok\n"
        "when text #1009 \"640\" press \"Exit\"\n");
    run();
    EXPECT_TRUE(unit().loggedIn());
    EXPECT_EQ(unit().adaptation().channel(9)->value, 640);
    const ui::DialogSnapshot& login = shown("VAGLOGIN");
    EXPECT_EQ(login.title, "ENTRADA CODIGO ACCESO: CHANNEL ADJUSTMENT: KOMBI");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(AdaptTest, LoginPlugInThatCannotBeLoaded) {
    boot();
    const std::string login = "press \"Access code\"\nanswer \"Load Error\" Ok\npress \"Exit\"\n";
    script(login);
    run("#MENU\r\n<MNU\r\n\tDLLPSW=\t[NOLOGIN.DLL]\r\n>\r\n");
    script(login);
    run("#MENU\r\n<MNU\r\n\tDATA=\t[03000000]\r\n>\r\n");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "Load Error, DLL STORAGE CARD\\CORVANDATA\\dll\\NOLOGIN.DLL",
                              "Load Error, DLL STORAGE CARD\\CORVANDATA\\dll\\"}));
}

TEST_F(AdaptTest, ChannelZeroResetsEveryChannelWithoutATestValue) {
    boot();
    unit();
    script(
        "type \"30\" into #1002\npress \"Start\"\n"
        "when text #1009 \"7\" type \"9\" into #1011\npress \"Save new data\"\n"
        "answer \"sure\" Yes\nanswer \"Adjustment OK\" Ok\n"
        "when text #1009 \"9\" type \"0\" into #1002\n"
        "press \"Stop\"\n"
        "press \"Reset adaptation values\"\nanswer \"sure\" Yes\nanswer \"Adjustment OK\" Ok\n"
        "after 5 pumps press \"Exit\"\n");
    run();
    EXPECT_EQ(unit().adaptation().channel(30)->value, 7);  // back to its power-up value
    const auto ops = routine();
    const auto reset = std::find(ops.rbegin(), ops.rend(), "select 0");
    ASSERT_NE(reset, ops.rend());
    const Ops tail(reset.base() - 3, ops.end());
    EXPECT_EQ(tail, (Ops{"start", "read", "select 0", "save 0", "read", "stop"}));
    EXPECT_EQ(control(kProgressId).value, 0);
}

TEST_F(AdaptTest, UnreadableChannelShowsNotAllowedAndStops) {
    boot(kombiScenario(R"("channels": [{"channel": 9, "value": 1, "readable": false}])"));
    script(
        "type \"9\" into #1002\npress \"Start\"\n"
        "when text #1009 \"Not allowed\" press \"Exit\"\n");
    run();
    const Ops ops = routine();
    ASSERT_GE(ops.size(), 4u);
    EXPECT_EQ(Ops(ops.begin(), ops.begin() + 4), (Ops{"start", "read", "select 9", "stop"}));
    EXPECT_FALSE(control(kSaveId).enabled);
}

// Silences the box once the unit has taken five test values and their reads: the save
// that follows goes unanswered.
struct GoneBeforeTheSave final : FrameObserver {
    GoneBeforeTheSave(sim::Varbox& box, FrameObserver& log) : box(box), log(log) {}
    void frameSent(std::span<const uint8_t> f) override {
        log.frameSent(f);
        if (f.size() > 8 && f[4] == 0x86) ++tests;
        if (tests == 5 && f.size() > 8 && f[8] == 0xBA && !gone) {
            sim::Fault silence;
            silence.count = -1;
            box.inject(silence);
            gone = true;
        }
    }
    void frameReceived(std::span<const uint8_t> f, bool good) override {
        log.frameReceived(f, good);
    }
    sim::Varbox& box;
    FrameObserver& log;
    int tests = 0;
    bool gone = false;
};

TEST_F(AdaptTest, UnansweredSaveIsNotReportedAsAccepted) {
    boot();
    GoneBeforeTheSave observer(*box, frames);
    host.frames = &observer;
    script(
        "type \"30\" into #1002\npress \"Start\"\n"
        "when text #1009 \"7\" type \"9\" into #1011\npress \"Save new data\"\n"
        "answer \"sure\" Yes\nanswer \"RETRY?\" No\nanswer \"Adjustment not allowed\" Ok\n"
        "press \"Exit\"\n");
    run();
    ASSERT_TRUE(observer.gone);
    // The reply buffer still held the accepted read before the save: it must not count.
    const auto texts = boxTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Adjustment OK"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Adjustment not allowed"), 1);
    EXPECT_EQ(unit().adaptation().saves(), 0);
    EXPECT_EQ(unit().adaptation().channel(30)->value, 7);
}

TEST_F(AdaptTest, TargetAddressFromTheKeepAliveMessage) {
    boot(kombiScenario(R"("kwpAddress": "17")", R"("keepAlive": "82 17 F1 3E")"));
    script("type \"30\" into #1002\npress \"Start\"\nwhen text #1009 \"7\" press \"Exit\"\n");
    run();
    ASSERT_FALSE(ecuMessages().empty());
    EXPECT_EQ(ecuMessages()[0], hex("84 17 F1 31 B8 01 03"));
}

TEST_F(AdaptTest, DemonstrationAndReportSendNothing) {
    boot();
    run(kombiText(), "DEMO");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Can´t start activation test in DEMO mode"});
    EXPECT_EQ(screen.lastSnapshot("VAGADAPT"), nullptr);
    run(kombiText(), "REPORT");
    EXPECT_TRUE(port->written().empty());
}

}  // namespace
}  // namespace corvan::vagadapt
