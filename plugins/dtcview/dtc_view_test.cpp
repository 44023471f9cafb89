// The trouble-code display against the simulated engine unit: the stored codes through the
// reader library in the list, the demonstration, the report, and the menu's erase entry
// running the trouble-code module in the mode "DEL".
#include "plugins/dtcview/dtc_view.h"

#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "plugins/faultcodes/code_list.h"
#include "sim/kwp2000_model.h"

namespace corvan::dtcview {
namespace {

using testing::withCheck;

const std::string kScenario = R"({"box": {"program": "running"},
  "ecus": [{"name": "engine", "model": "kwp2000", "config": {
    "codes": [{"code": "0100", "status": "E0"}, {"code": "C123", "status": "A1"}],
    "selfTest": {"finds": {"82": ["0300"]}},
    "default": {"reply": "7F $0 11"}}}]})";

const std::string kRead =
    "<MNU\r\n\tTEXT=\t[\"Trouble codes\"]\r\n\tDLL=\t[DTCVIEW.DLL]\r\n\tFILE=\t[ENGINE.DTC]\r\n"
    "\tACTUAL=\t[1802FF00]\r\n\tPOK=\t[0]\r\n\tVALOK=\t[58]\r\n\tTYPE=\t[KWP2000]\r\n"
    "\tTYPEDTC=\t[OBDII]\r\n\tPACTFUG=\t[2]\r\n\tVACTFUG=\t[A&566]\r\n>\r\n";
const std::string kErase =
    "<MNU\r\n\tTEXT=\t[\"Erase trouble codes\"]\r\n\tDLL=\t[DTCVIEW.DLL]\r\n"
    "\tERASEDLL=\t[FAULTCODES.DLL]\r\n\tERASE=\t[C410FA14FF00]\r\n\tFILE=\t[ENGINE.DTC]\r\n>\r\n";

class DtcViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* p :
             {CORVAN_DTCBASE_PLUGIN, CORVAN_KWPFAULTS_PLUGIN, CORVAN_FAULTCODES_PLUGIN})
            rig.installPlugin(p);
        rig.writeDtcFile("ENGINE.DTC", "[P0100][\"Mass air flow\"][\"Sensor\"][]\r\n");
        rig.boot(kScenario);
    }
    std::string run(const std::string& text, const std::string& mode, const std::string& script) {
        EXPECT_EQ(rig.screen.loadScript(script), "");
        ModuleContext ctx = rig.context(mode);
        return runDtcView(ctx, PluginCall{text, 0, mode, "EDC16"});
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> r;
        for (const auto& row : rig.snapshot("DTCLIST").control(faultcodes::kListId)->rows)
            r.push_back(row.cells.at(0) + "|" + row.cells.at(1));
        return r;
    }
    bool erased() const {
        const Bytes& wire = rig.port->written();
        const Bytes erase = withCheck("80 07 20 00 C4 10 FA 14 FF 00");
        return std::search(wire.begin(), wire.end(), erase.begin(), erase.end()) != wire.end();
    }
    using Bytes = testing::Bytes;
    testing::DtcRig rig;
};

TEST_F(DtcViewTest, StoredCodesWithTheirStatusInTheList) {
    EXPECT_EQ(
        run(kRead, "EXE", "when text #1003 \"2\" tap \"N0123\"\nafter 2 pumps press \"Exit\"\n"),
        "");
    EXPECT_EQ(rig.sent(), (std::vector<Bytes>{withCheck("80 05 20 00 18 02 FF 00")}));
    EXPECT_EQ(rig.snapshot("DTCLIST").title, "TROUBLE CODES: EDC16");
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"P0100|Mass air flow", "N0123|NO DESCRIPTION AVAILABLE"}));
    // Status A1 lacks bit 6: intermittent; the detail is the reply as it came.
    const std::string panel = rig.snapshot("DTCLIST").control(faultcodes::kDetailId)->text;
    EXPECT_TRUE(
        panel.starts_with("N0123 (INTERMITTENT): 5802010"
                          "0E0C123A1"))
        << panel;
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST_F(DtcViewTest, DemonstrationAndReport) {
    EXPECT_EQ(run(kRead, "DEMO", "when text #1003 \"0\" press \"Exit\"\n"), "");
    EXPECT_TRUE(rig.port->written().empty());
    EXPECT_EQ(rows(), (std::vector<std::string>{"|NO TROUBLE CODES FOUND"}));

    EXPECT_EQ(run(kRead, "REPORT", ""),
              "[DTC]@P0100|Mass air flow|@N0123|NO DESCRIPTION AVAILABLE|");
    EXPECT_FALSE(rig.snapshot("DTCLIST").everShown);
}

TEST_F(DtcViewTest, MissingReaderAndDefinitions) {
    std::filesystem::remove(rig.install() / "DLL" / "kwpfaults.so");
    std::filesystem::remove(rig.install() / "dtc" / "ENGINE.DTC");
    run(kRead, "EXE", "when text #1003 \"0\" press \"Exit\"\n");
    const auto boxes = rig.boxTexts();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].starts_with("There is no trouble code definition."));
    EXPECT_EQ(boxes[1], "Load error, driver STORAGE CARD\\CORVANDATA\\DLL\\KWPFAULTS.DLL");
    EXPECT_TRUE(rig.port->written().empty());
}

TEST_F(DtcViewTest, EraseEntryRunsTheModuleInDelModeOnlyWhenConfirmed) {
    // Declined: nothing goes to the unit.
    EXPECT_EQ(run(kErase, "EXE", "answer \"will be erased\" No\n"), "");
    EXPECT_TRUE(rig.port->written().empty());

    EXPECT_EQ(run(kErase, "EXE",
                  "answer \"will be erased\" Yes\nanswer \"WARNING\" Yes\n"
                  "answer \"Is engine running?\" Yes\nanswer \"erased\" Ok\n"),
              "[DEL]@OK");
    EXPECT_TRUE(erased());
    EXPECT_EQ(rig.boxTexts().back(), "Trouble codes erased");
    EXPECT_TRUE(dynamic_cast<sim::Kwp2000Model&>(*rig.box->ecu(0)).storedCodes().empty());
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();

    // The unit refuses: the technician is told.
    rig.boot(R"({"box": {"program": "running"}, "ecus": [{"model": "kwp2000",
                 "config": {"erase": {"refuse": true}}}]})");
    EXPECT_EQ(run(kErase, "EXE",
                  "answer \"will be erased\" Yes\nanswer \"WARNING\" Yes\nanswer \"running\" No\n"),
              "[DEL]@KO");
    EXPECT_EQ(rig.boxTexts().back(), "The unit did not erase the trouble codes");
}

TEST_F(DtcViewTest, EraseEntryRefusesTheDemonstrationAndReports) {
    EXPECT_EQ(run(kErase, "DEMO", "answer \"\" Yes\nanswer \"\" Yes\nanswer \"\" Yes\n"), "");
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"Can´t erase trouble codes in DEMO mode"}));
    EXPECT_EQ(run(kErase, "REPORT", "answer \"\" Yes\n"), "");
    EXPECT_TRUE(rig.port->written().empty());
}

}  // namespace
}  // namespace corvan::dtcview
