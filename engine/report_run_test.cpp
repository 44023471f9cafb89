#include "engine/report_run.h"

#include <gtest/gtest.h>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/engine_test_support.h"
#include "runtime/result_text.h"

namespace corvan::engine {
namespace {

TEST(ReportRun, TheAdditionalIdBlockByteForByte) {
    EXPECT_EQ(additionalIdBlock("7A"), "#ADITIONAL_ID\r\n\tID=\t[7A]\n\r#END");
    EXPECT_EQ(additionalIdBlock(""), "#ADITIONAL_ID\r\n\tID=\t[]\n\r#END");
}

TEST(ReportRun, MenuItemsAreTheFirstThirtyBetweenMenuAndEnd) {
    std::string text = "#CONFIGURATION\n\tDLL=\t[X.DLL]\n<MNU not an item\n#MENU\n";
    for (int i = 0; i < 31; ++i) text += "<MNU\n\tID=\t[M" + std::to_string(i) + "]\n>\n";
    text += "#END\n<MNU after the end\n";
    const auto items = menuItemPositions(text);
    ASSERT_EQ(items.size(), 30u);
    EXPECT_EQ(items.front(), int(text.find("<MNU\n\tID=\t[M0]")));
    EXPECT_EQ(items.back(), int(text.find("<MNU\n\tID=\t[M29]")));
    EXPECT_TRUE(menuItemPositions("<MNU\n#END\n").empty());
}

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
    testing::TestInstallation inst;
};

TEST_F(ReportPass, RunsTheReportItemsAndClosesTheEcu) {
    const std::string text =
        "#CONFIGURATION\n\tDLL=\t[CONFIG.DLL]\n\tMSG=\t[config]\n\tEND=\t[82]\n"
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
    EXPECT_EQ(out.report,
              "ECHO|REPORT|VW GOLF|1|0|config|"
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

TEST_F(ReportPass, BadRecordsStopThePassWithAReason) {
    auto h = host();
    ASSERT_TRUE(h);
    const ReportOutcome noConfig =
        runReport(*h, "#MENU\n<MNU\n\tREPORT=\t[IDN]\n>\n#END\n", "X", 1);
    EXPECT_FALSE(noConfig.ok);
    EXPECT_NE(noConfig.error.find("#CONFIGURATION"), std::string::npos);
    // The function menu's own result is kept even when the pass stops after it.
    EXPECT_EQ(noConfig.report.rfind("ECHO|REPORT|X|", 0), 0u);

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
