// The engine programs on the built sample installation, started as processes the way the
// shell and a support technician start them: the report, a scripted session, the three
// command-line forms, and what bad installations and data records give.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "runtime/result_text.h"

namespace corvan::e2e {
namespace {

const std::string kEcor = ECOR_PATH;
const std::string kEcorRun = ECOR_RUN_PATH;
const std::string kScript = CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt";
const std::string kEngine = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /EXE";
const std::string kSampleRecord =
    std::string(CORVAN_SAMPLE_ROOT) + "/STORAGE CARD/CORVANDATA/FICHAS/EDC16_KWP.TXT";

using Records = std::vector<ResultRecord>;

std::vector<std::string> sentFrames(const std::string& trace) {
    std::vector<std::string> sent;
    for (const std::string& line : linesOf(trace)) {
        const size_t tx = line.find(" TX ");
        if (tx != std::string::npos) sent.push_back(line.substr(tx + 4));
    }
    return sent;
}

// The identification of the sample engine unit as the simulated ECU answers it.
const Records kEngineIdentification = {
    {"I000", "Key bytes", "EF8F"},        {"I001", "ECU part number", "90C906021AB"},
    {"I002", "Software version", "0010"}, {"I003", "Hardware version", "0107"},
    {"I004", "Software date", "070315"},  {"I005", "Calibration ID", "1234ABCD"},
    {"I006", "Serial number", "123456"},  {"I007", "Engine code", "CVD16A"},
    {"I008", "VIN", "CVN1SIM0000000042"}, {"I009", "Coding", "300"},
};

TEST(EcorRun, IdentificationReportOnTheSampleData) {
    const ProgramRun run = runProgram(kEcorRun, {"IDENTIFY.DLL", "--mode", "REPORT", "--start-at",
                                                 "<MNU", "--text", kSampleRecord});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out.rfind("[IDN]@I000|", 0), 0u) << run.out;
    Records expected = kEngineIdentification;
    // Called alone, without the function menu, there is no "#ADITIONAL_ID" block.
    expected[0].value = "???";
    EXPECT_EQ(parseResultRecords(run.out), expected);
}

TEST(EcorRun, WhatItCannotRunIsSaid) {
    const ProgramRun missing = runProgram(kEcorRun, {"FAULTS.DLL", "--mode", "REPORT"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("FAULTS.DLL"), std::string::npos) << missing.err;
    const ProgramRun noStart =
        runProgram(kEcorRun, {"IDENTIFY.DLL", "--text", kSampleRecord, "--start-at", "<NOWHERE"});
    EXPECT_EQ(noStart.status, 1);
    const ProgramRun noText = runProgram(kEcorRun, {"IDENTIFY.DLL", "--text", "/nowhere/x.txt"});
    EXPECT_EQ(noText.status, 2);
}

TEST(Engine, ReportOfTheSampleEngineUnit) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace";
    const ProgramRun run = runProgram(kEcor, {"--report", "--trace", trace.string(), kEngine});
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t idn = run.out.find("[IDN]");
    ASSERT_NE(idn, std::string::npos) << run.out;
    ASSERT_EQ(run.out.rfind("[SYS]=SYSTEM INFORMATION@", 0), 0u) << run.out;
    const Records system = parseResultRecords(run.out.substr(0, idn));
    ASSERT_EQ(system.size(), 7u);
    EXPECT_EQ(system[0], (ResultRecord{"i000", "NAME", "VOLKSWAGEN GOLF V ENGINE 1.9 TDI"}));
    EXPECT_EQ(system[1], (ResultRecord{"i001", "FILE", "EDC16_KWP.TXT"}));
    EXPECT_EQ(system[4], (ResultRecord{"i004", "DATE", "3-2-2007"}));  // the virtual clock's day
    EXPECT_EQ(parseResultRecords(run.out.substr(idn)), kEngineIdentification);
    // The pass ends with the ECU's closing request (END=[82]) and the box reset.
    const auto sent = sentFrames(readWholeFile(trace).value_or(""));
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "80 02 20 00 82 20");
    EXPECT_EQ(sent.back(), "80 00 88 08");
}

