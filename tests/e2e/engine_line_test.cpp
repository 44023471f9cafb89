// The engine's line and its command lines, as a technician and a support script meet them
// across processes: a port that cannot be opened, a demonstration without a box, the report
// pass that connects once, a line that hangs up on a pseudo-terminal, and the exit statuses
// of every program's command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "runtime/result_text.h"

namespace corvan::e2e {
namespace {

const std::string kEcor = ECOR_PATH;
const std::string kEcorRun = ECOR_RUN_PATH;
const std::string kScript = CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt";
const std::string kEngine = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /EXE";
const std::string kDemo = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /DEMO=1";

void writeConfigFile(const SampleCopy& copy, const std::string& text) {
    writeFileAtomic(copy.root() / "STORAGE CARD" / "iCor.cfg", text);
}

TEST(EngineLine, APortThatCannotBeOpenedIsToldOnTheScreenInTheSessionsLanguage) {
    SampleCopy copy;
    writeConfigFile(copy,
                    "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[COM2]\r\nLANGUAGE=[SPANISH]\r\n"
                    "SERIAL2=[/dev/nowhere-tty]\r\n");
    const auto screens = copy.root() / "screens.txt";
    const ProgramRun run = runProgram(kEcor, {"--root", copy.root().string(), "--headless",
                                              "--screens", screens.string(), kEngine});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("COM2 (/dev/nowhere-tty)"), std::string::npos) << run.err;
    const auto boxes = messageBoxTexts(readWholeFile(screens).value_or(""));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("No se puede abrir el puerto COM2 (/dev/nowhere-tty):\n", 0), 0u)
        << boxes[0];
    EXPECT_NE(boxes[0].find("No such file or directory"), std::string::npos);
}

TEST(EngineLine, ADemonstrationOpensNoPortAndRunsWithoutABox) {
    SampleCopy copy;
    copy.writeConfig("/dev/nowhere-tty");
    const auto screens = copy.root() / "screens.txt";
    const ProgramRun run = runProgram(kEcor, {"--root", copy.root().string(), "--technician",
                                              kScript, "--screens", screens.string(), kDemo});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto rows = dialogRows(readWholeFile(screens).value_or(""), "IDENTIFY");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], "\"Key bytes\" | \"SIMULATION MODE\"");
}

TEST(EngineReport, ADemonstrationReportPutsNothingOnTheWire) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace";
    const ProgramRun run = runProgram(kEcor, {"--report", "--trace", trace.string(), kDemo});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("[SYS]=SYSTEM INFORMATION@", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("[IDN]"), std::string::npos) << run.out;
    EXPECT_EQ(readWholeFile(trace).value_or("?"), "");
}

TEST(EngineReport, ThePassConnectsOnceAndClosesOnce) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace";
    const ProgramRun run = runProgram(kEcor, {"--report", "--trace", trace.string(), kEngine});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string wire = readWholeFile(trace).value_or("");
    // The driver's configuration (command 0x80 with its 40 bytes) connects to the ECU.
    EXPECT_EQ(countLines(wire, " TX 80 28 80 "), 1) << wire;
    EXPECT_EQ(countLines(wire, " TX 80 02 20 00 82 20"), 1);  // END=[82]
}

// varbox-sim hangs the pseudo-terminal up after a few frames: the engine notices, sends
// nothing more, says so and ends with its own status instead of a quiet success.
TEST(EngineLine, ALineThatHangsUpIsNoticedAndTheRunEndsWithItsOwnStatus) {
    SampleCopy copy;
    SimProgram sim({(copy.install() / "SIM" / "vehicle.json").string(), "--idle-exit", "60",
                    "--hangup-after", "4"});
    const std::string terminal = sim.terminalPath();
    ASSERT_EQ(terminal.rfind("/dev/", 0), 0u) << terminal;
    copy.writeConfig(terminal);
    const auto trace = copy.root() / "wire.trace", screens = copy.root() / "screens.txt";
    const ProgramRun run =
        runProgram(kEcor,
                   {"--root", copy.root().string(), "--headless", "--report", "--trace",
                    trace.string(), "--screens", screens.string(), kEngine},
                   120000);
    EXPECT_EQ(run.status, 5) << run.err;
    EXPECT_NE(run.err.find("the line to the box was lost"), std::string::npos) << run.err;
    const std::string wire = readWholeFile(trace).value_or("");
    EXPECT_EQ(countLines(wire, " LOST"), 1) << wire;
    // Nothing was written after the line was known to be lost.
    const auto lines = linesOf(wire);
    const auto lost = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find(" LOST") != std::string::npos;
    });
    ASSERT_NE(lost, lines.end());
    EXPECT_TRUE(std::none_of(lost, lines.end(), [](const std::string& l) {
        return l.find(" TX ") != std::string::npos;
    })) << wire;
    const auto boxes = messageBoxTexts(readWholeFile(screens).value_or(""));
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().rfind("The line to the VarBox was lost (" + terminal + ").", 0), 0u)
        << boxes.back();
    sim.stop();
}

