// The trouble-code functions of the sample engine unit through the engine, as a technician
// uses them: the stored codes read, erased from the trouble-code menu and read again on the
// simulated unit; and the demonstration, which goes through every trouble-code and actuator
// entry without a single frame on the line.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

const std::string kEngine = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /EXE";
const std::string kDemo = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /DEMO=1";

std::vector<std::string> sentFrames(const std::string& trace) {
    std::vector<std::string> sent;
    for (const std::string& line : linesOf(trace)) {
        const size_t tx = line.find(" TX ");
        if (tx != std::string::npos) sent.push_back(line.substr(tx + 4));
    }
    return sent;
}

// The rows of every record of the trouble-code list in a dump, record by record.
std::vector<std::vector<std::string>> codeLists(const std::string& dump) {
    std::vector<std::vector<std::string>> lists;
    bool in = false;
    for (const std::string& line : linesOf(dump)) {
        if (line.rfind("dialog DTCLIST script", 0) == 0) {
            in = true;
            lists.emplace_back();
        } else if (in && line == "end") {
            in = false;
        } else if (in && line.rfind("    row ", 0) == 0 && line.find('"') != std::string::npos) {
            lists.back().push_back(line.substr(line.find('"')));
        }
    }
    return lists;
}

struct Session {
    ProgramRun run;
    std::string dump, trace;
};

Session session(const std::string& script, const std::string& line) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace", screens = out.path() / "screens.txt";
    Session s;
    s.run = runProgram(ECOR_PATH, {"--headless", "--technician", script, "--trace", trace.string(),
                                   "--screens", screens.string(), line});
    s.dump = readWholeFile(screens).value_or("");
    s.trace = readWholeFile(trace).value_or("");
    return s;
}

TEST(TroubleCodeSession, CodesEraseCodesAgainShowsTheCodesGone) {
    const Session s = session(CORVAN_SAMPLE_SCRIPTS "/codes_erase_codes.txt", kEngine);
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    EXPECT_TRUE(s.run.err.empty()) << s.run.err;  // the script ran as written

    const auto lists = codeLists(s.dump);
    ASSERT_EQ(lists.size(), 2u) << s.dump;
    EXPECT_EQ(lists[0], (std::vector<std::string>{
                            "\"P0123\" | \"Throttle/pedal position sensor A circuit high\"",
                            "\"P0420\" | \"Catalyst system efficiency below threshold\""}));
    EXPECT_EQ(lists[1], (std::vector<std::string>{"\"\" | \"NO TROUBLE CODES FOUND\""}));
    const auto boxes = messageBoxTexts(s.dump);
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Trouble codes erased"), boxes.end());

    // On the line: the stored codes read, the self-test (engine stopped) read out, the
    // erase request of the data once, and the codes read again.
    const auto sent = sentFrames(s.trace);
    const std::string read = "80 05 20 00 18 02 FF 00 40";
    const std::string results = "80 07 20 FF C4 10 FA 33 81 00 C4";
    const std::string erase = "80 07 20 00 C4 10 FA 14 FF 00 62";
    ASSERT_EQ(std::count(sent.begin(), sent.end(), erase), 1);
    const auto at = [&](const std::string& f) { return std::find(sent.begin(), sent.end(), f); };
    EXPECT_LT(at(read), at(results));
    EXPECT_EQ(at(results) + 1, at(erase));
    EXPECT_NE(std::find(at(erase), sent.end(), read), sent.end());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), read), 2);
}

TEST(TroubleCodeSession, DemonstrationSendsNothingOnAnyPath) {
    corvan::testing::TempDir dir;
    const auto script = dir.path() / "demo.txt";
    writeFileAtomic(script,
                    "tap \"Trouble codes\"\npress \"SELECT\"\n"
                    "when text #1003 \"0\" press \"Exit\"\n"
                    "when title \"OPTIONS MENU\" tap \"Self-test\"\npress \"SELECT\"\n"
                    "answer \"WARNING\" Yes\nanswer \"running\" Yes\n"
                    "when text #1003 \"0\" press \"Erase DTC\"\nanswer \"Trouble menu\" Ok\n"
                    "press \"Exit\"\n"
                    "when title \"OPTIONS MENU\" tap \"Erase codes\"\npress \"SELECT\"\n"
                    "answer \"DEMO mode\" Ok\n"
                    "when title \"OPTIONS MENU\" tap \"Actuator test\"\npress \"SELECT\"\n"
                    "answer \"DEMO mode\" Ok\n"
                    "when title \"OPTIONS MENU\" press \"Exit\"\n");
    const Session s = session(script.string(), kDemo);
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    EXPECT_TRUE(s.run.err.empty()) << s.run.err;
    EXPECT_TRUE(sentFrames(s.trace).empty()) << s.trace;
    const auto boxes = messageBoxTexts(s.dump);
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Can´t erase trouble codes in DEMO mode"),
              boxes.end());
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), "Can´t start activation test in DEMO mode"),
              boxes.end());
}

}  // namespace
}  // namespace corvan::e2e
