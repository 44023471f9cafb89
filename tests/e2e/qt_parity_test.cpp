// The sample sessions behave the same whichever screen shows them: the same technician
// script on the headless screen and on the Qt screens (offscreen) gives the same result text,
// the same wire trace, times included, and the same screen dump. The in-process headless
// session is checked against the eCor program itself, so the Qt session is the engine's too.
#include <gtest/gtest.h>

#include "engine_e2e_support.h"
#include "qt_session_rig.h"

namespace corvan::e2e {
namespace {

const std::string kLeaveScript = fileText(CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt");

// The information box of the menu, answered, then the menu left.
const std::string kInformationScript = R"(
press "Information"
answer "Driver name" Ok
when title "OPTIONS MENU" press "Exit"
)";

// Identification twice (the second list read as the first), the information box, and the
// console's window opened with Control held and left at once.
const std::string kLongScript = R"(
tap "Identification"
press "SELECT"
after 20 pumps when title "ECU IDENTIFICATION" press "Exit"
doubletap "Identification"
after 20 pumps when title "ECU IDENTIFICATION" press "Exit"
press "Information"
answer "Driver name" Ok
hold control
press "Information"
release control
when title "LINK CONSOLE" press "Exit"
when title "OPTIONS MENU" press "Exit"
)";

SessionSetup session(const std::string& script, const std::string& mode = "EXE") {
    SessionSetup setup;
    setup.script = script;
    setup.mode = mode;
    return setup;
}

SessionSetup absUnit(const std::string& script) {
    SessionSetup setup = session(script);
    setup.record = "ABS_CAN.TXT";
    setup.selection = "VOLKSWAGEN GOLF V ABS/ESP";
    return setup;
}

// What the session must put on the line and on the screen, so that two sessions that went
// nowhere cannot agree.
struct Case {
    const char* name;
    SessionSetup setup;
    const char* request;  // in the wire trace
    const char* shown;    // in the screen dump
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

const char* const kIdentificationRequest = " TX 80 03 20 00 1A 80 ";
const char* const kDriverBlock = " TX 01 00 1A ";

const Case kCases[] = {
    {"EngineUnitIdentification", session(kLeaveScript), kIdentificationRequest,
     R"("ECU part number" | "90C906021AB")"},
    {"AbsUnitWithDriverDownload", absUnit(kLeaveScript), kDriverBlock, "ECU IDENTIFICATION"},
    {"DriverLoadedOnRequest", session(kLeaveScript, "EXE@"), kDriverBlock, "ECU IDENTIFICATION"},
    {"InformationBox", session(kInformationScript), " TX 80 00 0F ", "Driver name: KWP2000"},
    {"LongerSession", session(kLongScript), kIdentificationRequest, "LINK CONSOLE"},
};

class SameSessionOnBothScreens : public ::testing::TestWithParam<Case> {};

TEST_P(SameSessionOnBothScreens, SameResultTraceAndDump) {
    const Case& c = GetParam();
    const SessionOutcome headless = runHeadlessSession(c.setup);
    const SessionOutcome qt = runQtSession(c.setup);

    // The system-information record for "EXE"; "EXE@" gives none.
    if (c.setup.mode == "EXE") {
        EXPECT_EQ(headless.result.rfind("[SYS]=SYSTEM INFORMATION@", 0), 0u) << headless.result;
    }
    EXPECT_NE(headless.trace.find(c.request), std::string::npos) << headless.trace;
    EXPECT_NE(headless.dump.find(c.shown), std::string::npos) << headless.dump;
    EXPECT_EQ(headless.report, "");
    EXPECT_EQ(qt.report, "");

    EXPECT_EQ(qt.result, headless.result);
    EXPECT_EQ(qt.trace, headless.trace);
    EXPECT_EQ(qt.dump, headless.dump);
}

INSTANTIATE_TEST_SUITE_P(SampleSessions, SameSessionOnBothScreens, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The rig's headless session is the one eCor runs for the same command line and script.
TEST(SessionRig, IsTheEnginesSession) {
    corvan::testing::TempDir out;
    const auto& dir = out.path();
    const ProgramRun run = runProgram(
        ECOR_PATH,
        {"--headless", "--technician", CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt", "--trace",
         (dir / "trace.txt").string(), "--screens", (dir / "screens.txt").string(),
         "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV /EXE"});
    ASSERT_EQ(run.status, 0) << run.err;
    const SessionOutcome rig = runHeadlessSession(session(kLeaveScript));
    EXPECT_EQ(run.out, rig.result + "\n");
    EXPECT_EQ(fileText(dir / "trace.txt"), rig.trace);
    EXPECT_EQ(fileText(dir / "screens.txt"), rig.dump);
}

}  // namespace
}  // namespace corvan::e2e
