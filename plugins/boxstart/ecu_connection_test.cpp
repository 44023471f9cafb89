// ECU connection set-up against the simulated box: adapter detection, the configuration
// frame on the wire, the connection attempts and their outcome.
#include "plugins/boxstart/ecu_connection.h"

#include <gtest/gtest.h>

#include "plugins/boxstart/adapter_detection.h"
#include "plugins/boxstart/box_link.h"
#include "plugins/boxstart/boxstart_test_support.h"
#include "runtime/commands.h"

namespace corvan::boxstart {
namespace {

using testing::BoxSetup;
using testing::Bytes;
using testing::Keys;
using testing::Rig;

std::string connect(Rig& rig, const Keys& keys, const std::string& mode = "EXE") {
    const ModuleContext ctx = rig.context(mode);
    return ConnectEcu(ctx, testing::section(keys), mode);
}

// The configuration request as the box received it.
Bytes configFrame(const Rig& rig) {
    const std::vector<Bytes> frames = rig.framesWith(cmd::kWriteConfig);
    return frames.empty() ? Bytes() : frames.back();
}

BoxSetup withAdapter(const std::string& adapter) {
    BoxSetup s;
    s.adapter = adapter;
    return s;
}

class AdapterDetection : public ::testing::TestWithParam<std::string> {};

TEST_P(AdapterDetection, FindsTheCableFromItsLoopBacks) {
    Rig rig(withAdapter(GetParam()));
    const ModuleContext ctx = rig.context("");
    BoxLink link(ctx, "");
    EXPECT_EQ(DetectAdapter(link), GetParam());
    // The selector is left cleared by every test that set it.
    EXPECT_EQ(rig.box->registers().stored(0x11), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryCable, AdapterDetection,
                         ::testing::Values("OBDII", "MB", "SAE", "NISS", "KLIA", "CANYK"));

TEST(AdapterDetectionProbe, CanCableAnswersTheProbeAlone) {
    Rig rig(withAdapter("CANYK"));
    const ModuleContext ctx = rig.context("");
    BoxLink link(ctx, "");
    EXPECT_EQ(DetectAdapter(link), "CANYK");
    EXPECT_EQ(rig.commands(), (Bytes{cmd::kProbeAdapter}));
}

TEST(Connection, KLineUnitAnswersWithItsKeyBytes) {
    Rig rig;
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "C1EF8F");
    const Bytes frame = configFrame(rig);
    ASSERT_EQ(frame.size(), 43u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 15),
              (Bytes{0x80, 0x28, 0x80, 0x01, 0x01, 0x00, 0x00, 0x28, 0x10, 0x01, 0x2C, 0x00, 0x05,
                     0x01, 0x81}));
    EXPECT_EQ(rig.box->selectedEcu(), 0);
    EXPECT_EQ(rig.box->connectionState(), 1);
}

TEST(Connection, RequestsInOrder) {
    Rig rig;
    ASSERT_EQ(connect(rig, testing::with(testing::kLineKeys(), "PLUG", "NOTEST")), "C1EF8F");
    EXPECT_EQ(rig.commands(), (Bytes{0x82, 0x86, 0x81, 0x80, 0x82}));
    EXPECT_EQ(rig.framesWith(cmd::kSetKeepAlive)[0], (Bytes{0x80, 0x02, 0x86, 0x01, 0x3E}));
}

TEST(Connection, NoTestAssumesTheKLineCableAndTakesThePinText) {
    Rig rig(withAdapter("MB"));  // would not be accepted if it were detected
    const Keys keys =
        testing::with(testing::with(testing::kLineKeys(), "PLUG", "NOTEST"), "PIN", "7");
    EXPECT_EQ(connect(rig, keys), "C1EF8F");
    EXPECT_TRUE(rig.framesWith(cmd::kProbeAdapter).empty());
    EXPECT_TRUE(rig.framesWith(cmd::kReadRegister).empty());
    EXPECT_EQ(configFrame(rig)[6], 0x00);
}

TEST(Connection, PlugListPicksThePinOfTheDetectedCable) {
    Rig rig(withAdapter("MB"));
    const Keys keys =
        testing::with(testing::with(testing::kLineKeys(), "PLUG", "OBDII,MB"), "PIN", "7,8");
    EXPECT_EQ(connect(rig, keys), "C1EF8F");
    EXPECT_EQ(configFrame(rig)[5], 0x20);
    EXPECT_EQ(configFrame(rig)[6], 0x00);
}

TEST(Connection, EmptyMntSwitchesTheKeepAliveOff) {
    Rig rig;
    EXPECT_EQ(connect(rig, testing::with(testing::kLineKeys(), "MNT", "")), "C1EF8F");
    EXPECT_EQ(rig.framesWith(cmd::kSetKeepAlive)[0],
              (Bytes{0x80, 0x05, 0x86, 0x00, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_FALSE(rig.box->keepAliveOn());
}

TEST(Connection, CanUnitOnChannelOne) {
    Rig rig;
    EXPECT_EQ(connect(rig, testing::canKeys()), "5081");
    const Bytes frame = configFrame(rig);
    ASSERT_EQ(frame.size(), 43u);
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 16),
              (Bytes{0x80, 0x28, 0x80, 0x01, 0x01, 0x01, 0x1C, 0x00, 0x20, 0x00, 0x64, 0x01, 0xF4,
                     0x28, 0x10, 0x81}));
    EXPECT_EQ(rig.box->selectedEcu(), 1);
}

TEST(Connection, ChannelWithoutValueGives208) {
    Rig rig;
    // No unit listens on that channel: the box connects to nothing.
    EXPECT_EQ(connect(rig, testing::with(testing::canKeys(), "CHANNEL", "")), "ERROR");
    EXPECT_EQ(configFrame(rig)[3], 208);
}

TEST(Connection, AcceptedConfigurationWithoutAnswerGivesEmptyText) {
    BoxSetup s;
    s.ecuConnect = "";  // the unit connects without anything to report: reply 0xA0
    Rig rig(s);
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "");
    EXPECT_EQ(rig.box->connectionState(), 1);
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
}

TEST(Connection, UnitNotAnsweringEndsWithResetAndMessage) {
    BoxSetup s;
    s.ecuConnect = R"("refuse": true)";
    Rig rig(s);
    const int64_t before = rig.clock.nowUs();
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "ERROR");
    EXPECT_EQ(rig.framesWith(cmd::kWriteConfig).size(), 2u);
    EXPECT_EQ(rig.commands().back(), cmd::kReset);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"Can´t connect with ECU"}));
    EXPECT_GE(rig.clock.nowUs() - before, 2 * 1'000'000);  // a second after each attempt
    const auto& shots = rig.screen.snapshots();
    ASSERT_FALSE(shots.empty());
    EXPECT_EQ(shots.back().control(1002)->text, "Checking VARBOX status");
    EXPECT_EQ(shots.back().control(1001)->value, 95);
}