TEST(CommandLines, BadOptionsEndWithStatusOneAndHelpWithZero) {
    for (const std::string& program : {kEcor, kEcorRun, std::string(SHELL_PATH),
                                       std::string(LAUNCHER_PATH), std::string(VARBOX_SIM_PATH)}) {
        const ProgramRun bad = runProgram(program, {"--no-such-option"});
        EXPECT_EQ(bad.status, 1) << program << ": " << bad.err;
        EXPECT_FALSE(bad.err.empty()) << program;
        const ProgramRun help = runProgram(program, {"--help"});
        EXPECT_EQ(help.status, 0) << program << ": " << help.err;
        EXPECT_FALSE(help.out.empty()) << program;
    }
    const ProgramRun help = runProgram(kEcor, {"--help"});
    EXPECT_NE(help.out.find("/DEMO=1"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
    EXPECT_NE(help.out.find("5  the line to the box was lost"), std::string::npos);
    // An unknown option before the shell's command line is an error, not part of it.
    const ProgramRun unknown = runProgram(kEcor, {"--headless", "--frobnicate", kEngine});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("--frobnicate"), std::string::npos) << unknown.err;

    const ProgramRun menutool = runProgram(MENUTOOL_PATH, {"-h"});
    EXPECT_EQ(menutool.status, 0);
    EXPECT_NE(menutool.out.find("scramble"), std::string::npos);
}

TEST(CommandLines, ATechnicianScriptThatDoesNotParseEndsWithStatusOneEverywhere) {
    corvan::testing::TempDir dir;
    const auto script = dir.path() / "bad.txt";
    std::ofstream(script) << "tap\n";
    const std::string s = script.string();
    const ProgramRun ecor = runProgram(kEcor, {"--technician", s, kEngine});
    EXPECT_EQ(ecor.status, 1) << ecor.err;
    EXPECT_NE(ecor.err.find("line 1"), std::string::npos) << ecor.err;
    EXPECT_EQ(runProgram(kEcorRun, {"IDENTIFY.DLL", "--technician", s}).status, 1);
    EXPECT_EQ(runProgram(SHELL_PATH, {"--headless", "--technician", s}).status, 1);
    EXPECT_EQ(
        runProgram(kEcor, {"--technician", (dir.path() / "absent.txt").string(), kEngine}).status,
        1);
}

TEST(EngineBadInstallation, PathOfTheConfigurationAndNulBytesOfARecordAreNamed) {
    SampleCopy copy;
    writeConfigFile(copy, "PATH=[]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n");
    const ProgramRun empty = runProgram(kEcor, {"--root", copy.root().string(), kEngine});
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("iCor.cfg gives no installation folder"), std::string::npos)
        << empty.err;
    // A PATH= without its brackets takes the next bracketed value of the file, as the
    // device reads it: here the port's, which names no folder.
    writeConfigFile(copy, "PATH=\r\nPORT=[SIM]\r\n");
    const ProgramRun noBrackets = runProgram(kEcor, {"--root", copy.root().string(), kEngine});
    EXPECT_EQ(noBrackets.status, 2);
    EXPECT_NE(noBrackets.err.find("iCor.cfg names an installation folder that does not exist: "
                                  "PATH=[SIM]"),
              std::string::npos)
        << noBrackets.err;
    writeConfigFile(copy, "PATH=[STORAGE CARD\\NOWHERE]\r\nPORT=[SIM]\r\n");
    const ProgramRun garbled = runProgram(kEcor, {"--root", copy.root().string(), kEngine});
    EXPECT_EQ(garbled.status, 2);
    EXPECT_NE(garbled.err.find("PATH=[STORAGE CARD\\NOWHERE]"), std::string::npos) << garbled.err;

    copy.writeConfig("SIM");
    std::string record = copy.record("EDC16_KWP.TXT");
    record.insert(record.find("#MENU"), std::string(1, '\0'));
    copy.writeRecord("NUL.TXT", record);
    const ProgramRun cut = runProgram(
        kEcor, {"--root", copy.root().string(), "--report", "/NUL.TXT /VOLKSWAGEN GOLF V /EXE"});
    EXPECT_EQ(cut.status, 0) << cut.err;
    EXPECT_NE(cut.err.find("holds a NUL byte at offset"), std::string::npos) << cut.err;
    EXPECT_EQ(cut.out.find("[IDN]"), std::string::npos);  // the menu was cut off
}

}  // namespace
}  // namespace corvan::e2e