TEST(Engine, ScriptedSessionThroughTheIdentification) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace", screens = out.path() / "screens.txt";
    const ProgramRun run =
        runProgram(kEcor, {"--headless", "--technician", kScript, "--trace", trace.string(),
                           "--screens", screens.string(), kEngine});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;  // the script ran as written
    const std::string dump = readWholeFile(screens).value_or("");
    const auto rows = dialogRows(dump, "IDENTIFY");
    ASSERT_EQ(rows.size(), 10u) << dump;
    EXPECT_EQ(rows[1], "\"ECU part number\" | \"90C906021AB\"");
    EXPECT_TRUE(messageBoxTexts(dump).empty());
    const auto sent = sentFrames(readWholeFile(trace).value_or(""));
    // The request of the typical example, then the closing request and the reset.
    EXPECT_NE(std::find(sent.begin(), sent.end(), "80 03 20 00 1A 80 39"), sent.end());
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[sent.size() - 2], "80 02 20 00 82 20");
    EXPECT_EQ(sent.back(), "80 00 88 08");
}

TEST(Engine, LoadDriverDownloadsTheDriverTheBoxAlreadyRuns) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace";
    const std::string line = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /EXE /LOADDRIVER";
    const ProgramRun run =
        runProgram(kEcor, {"--headless", "--technician", kScript, "--trace", trace.string(), line});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto sent = sentFrames(readWholeFile(trace).value_or(""));
    // The sample KWP2000.DRV has 5000 bytes: 20 blocks of 256, the first one right away.
    const auto blocks = std::count_if(sent.begin(), sent.end(), [](const std::string& f) {
        return f.rfind("01 00 1A ", 0) == 0;
    });
    EXPECT_EQ(blocks, 20);
    // No box check: the memory set-up comes first, then the blocks.
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "00 04 15 82 00 00 00 93");
    EXPECT_EQ(sent[1].rfind("01 00 1A ", 0), 0u);
}

TEST(Engine, DemonstrationSendsNothing) {
    corvan::testing::TempDir out;
    const auto trace = out.path() / "wire.trace", screens = out.path() / "screens.txt";
    const std::string line = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI /DEMO=1";
    const ProgramRun run = runProgram(kEcor, {"--technician", kScript, "--trace", trace.string(),
                                              "--screens", screens.string(), line});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readWholeFile(trace).value_or("?"), "");
    const auto rows = dialogRows(readWholeFile(screens).value_or(""), "IDENTIFY");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0], "\"Key bytes\" | \"SIMULATION MODE\"");
}

TEST(EngineBadInput, CommandLinesAndInstallations) {
    EXPECT_EQ(runProgram(kEcor, {}).status, 1);
    EXPECT_EQ(runProgram(kEcor, {"EDC16_KWP.TXT /A B C D /EXE"}).status, 1);

    const ProgramRun noRecord = runProgram(kEcor, {"--headless", "/NONE.TXT /A B C D /EXE"});
    EXPECT_EQ(noRecord.status, 2);
    EXPECT_NE(noRecord.err.find("NONE.TXT"), std::string::npos) << noRecord.err;

    const ProgramRun emptyRecord = runProgram(kEcor, {"--headless", "/ /A B C D /EXE"});
    EXPECT_EQ(emptyRecord.status, 2);
    EXPECT_NE(emptyRecord.err.find("no data record"), std::string::npos) << emptyRecord.err;

    corvan::testing::TempDir empty;
    const ProgramRun noConfig = runProgram(kEcor, {"--root", empty.path().string(), kEngine});
    EXPECT_EQ(noConfig.status, 2);
    EXPECT_NE(noConfig.err.find("iCor.cfg"), std::string::npos) << noConfig.err;

    SampleCopy copy;
    copy.writeConfig("/dev/nowhere-tty");
    const ProgramRun noPort =
        runProgram(kEcor, {"--root", copy.root().string(), "--headless", kEngine});
    EXPECT_EQ(noPort.status, 3);
    EXPECT_NE(noPort.err.find("/dev/nowhere-tty"), std::string::npos) << noPort.err;

    std::filesystem::remove(copy.install() / "DLL" / "funcmenu.so");
    copy.writeConfig("SIM");
    const ProgramRun noMenu =
        runProgram(kEcor, {"--root", copy.root().string(), "--headless", kEngine});
    EXPECT_EQ(noMenu.status, 2);
    EXPECT_NE(noMenu.err.find("FUNCMENU.DLL"), std::string::npos) << noMenu.err;
}

