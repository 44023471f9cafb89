// Sessions recorded on the sample vehicle with eCor and ecor-run, turned into scenarios by
// corvan-trace2scenario and run again on those scenarios with the same command line and
// technician script: the same result text, the same screens and the same wire, every TX
// and RX line with its time. And the tool's own answers to traces it cannot use.
#include <gtest/gtest.h>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

const std::string kEcor = ECOR_PATH;
const std::string kEcorRun = ECOR_RUN_PATH;
const std::string kTool = TRACE2SCENARIO_PATH;
const std::string kScripts = CORVAN_SAMPLE_SCRIPTS;

std::string readText(const std::filesystem::path& p) {
    return readWholeFile(p).value_or(std::string());
}

struct Recorded {
    ProgramRun run;
    std::string trace, screens;
};

// One run of `program` on the sample copy, with a wire trace and a screen dump; `sim` names
// the scenario of the simulated box (empty: the installation's own).
Recorded runSession(const SampleCopy& copy, const std::string& program,
                    std::vector<std::string> args, const std::string& tag,
                    const std::filesystem::path& sim = {}) {
    const auto trace = copy.root() / (tag + ".trace");
    const auto screens = copy.root() / (tag + ".screens");
    std::vector<std::string> all = {"--root",       copy.root().string(), "--trace",
                                    trace.string(), "--screens",          screens.string()};
    if (!sim.empty()) all.insert(all.end(), {"--sim", sim.string()});
    if (program == kEcorRun) all.insert(all.begin(), args.front()), args.erase(args.begin());
    all.insert(all.end(), args.begin(), args.end());
    Recorded r;
    r.run = runProgram(program, all);
    r.trace = readText(trace);
    r.screens = readText(screens);
    return r;
}

struct Session {
    const char* name;
    std::string program;
    std::vector<std::string> args;
};

std::vector<Session> sessions() {
    auto ecor = [](const char* script, const char* record, const char* selection) {
        return std::vector<std::string>{"--technician", kScripts + "/" + script,
                                        std::string("/") + record + " /" + selection + " /EXE"};
    };
    return {
        {"identification", kEcor,
         ecor("identify_and_leave.txt", "EDC16_KWP.TXT", "VOLKSWAGEN GOLF V ENGINE 1.9 TDI")},
        {"codes_and_erase", kEcor,
         ecor("codes_erase_codes.txt", "EDC16_KWP.TXT", "VOLKSWAGEN GOLF V ENGINE 1.9 TDI")},
        {"live_data", kEcor,
         ecor("livedata_session.txt", "EDC16_KWP.TXT", "VOLKSWAGEN GOLF V ENGINE 1.9 TDI")},
        {"kw1281_measuring", kEcor,
         ecor("read_measuring_blocks.txt", "EDC15_KW1281.TXT", "VOLKSWAGEN GOLF IV ENGINE TDI")},
        {"kw1281_coding", kEcor,
         ecor("cluster_coding.txt", "KOMBI_KW1281.TXT", "VOLKSWAGEN PASSAT CUADRO VDO")},
        // The CAN unit needs its driver downloaded first.
        {"can_identification", kEcor,
         ecor("identify_and_leave.txt", "ABS_CAN.TXT", "VOLKSWAGEN GOLF V ABS MK60")},
        // A plug-in run alone talks to the ECU the box holds at power-up.
        {"report_without_startup",
         kEcorRun,
         {"IDENTIFY.DLL", "--mode", "REPORT", "--start-at", "<MNU", "--text",
          "STORAGE CARD/CORVANDATA/FICHAS/EDC16_KWP.TXT"}},
    };
}

TEST(TraceReplay, RecordedSessionsReplayToTheSameResultScreensAndWire) {
    const SampleCopy copy;
    for (Session s : sessions()) {
        SCOPED_TRACE(s.name);
        if (s.program == kEcorRun) s.args.back() = (copy.root() / s.args.back()).string();
        const Recorded first = runSession(copy, s.program, s.args, std::string(s.name) + "-1");
        ASSERT_EQ(first.run.status, 0) << first.run.err;
        ASSERT_NE(first.trace.find(" RX "), std::string::npos);

        const auto scenario = copy.root() / (std::string(s.name) + ".json");
        const ProgramRun tool = runProgram(
            kTool,
            {(copy.root() / (std::string(s.name) + "-1.trace")).string(), "-o", scenario.string()});
        ASSERT_EQ(tool.status, 0) << tool.err;
        EXPECT_NE(tool.err.find("every reply at its recorded time"), std::string::npos) << tool.err;
        EXPECT_EQ(tool.err.find("note:"), std::string::npos) << tool.err;

        const Recorded again =
            runSession(copy, s.program, s.args, std::string(s.name) + "-2", scenario);
        EXPECT_EQ(again.run.status, first.run.status) << again.run.err;
        EXPECT_EQ(again.run.out, first.run.out);
        EXPECT_EQ(again.screens, first.screens);
        EXPECT_EQ(again.trace, first.trace);
    }
}

TEST(TraceReplay, TheToolRefusesWhatItCannotUseWithAClearMessage) {
    const testing::TempDir dir;
    auto write = [&](const std::string& name, const std::string& text) {
        writeFileAtomic(dir.path() / name, text);
        return (dir.path() / name).string();
    };
    const std::string out = (dir.path() / "out.json").string();

    ProgramRun r = runProgram(kTool, {write("bad.trace", "0 TX 80 00 88 08\n7 RX 80 00 88 09\n")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.trace: line 2: the check byte does not match"), std::string::npos)
        << r.err;
    EXPECT_EQ(runProgram(kTool, {(dir.path() / "missing.trace").string()}).status, 2);
    EXPECT_EQ(runProgram(kTool, {write("empty.trace", "# nothing\n")}).status, 2);

    // A box whose voltage changes in the session: said, nothing written unless asked.
    const std::string changing = write("voltage.trace",
                                       "0 TX 80 00 82 02\n"
                                       "5 RX 80 0C 82 01 31 32 2E 36 30 00 00 00 00 01 00 25\n"
                                       "10 TX 80 00 82 02\n"
                                       "15 RX 80 0C 82 01 31 32 2E 31 30 00 00 00 00 01 00 22\n");
    r = runProgram(kTool, {changing, "-o", out});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("note: the box's state reply changed its voltage"), std::string::npos);
    EXPECT_NE(r.err.find("differs: line 4: recorded"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    r = runProgram(kTool, {changing, "-o", out, "--allow-differences"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readText(out).find("\"voltage\": \"12.60\""), std::string::npos);

    EXPECT_EQ(runProgram(kTool, {"--bogus"}).status, 1);
    r = runProgram(kTool, {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Exit status"), std::string::npos);
}

}  // namespace
}  // namespace corvan::e2e
