// The trouble-code module against the simulated engine unit on the virtual clock, with a
// technician at the headless screen: the bytes on the wire, the progress window and the
// code list, the result text, and what missing or damaged data give.
#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "plugins/faultcodes/code_list.h"
#include "plugins/faultcodes/self_test.h"
#include "runtime/testing/memory_journal.h"
#include "sim/kwp2000_model.h"

namespace corvan::faultcodes {
namespace {

using testing::Bytes;
using testing::withCheck;

// The engine unit: the self-test with the engine running finds P0100 and P0300 (only P0100
// is in the definitions); with the engine stopped it finds N0123.
std::string scenario(const std::string& extra = "") {
    return R"({"box": {"program": "running", "driverName": "KWP2000"},
               "ecus": [{"name": "engine", "model": "kwp2000", "config": {
                 "codes": [{"code": "0420", "status": "A1"}],
                 "selfTest": {"finds": {"82": ["0100", "0300"], "81": ["C123"]})" +
           extra + R"(},
                 "default": {"reply": "7F $0 11"}}}]})";
}

constexpr std::string_view kDefinitions =
    "[P0100][\"Mass air flow circuit\"][\"Check the sensor\"][1]\r\n"
    "[N0123][\"Network\"][\"Wire @FRAME=xx\"][]\r\n";

const std::string kItem =
    "<MNU\r\n\tTEXT=\t[\"Self-test\"]\r\n\tDLL=\t[FAULTCODES.DLL]\r\n"
    "\tERASE=\t[C410FA14FF00]\r\n\tFILE=\t[ENGINE.DTC]\r\n>\r\n";

class FaultCodesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.installPlugin(CORVAN_DTCBASE_PLUGIN);
        rig.writeDtcFile("ENGINE.DTC", kDefinitions);
        rig.boot(scenario());
    }
    std::string run(const std::string& mode, const std::string& script, int language = 1,
                    const std::string& text = kItem) {
        EXPECT_EQ(rig.screen.loadScript(script), "");
        ModuleContext ctx = rig.context(mode, language);
        return runFaultCodes(ctx, PluginCall{text, 0, mode, "EDC16"});
    }
    size_t count(const Bytes& frame) const {
        return static_cast<size_t>(std::count(rig.sent().begin(), rig.sent().end(), frame));
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> r;
        for (const auto& row : rig.snapshot("DTCLIST").control(kListId)->rows)
            r.push_back(row.cells.at(0) + "|" + row.cells.at(1));
        return r;
    }
    std::string panel() const { return rig.snapshot("DTCLIST").control(kDetailId)->text; }
    sim::Kwp2000Model& unit() const { return dynamic_cast<sim::Kwp2000Model&>(*rig.box->ecu(0)); }

    testing::DtcRig rig;
};

const std::string kYesYes = "answer \"WARNING\" Yes\nanswer \"Is engine running?\" Yes\n";

TEST_F(FaultCodesTest, SelfTestOnTheWireAndItsCodesInTheList) {
    const std::string result =
        run("EXE", kYesYes +
                       "when rows #1000 = 2 tap \"P0300\"\n"
                       "after 2 pumps when title \"AUTOTEST\" tap \"P0100\"\n"
                       "after 2 pumps press \"Erase DTC\"\n"
                       "answer \"Trouble menu\" Ok\n"
                       "after 2 pumps press \"Exit\"\n");
    EXPECT_EQ(result, "");
    // Five pre-reads, two starts, 60 watches, the results with byte 3 = FF, nothing else.
    EXPECT_EQ(count(withCheck("80 07 20 00 C4 10 FA 22 02 00")), 5u);
    EXPECT_EQ(count(withCheck("80 07 20 00 C4 10 FA 31 82 00")), 2u);
    EXPECT_EQ(count(withCheck("80 07 20 00 C4 10 FA 32 82 00")), 60u);
    ASSERT_EQ(rig.sent().size(), 68u);
    EXPECT_EQ(rig.sent().back(), withCheck("80 07 20 FF C4 10 FA 33 82 00"));
    // About half a minute of test: 60 watches 500 ms apart after 4.5 s of start-up.
    EXPECT_GE(rig.clock.nowMs(), 34500);

    const ui::DialogSnapshot& list = rig.snapshot("DTCLIST");
    EXPECT_EQ(list.title, "AUTOTEST: EDC16");
    const ui::ControlState* l = list.control(kListId);
    EXPECT_EQ(l->columns[0].heading, "CODE");
    EXPECT_EQ(l->columns[0].width, 50);
    EXPECT_EQ(l->columns[1].heading, "DESCRIPTION");
    EXPECT_EQ(l->columns[1].width, 256);
    EXPECT_EQ(rows(), (std::vector<std::string>{"P0100|Mass air flow circuit",
                                                "P0300|NO DESCRIPTION AVAILABLE"}));
    EXPECT_EQ(list.control(kCountId)->text, "2");
    EXPECT_EQ(list.control(kCountLabelId)->text, "Trouble codes found:");
    // A known code shows the detail-missing text.
    EXPECT_EQ(panel(), "P0100 (AUTOTEST): FRAME NOT AVAILABLE");
    // The erase button only says where erasing is done.
    EXPECT_EQ(rig.boxTexts().back(), "Clear DTC from Trouble menu");
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
    // The progress window ran to its end.
    const ui::ControlState* bar = rig.snapshot("SELFTEST").control(kProgressId);
    EXPECT_EQ(bar->value, 5605 / 60 + 5);  // the last round's counter
    EXPECT_EQ(bar->high, 100);
    EXPECT_EQ(rig.snapshot("SELFTEST").title, "Test in course");
}