// A session on a changed copy of the sample engine record; the screen dump it left.
class BadRecord : public ::testing::Test {
  protected:
    ProgramRun session(const std::string& record, const std::string& script = kScript) {
        copy.writeRecord("BAD.TXT", record);
        return runProgram(kEcor, {"--root", copy.root().string(), "--technician", script,
                                  "--screens", (copy.root() / "screens.txt").string(),
                                  "/BAD.TXT /VOLKSWAGEN GOLF V ENGINE /EXE"});
    }
    std::string dump() const { return readWholeFile(copy.root() / "screens.txt").value_or(""); }
    std::string replaced(std::string from, std::string to) const {
        std::string text = copy.record("EDC16_KWP.TXT");
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    }
    SampleCopy copy;
};

TEST_F(BadRecord, WithoutConfigurationSectionTheMenuSaysItCannotLoadThePlugIn) {
    std::string record = copy.record("EDC16_KWP.TXT");
    const size_t from = record.find("#CONFIGURATION"), to = record.find("#EXTENDED_INFORMATION");
    ASSERT_LT(from, to);
    record.erase(from, to - from);
    const ProgramRun run = session(record);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto boxes = messageBoxTexts(dump());
    ASSERT_FALSE(boxes.empty()) << dump();
    // No configuration plug-in is named: the load of the bare folder path fails.
    EXPECT_EQ(boxes[0], "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\");
    // The menu still came, and the identification ran without the ECU's answer.
    const auto rows = dialogRows(dump(), "IDENTIFY");
    ASSERT_EQ(rows.size(), 10u) << dump();
    EXPECT_EQ(rows[0], "\"Key bytes\" | \"???\"");
}

TEST_F(BadRecord, AMissingPlugInIsALoadErrorAndTheMenuGoesOn) {
    const ProgramRun run = session(replaced("[IDENTIFY.DLL]", "[IDENTIFX.DLL]"));
    EXPECT_EQ(run.status, 0) << run.err;
    const auto boxes = messageBoxTexts(dump());
    ASSERT_EQ(boxes.size(), 1u) << dump();
    EXPECT_EQ(boxes[0], "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\IDENTIFX.DLL");
}

TEST_F(BadRecord, AMissingDriverFileEndsTheStartUp) {
    // The box runs KWP2000; the record wants a driver that is not installed.
    const ProgramRun run = session(replaced("[KWP2000.DRV]", "[NONE.DRV]"));
    EXPECT_EQ(run.status, 4) << run.err;
    EXPECT_EQ(run.out, "ERROR\n");
    const auto boxes = messageBoxTexts(dump());
    ASSERT_FALSE(boxes.empty()) << dump();
    EXPECT_EQ(boxes[0], "ERROR: can´t open STORAGE CARD\\CORVANDATA\\drv\\NONE.DRV DRIVER");
}

TEST_F(BadRecord, MalformedIdentificationFieldsShowQuestionMarks) {
    std::string record =
        replaced("@I001\t[\"ECU part number\"]\t[1A80]\t[2]\t[11]\t[ASCII]",
                 "@I001\t[\"ECU part number\"]\t[1A80]\t[x]\t[99999999999]\t[ASCII]");
    const size_t coding = record.find("@I009");
    ASSERT_NE(coding, std::string::npos);
    record.replace(coding, record.find("ENDDATA") - coding, "@I009\t[\"Coding\"]\t[1A9B\t[2]\n");
    copy.writeRecord("BAD.TXT", record);
    const ProgramRun run =
        runProgram(kEcor, {"--root", copy.root().string(), "--report", "/BAD.TXT /X /EXE"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Records records = parseResultRecords(run.out.substr(run.out.find("[IDN]")));
    ASSERT_EQ(records.size(), 10u) << run.out;
    EXPECT_EQ(records[1].value, "???");
    EXPECT_EQ(records[2].value, "0010");  // the records around it are untouched
    EXPECT_EQ(records[9].value, "???");
}

}  // namespace
}  // namespace corvan::e2e
