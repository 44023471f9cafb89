// The actuator test against the simulated engine unit on the virtual clock: the routine on
// the wire step by step, the window the technician works, the end code, the refusals, and
// the demonstration.
#include "plugins/actuators/actuator_test.h"

#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "plugins/actuators/actuator_protocol.h"

namespace corvan::actuators {
namespace {

using testing::Bytes;
using testing::withCheck;

std::string scenario(const std::string& steps, const std::string& more = "") {
    return R"({"box": {"program": "running", "keepAlive": "81 10 F1 3E C0", "keepAliveOn": true},
               "ecus": [{"name": "engine", "model": "kwp2000", "config": {
                 "actuators": {"steps": [)" +
           steps + "]" + more + "}}}]}";
}

const std::string kItem =
    "<MNU\r\n\tTEXT=\t[\"Actuators\"]\r\n\tDLL=\t[ACTUATORS.DLL]\r\n\tFILE=\t[ACT.DTC]\r\n>\r\n";

const Bytes kKeepAlive = withCheck("80 00 85");
const Bytes kPrepare = withCheck("80 08 20 00 84 10 F1 31 B8 00 00");
const Bytes kStart = withCheck("80 08 20 00 84 10 F1 31 B8 01 02");
const Bytes kRead = withCheck("80 08 20 00 84 10 F1 31 BA 01 02");
const Bytes kAdvance = withCheck("80 08 20 00 84 10 F1 31 B9 01 02");
const Bytes kStop = withCheck("80 08 20 00 84 10 F1 32 B8 01 02");

class ActuatorsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.installPlugin(CORVAN_DTCBASE_PLUGIN);
        rig.writeDtcFile("ACT.DTC",
                         "[00017][\"Fuel pump relay\"][ACT017.htm]\r\n"
                         "[00033][\"Radiator fan\"][ACT033.htm]\r\n[01195][\"End of test\"][]\r\n");
    }
    std::string run(const std::string& mode, const std::string& script, int language = 1) {
        EXPECT_EQ(rig.screen.loadScript(script), "");
        ModuleContext ctx = rig.context(mode, language);
        return runActuators(ctx, PluginCall{kItem, 0, mode, "EDC16"});
    }
    // The frames after the keep-alive read, without the progress cycles' reads between
    // two other requests (a read right after an advance counts).
    std::vector<std::string> steps() const {
        std::vector<std::string> out;
        const auto& s = rig.sent();
        for (size_t i = 0; i < s.size(); ++i) {
            const Bytes& f = s[i];
            const char* name = f == kKeepAlive ? "keep-alive"
                               : f == kPrepare ? "prepare"
                               : f == kStart   ? "start"
                               : f == kRead    ? "read"
                               : f == kAdvance ? "advance"
                               : f == kStop    ? "stop"
                                               : "other";
            if (f == kRead && !out.empty() && out.back() == "read") continue;
            out.push_back(name);
        }
        return out;
    }
    std::vector<std::string> row() const {
        return rig.snapshot("ACTUATORS").control(kListId)->rows.at(0).cells;
    }
    testing::DtcRig rig;
};

TEST_F(ActuatorsTest, StepsThroughTheActuatorsToTheEndCode) {
    rig.boot(scenario(R"({"code": 17, "busyMs": 1000}, {"code": 33})"));
    EXPECT_EQ(run("EXE",
                  "when text #1002 \"Wait...\" dump\n"
                  "press \"Next actuator\"\n"
                  "tap \"Radiator fan\"\npress \"Next actuator\"\n"
                  "tap \"01195\"\npress \"Next actuator\"\n"),
              "");
    // Each actuator: read, advance (the unit drives it), the cycle's reads; Next: advance.
    // The end code's cycle ends without an advance: the stop follows.
    EXPECT_EQ(steps(),
              (std::vector<std::string>{"keep-alive", "prepare", "start", "read", "advance", "read",
                                        "advance", "read", "advance", "read", "advance", "read",
                                        "advance", "read", "stop"}));
    EXPECT_EQ(row(), (std::vector<std::string>{"01195", "End of test"}));
    const ui::DialogSnapshot& s = rig.snapshot("ACTUATORS");
    EXPECT_EQ(s.title, "ACTIVATION TEST: EDC16");
    EXPECT_EQ(s.control(kListId)->columns[0].heading, "CODE");
    // While the unit drove the fuel pump the button waited.
    const ui::DialogSnapshot* busyShot = nullptr;
    for (const auto& snap : rig.screen.snapshots())
        if (snap.reason == "script") busyShot = &snap;
    ASSERT_NE(busyShot, nullptr);
    EXPECT_FALSE(busyShot->control(kNextId)->enabled);
    EXPECT_EQ(busyShot->control(kListId)->rows.at(0).cells.at(1), "Fuel pump relay");
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST_F(ActuatorsTest, CodeZeroIsFollowedByAdvanceAndASecondRead) {
    rig.boot(scenario(R"({"code": 0}, {"code": 17}, {"code": 99})"));
    run("EXE", "tap \"00017\"\npress \"Next actuator\"\ntap \"00099\"\npress \"Exit\"\n");
    const auto& s = rig.sent();
    ASSERT_GE(s.size(), 7u);
    // Read (code 0), advance, the second read, then the first read of the progress cycle.
    EXPECT_EQ(std::vector<Bytes>(s.begin() + 3, s.begin() + 7),
              (std::vector<Bytes>{kRead, kAdvance, kRead, kRead}));
    EXPECT_EQ(row(), (std::vector<std::string>{"00099", "UNKNOWN ACTUATOR"}));
    EXPECT_EQ(rig.sent().back(), kStop);
}

TEST_F(ActuatorsTest, RefusedStartAndRefusedReads) {
    rig.boot(scenario("", R"(, "refuse": true)"));
    run("EXE", "");
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"Can´t start activation test at this moment"}));
    EXPECT_EQ(steps(), (std::vector<std::string>{"keep-alive", "prepare", "start", "stop"}));

    // A unit that stops answering reads after the first actuator: the normal end.
    rig.boot(R"({"box": {"program": "running", "keepAlive": "81 10 F1 3E C0"},
                 "ecus": [{"model": "table", "config": {"rules": [
                   {"request": "84 10 F1 31 BA *", "replies": [
                      "88 F1 10 71 BA 01 02 00 00 00 11 00", "7F 31 22"]},
                   {"request": "84 10 F1 31 *", "reply": "82 F1 10 71 $4 00"},
                   {"request": "84 10 F1 32 *", "reply": "82 F1 10 72 B8 00"}]}}]})");
    run("EXE", "tap \"00017\"\npress \"Next actuator\"\nanswer \"finalized\" Ok\n", kEnglish);
    EXPECT_EQ(rig.boxTexts().back(), "Activation test finalized");
    EXPECT_EQ(rig.sent().back(), kStop);
}

TEST_F(ActuatorsTest, AStartedTestWhoseFirstReadIsRefusedCannotStart) {
    // Not "finalized": no actuator was ever read.
    rig.boot(R"({"box": {"program": "running", "keepAlive": "81 10 F1 3E C0"},
                 "ecus": [{"model": "table", "config": {"rules": [
                   {"request": "84 10 F1 31 BA *", "reply": "7F 31 22"},
                   {"request": "84 10 F1 31 *", "reply": "82 F1 10 71 $4 00"},
                   {"request": "84 10 F1 32 *", "reply": "82 F1 10 72 B8 00"}]}}]})");
    run("EXE", "answer \"start\" Ok\n", kEnglish);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"Can´t start activation test at this moment"}));
    EXPECT_EQ(rig.sent().back(), kStop);
}