TEST_F(FaultCodesTest, UnidentifiedCodeShowsTheReplyAsItsDetail) {
    run("EXE", kYesYes + "when rows #1000 = 2 tap \"P0300\"\nafter 2 pumps press \"Exit\"\n");
    // The ECU's whole answer: header, 73, the pairs and its check byte.
    EXPECT_EQ(panel(), "P0300 (AUTOTEST): 85FA10730100030006");
}

TEST_F(FaultCodesTest, StopAfter950EndsTheWatchAndReadsTheResults) {
    run("EXE",
        "answer \"WARNING\" Yes\nanswer \"running\" No\npress \"Stop\"\n"
        "when text #1003 \"1\" press \"Exit\"\n");
    // Enabled once the counter passed 950 (round 12, k = 1045), pressed at the next round.
    EXPECT_EQ(count(withCheck("80 07 20 00 C4 10 FA 32 81 00")), 13u);
    EXPECT_EQ(rig.sent().back(), withCheck("80 07 20 FF C4 10 FA 33 81 00"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"N0123|Network"}));
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST_F(FaultCodesTest, RefusedResultsEndTheRunWithTheTestFailedMessage) {
    rig.boot(scenario(R"(, "resultsAfterMs": 60000)"));
    EXPECT_EQ(run("EXE", kYesYes), "");
    EXPECT_EQ(rig.boxTexts().back(), "WARNING: test could not be completed");
    EXPECT_EQ(rig.screen.lastSnapshot("DTCLIST"), nullptr);
}

TEST_F(FaultCodesTest, DemonstrationAsksBothQuestionsAndSendsNothing) {
    std::filesystem::remove(rig.install() / "dtc" / "ENGINE.DTC");
    EXPECT_EQ(run("DEMO",
                  "answer \"ATENCION\" Yes\nanswer \"motor en marcha\" Yes\n"
                  "when text #1003 \"0\" press \"Salir\"\n",
                  kSpanish),
              "");
    EXPECT_TRUE(rig.port->written().empty());
    const auto boxes = rig.boxTexts();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[0].starts_with("ATENCION: durante el auto-chequeo"));
    EXPECT_TRUE(boxes[1].starts_with("No existe definición para averías."));
    EXPECT_EQ(boxes[2], "¿La prueba se hará con motor en marcha?");
    EXPECT_EQ(rows(), (std::vector<std::string>{"|NO HAY AVERÍAS MEMORIZADAS"}));
    EXPECT_EQ(rig.snapshot("DTCLIST").title, "AUTOCOMPROBACION: EDC16");
}

TEST_F(FaultCodesTest, EraseModeRunsTheTestThenSendsTheEraseRequest) {
    EXPECT_EQ(run("DEL", kYesYes), "[DEL]@OK");
    EXPECT_EQ(rig.sent().back(), withCheck("80 07 20 00 C4 10 FA 14 FF 00"));
    EXPECT_EQ(count(withCheck("80 07 20 FF C4 10 FA 33 82 00")), 1u);
    EXPECT_TRUE(unit().storedCodes().empty());
    EXPECT_FALSE(rig.snapshot("DTCLIST").everShown);

    rig.boot(scenario().replace(scenario().find("\"codes\""), 0, R"("erase": {"refuse": true}, )"));
    EXPECT_EQ(run("DEL", kYesYes), "[DEL]@KO");
    // Without erase bytes in the data: nothing is erased and the text says where to erase.
    rig.boot(scenario());
    EXPECT_EQ(run("DEL", kYesYes, 1, "<MNU\r\n\tFILE=\t[ENGINE.DTC]\r\n>"),
              "Clear DTC from Trouble menu");
    EXPECT_EQ(unit().storedCodes().size(), 3u);
}