TEST(Connection, UnitNotAnsweringInSilentModeShowsNothing) {
    BoxSetup s;
    s.ecuConnect = R"("refuse": true)";
    Rig rig(s);
    EXPECT_EQ(connect(rig, testing::kLineKeys(), ""), "ERROR");
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
    EXPECT_FALSE(rig.progressShown);
}

TEST(Connection, WrongCableIsNamedAndTheBoxReset) {
    Rig rig(withAdapter("MB"));
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "ERROR");
    EXPECT_EQ(
        rig.boxTexts(),
        (std::vector<std::string>{"ATTENTION: MB wrong adapter.\nPlug the correct adapter."}));
    EXPECT_TRUE(rig.framesWith(cmd::kReadConfig).empty());
    EXPECT_EQ(rig.commands().back(), cmd::kReset);
}

TEST(Connection, WrongCableInSpanish) {
    Rig rig(withAdapter("SAE"));
    const ModuleContext ctx = rig.context("EXE", kSpanish);
    EXPECT_EQ(ConnectEcu(ctx, testing::section(testing::kLineKeys()), "EXE"), "ERROR");
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"ATENCION: el adaptador SAE no es el adecuado.\nVerifique "
                                        "que el tipo de adaptador es el correcto."}));
}

TEST(Connection, SilentBoxGivesErrorAfterOnePrompt) {
    BoxSetup s;
    s.faults = R"({"kind": "silence", "count": -1})";
    Rig rig(s);
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "ERROR");
    EXPECT_EQ(rig.commands(), (Bytes{cmd::kConnectionStatus}));  // one attempt only
    EXPECT_EQ(rig.screen.messageBoxes().size(), 1u);
}

TEST(Connection, SecondAttemptMayConnect) {
    BoxSetup s;
    // The box loses the unit right after the first configuration.
    s.faults = R"({"kind": "disconnect", "command": "80", "count": 1})";
    Rig rig(s);
    EXPECT_EQ(connect(rig, testing::kLineKeys()), "C1EF8F");
    EXPECT_EQ(rig.framesWith(cmd::kWriteConfig).size(), 2u);
    EXPECT_TRUE(std::find(rig.stages.begin(), rig.stages.end(),
                          testing::Stage{"Connection attempts: 2 from 2", 85}) != rig.stages.end());
}

TEST(BoxStartEntry, EcuFailureBecomesError1) {
    BoxSetup s;
    s.ecuConnect = R"("refuse": true)";
    Rig rig(s);
    EXPECT_EQ(rig.run(testing::section(testing::kLineKeys())), "ERROR 1");
}

TEST(BoxStartEntry, WrongCableBecomesError1) {
    Rig rig(withAdapter("NISS"));
    EXPECT_EQ(rig.run(testing::section(testing::kLineKeys())), "ERROR 1");
    EXPECT_EQ(
        rig.boxTexts(),
        (std::vector<std::string>{"ATTENTION: NISS wrong adapter.\nPlug the correct adapter."}));
}

}  // namespace
}  // namespace corvan::boxstart