TEST_F(ActuatorsTest, DemonstrationReadsTheFileFirstAndSendsNothing) {
    rig.boot(scenario(R"({"code": 17})"));
    EXPECT_EQ(run("DEMO", ""), "");
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"Can´t start activation test in DEMO mode"}));
    EXPECT_TRUE(rig.port->written().empty());
    EXPECT_EQ(rig.screen.lastSnapshot("ACTUATORS"), nullptr);

    std::filesystem::remove(rig.install() / "dtc" / "ACT.DTC");
    run("DEMO", "");
    EXPECT_EQ(rig.boxTexts().back(), "Can´t open DTC file: STORAGE CARD\\CORVANDATA\\dtc\\ACT.DTC");
    EXPECT_TRUE(rig.port->written().empty());
}

TEST_F(ActuatorsTest, MissingLibraryOrDamagedFile) {
    rig.boot(scenario(R"({"code": 17})"));
    std::filesystem::remove(rig.install() / "DLL" / "dtcbase.so");
    run("EXE", "");
    EXPECT_EQ(rig.boxTexts().back(),
              "Load error, driver STORAGE CARD\\CORVANDATA\\DLL\\DTCBASE.dll");
    EXPECT_EQ(steps(), (std::vector<std::string>{"keep-alive"}));

    rig.installPlugin(CORVAN_DTCBASE_PLUGIN);
    rig.writeFile("dtc", "ACT.DTC", "[00017][\"not stored\"][]");
    rig.boot(scenario(R"({"code": 17})"));
    run("EXE", "tap \"00017\"\npress \"Exit\"\n");
    EXPECT_EQ(row(), (std::vector<std::string>{"00017", "UNKNOWN ACTUATOR"}));
}

TEST(ActuatorProtocol, TargetFromTheKeepAliveMessage) {
    EXPECT_EQ(targetAddress(withCheck("80 06 85 01 81 10 F1 3E C0"), 10), 0x10);
    EXPECT_EQ(targetAddress(withCheck("80 02 85 01 3E"), 6), 0);  // no address in it
    EXPECT_EQ(targetAddress(withCheck("00 00 0A"), 4), 0);
    EXPECT_EQ(targetAddress({}, 0), 0);
    EXPECT_EQ(stepRequest(Step::Stop, 0x33), testing::hexBytes("80 08 20 00 84 33 F1 32 B8 01 02"));
    const Bytes read = withCheck("80 0C 20 00 88 F1 10 71 BA 01 02 01 00 04 AB 00");
    EXPECT_TRUE(accepted(read));
    EXPECT_TRUE(busy(read));
    EXPECT_EQ(actuatorCode(read), 1195);
    EXPECT_FALSE(accepted(Bytes(7, 0x71)));  // too short to hold byte 7
}

}  // namespace
}  // namespace corvan::actuators