TEST_F(FaultCodesTest, EraseIsJournalledWithTheCodesTheTestFoundAndTheUnitsAnswer) {
    corvan::testing::MemoryJournal journal([this] { return rig.sent().size(); });
    rig.host.journal = &journal;
    run("DEL", kYesYes);
    ASSERT_EQ(journal.records.size(), 1u);
    const auto& r = journal.records[0];
    EXPECT_EQ(r.entry.write.kind, "erase");
    EXPECT_EQ(r.entry.write.before, "P0100 P0300");
    EXPECT_EQ(r.entry.write.sent, "80 07 20 00 C4 10 FA 14 FF 00");
    EXPECT_EQ(r.framesAtWrite + 1, rig.sent().size());  // the erase was the last frame out
    EXPECT_EQ(r.framesAtAnswer, rig.sent().size());
    EXPECT_TRUE(r.entry.done);
    EXPECT_TRUE(r.entry.answer.starts_with("80")) << r.entry.answer;

    rig.boot(scenario().replace(scenario().find("\"codes\""), 0, R"("erase": {"refuse": true}, )"));
    run("DEL", kYesYes);
    ASSERT_EQ(journal.records.size(), 2u);
    EXPECT_FALSE(journal.records[1].entry.done);
    // Reading the codes changes nothing: nothing is journalled.
    run("EXE", kYesYes + "after 3 pumps close\n");
    EXPECT_EQ(journal.records.size(), 2u);
}

TEST_F(FaultCodesTest, ReportModeListsTheCodesWithoutAWindow) {
    EXPECT_EQ(run("REPORT", kYesYes),
              "[DTC]@P0100|Mass air flow circuit|@P0300|NO DESCRIPTION AVAILABLE|");
    EXPECT_FALSE(rig.snapshot("DTCLIST").everShown);
    EXPECT_FALSE(rig.snapshot("SELFTEST").everShown);
}

TEST_F(FaultCodesTest, WarningAnsweredNoSendsNothing) {
    EXPECT_EQ(run("EXE", "answer \"WARNING\" No\n"), "");
    EXPECT_TRUE(rig.port->written().empty());
    EXPECT_EQ(rig.boxTexts().size(), 1u);
}

TEST_F(FaultCodesTest, DefinitionFileAndLibraryProblems) {
    // Damaged file: the run ends before anything is sent.
    rig.writeFile("dtc", "ENGINE.DTC", "CDTF\x01garbage");
    EXPECT_EQ(run("EXE", kYesYes), "");
    EXPECT_TRUE(rig.port->written().empty());

    // Too large to hold: the out-of-memory message.
    std::filesystem::resize_file(rig.install() / "dtc" / "ENGINE.DTC", 9u << 20);
    EXPECT_EQ(run("EXE", kYesYes), "");
    EXPECT_EQ(rig.boxTexts().back(), "Insufficient memory.\nClose other programs to free memory");

    // No library: its path in the load error.
    rig.writeDtcFile("ENGINE.DTC", kDefinitions);
    std::filesystem::remove(rig.install() / "DLL" / "dtcbase.so");
    EXPECT_EQ(run("EXE", kYesYes, kGerman), "");
    EXPECT_EQ(rig.boxTexts().back(),
              "Fehler beim Laden des Treibers STORAGE CARD\\CORVANDATA\\DLL\\DTCBASE.dll");
    EXPECT_TRUE(rig.port->written().empty());

    // No file at all outside the demonstration: no message, codes without descriptions.
    std::filesystem::remove(rig.install() / "dtc" / "ENGINE.DTC");
    const size_t before = rig.boxTexts().size();
    EXPECT_EQ(run("REPORT", kYesYes),
              "[DTC]@P0100|NO DESCRIPTION AVAILABLE|@P0300|NO DESCRIPTION AVAILABLE|");
    EXPECT_EQ(rig.boxTexts().size(), before + 2);  // the two questions only
}

}  // namespace
}  // namespace corvan::faultcodes
