#include "engine/report_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/engine_test_support.h"
#include "runtime/hex_text.h"
#include "runtime/result_text.h"

namespace corvan::engine {
namespace {

// The pass over an ECU with a stand-in plug-in that echoes its call, so that what each
// call received can be checked: function menu, configuration, the report items only.
class ReportPass : public ::testing::Test {
  protected:
    ReportPass() {
        inst.addPlugin(CORVAN_ECHO_PLUGIN, "funcmenu.so");
        inst.addPlugin(CORVAN_ECHO_PLUGIN, "config.so");
        inst.addPlugin(CORVAN_ECHO_PLUGIN, "echo.so");
    }
    std::unique_ptr<EngineHost> host() {
        HostSetup s;
        s.root = inst.root();
        s.installPath = std::string(testing::kInstall);
        s.port.scenarioFile = inst.scenario();
        s.traceFile = inst.root() / "wire.trace";
        std::string error;
        auto h = EngineHost::create(std::move(s), &error);
        EXPECT_TRUE(h) << error;
        return h;
    }
    struct RecordedCall {
        std::string mode;
        int start;
        std::string text;
        bool operator==(const RecordedCall&) const = default;
    };
    // The calls the recorder plug-in logged: "file|mode|start|language|name|text in hex".
    std::vector<RecordedCall> recordedCalls() const {
        std::vector<RecordedCall> calls;
        std::istringstream log(readWholeFile(inst.install() / "calls.log").value_or(""));
        for (std::string line; std::getline(log, line);) {
            std::vector<std::string> f;
            std::istringstream fields(line);
            for (std::string x; std::getline(fields, x, '|');) f.push_back(x);
            if (f.size() < 6) continue;
            const std::vector<uint8_t> bytes = hexToBytes(f[5]);
            calls.push_back({f[1], std::stoi(f[2]), std::string(bytes.begin(), bytes.end())});
        }
        return calls;
    }
    testing::TestInstallation inst;
};

TEST_F(ReportPass, RunsTheReportItemsAndClosesTheEcu) {
    const std::string text =
        "#CONFIGURATION\n\tDLL=\t[CONFIG.DLL]\n\tMSG=\t[config]\n\tEND=\t[82]\n"
        "#EXTENDED_INFORMATION\n\tFILE=\t[EDC.TXT]\n\tCODE=\t[VB-1]\n"
        "#MENU\n"
        "<MNU\n\tREPORT=\t[IDN]\n\tDLL=\t[ECHO.DLL]\n\tMSG=\t[first]\n>\n"
        "<MNU\n\tDLL=\t[ECHO.DLL]\n\tMSG=\t[no report key]\n>\n"
        "<MNU\n\tREPORT=\t[DTC]\n\tDLL=\t[ECHO.DLL]\n\tMSG=\t[third]\n>\n"
        "#END\n";
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome out = runReport(*h, text, "VW GOLF", 1);
    ASSERT_TRUE(out.ok) << out.error;
    const int first = int(text.find("<MNU")), third = int(text.rfind("<MNU"));
    // The system information heads the report, with the virtual clock's date; the items
    // follow in menu order; the configuration's own answer is no part of it.
    EXPECT_EQ(out.report,
              "[SYS]=SYSTEM INFORMATION@i000|NAME|VW GOLF|@i001|FILE|EDC.TXT|@i002|DAT||"
              "@i003|VER||@i004|DATE|3-2-2007|@i005|TIME|9:5:7|@i006|CODE|VB-1|"
              "ECHO|REPORT|VW GOLF|1|" +
                  std::to_string(first) +
                  "|first|"
                  "ECHO|REPORT|VW GOLF|1|" +
                  std::to_string(third) + "|third|");
    EXPECT_TRUE(out.notes.empty());
    h->finish();
    // The closing request 82 to the ECU, then the box reset, end the wire.
    const std::string trace = *readWholeFile(inst.root() / "wire.trace");
    const size_t end = trace.find(" TX 80 02 20 00 82 20\n");
    ASSERT_NE(end, std::string::npos) << trace;
    EXPECT_NE(trace.find(" TX 80 00 88 08\n", end), std::string::npos) << trace;
}

// The pass connects once, runs "#AUTORUN" on the extended text as the function menu does,
// and the items get the configuration's answer in the "#ADITIONAL_ID" block.
TEST_F(ReportPass, ConnectsOnceAndRunsTheAutomaticPlugIn) {
    inst.addPlugin(CORVAN_RECORDER_PLUGIN, "recorder.so");
    const std::string text =
        "#CONFIGURATION\n\tDLL=\t[RECORDER.DLL]\n\tRESULT=\t[C1EF8F]\n"
        "#AUTORUN\n\tDLL=\t[RECORDER.DLL]\n"
        "#MENU\n<MNU\n\tREPORT=\t[IDN]\n\tDLL=\t[RECORDER.DLL]\n\tRESULT=\t[IDN]\n>\n"
        "#END\n";
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome out = runReport(*h, text, "X", 1);
    ASSERT_TRUE(out.ok) << out.error;
    const auto calls = recordedCalls();
    ASSERT_EQ(calls.size(), 3u);
    const std::string extended = text + "#ADITIONAL_ID\r\n\tID=\t[C1EF8F]\n\r#END";
    EXPECT_EQ(calls[0], (RecordedCall{"REPORT", 0, text}));
    EXPECT_EQ(calls[1], (RecordedCall{"REPORT", int(extended.find("#AUTORUN")), extended}));
    EXPECT_EQ(calls[2], (RecordedCall{"REPORT", int(extended.find("<MNU")), extended}));
}

// A demonstration report: the system information alone, no plug-in and nothing on the wire.
TEST_F(ReportPass, DemonstrationSendsNothingAndRunsNoPlugIn) {
    inst.addPlugin(CORVAN_RECORDER_PLUGIN, "recorder.so");
    const std::string text =
        "#CONFIGURATION\n\tDLL=\t[RECORDER.DLL]\n\tEND=\t[82]\n"
        "#MENU\n<MNU\n\tREPORT=\t[IDN]\n\tDLL=\t[RECORDER.DLL]\n>\n#END\n";
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome out = runReport(*h, text, "X", 1, true);
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.report.rfind("[SYS]=SYSTEM INFORMATION@i000|NAME|X|", 0), 0u) << out.report;
    EXPECT_TRUE(recordedCalls().empty());
    h->finish();
    EXPECT_EQ(readWholeFile(inst.root() / "wire.trace").value_or("?"), "");
}

TEST_F(ReportPass, BadRecordsStopThePassWithAReason) {
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome noConfig =
        runReport(*h, "#MENU\n<MNU\n\tREPORT=\t[IDN]\n>\n#END\n", "X", 1);
    EXPECT_FALSE(noConfig.ok);
    EXPECT_NE(noConfig.error.find("#CONFIGURATION"), std::string::npos);
    // The system information is kept even when the pass stops after it.
    EXPECT_EQ(noConfig.report.rfind("[SYS]=SYSTEM INFORMATION", 0), 0u);

    const ReportOutcome noPlugin =
        runReport(*h, "#CONFIGURATION\n\tDLL=\t[NONE.DLL]\n#MENU\n#END\n", "X", 1);
    EXPECT_FALSE(noPlugin.ok);
    EXPECT_NE(noPlugin.error.find("NONE.DLL"), std::string::npos);
}

TEST_F(ReportPass, AnItemWhosePlugInIsMissingIsNotedAndThePassGoesOn) {
    const std::string text =
        "#CONFIGURATION\n\tDLL=\t[CONFIG.DLL]\n"
        "#MENU\n<MNU\n\tREPORT=\t[DTC]\n\tDLL=\t[FAULTS.DLL]\n>\n"
        "<MNU\n\tREPORT=\t[IDN]\n\tDLL=\t[ECHO.DLL]\n\tMSG=\t[ok]\n>\n#END\n";
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome out = runReport(*h, text, "X", 1);
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_NE(out.notes.find("FAULTS.DLL"), std::string::npos);
    EXPECT_NE(out.report.find("|ok|"), std::string::npos);
}

}  // namespace
}  // namespace corvan::engine
