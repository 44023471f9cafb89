// The two procedures of the sample installation's service-indicator record, run as the
// function menu runs them, against the sample vehicle's instrument cluster; the session
// procedure runs the real box start-up as its login.
#include <fstream>
#include <sstream>

#include "plugins/mbservice/script_test_rig.h"
#include "plugins/mbservice/script_windows.h"
#include "runtime/testing/memory_journal.h"

namespace corvan::mbservice::testing {
namespace {

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class SampleProcedures : public ScriptRig {
  protected:
    SampleProcedures()
        : record(fileText(fs::path(CORVAN_SAMPLE_DATA) / "FICHAS" / "MB_SERVICE.TXT")) {
        fs::copy_file(CORVAN_BOXSTART_PLUGIN, dll / "boxstart.so");
        std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg")
            << "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n";
        vehicle(fileText(CORVAN_SAMPLE_SCENARIO));
    }
    // The sample vehicle with the box connected to the instrument cluster, as the box
    // start-up of the record leaves it.
    void vehicle(const std::string& json) {
        boot(replaced(json, R"("connectedEcu": "engine")", R"("connectedEcu": "service-cluster")"));
    }
    sim::ServiceModel& cluster() const {
        for (size_t i = 0;; ++i) {
            if (auto* m = dynamic_cast<sim::ServiceModel*>(box->ecu(i))) return *m;
            if (!box->ecu(i)) throw std::runtime_error("no service unit in the sample vehicle");
        }
    }
    std::string runItem(const std::string& menuText) {
        const size_t item = record.rfind("<MNU", record.find(menuText));
        const ModuleContext ctx(link, 1, "EXE");
        return runScript(ctx, PluginCall{record, static_cast<int>(item), "EXE", "KOMBI"}, state);
    }

    const std::string record;
};

TEST_F(SampleProcedures, OilServiceResetIsReadBackUntilTheClusterStoredIt) {
    technician("tap \"OIL SERVICE\"\npress \"OK\"\nanswer \"Ignition on\" Yes\n");
    EXPECT_EQ(runItem("Oil service reset"), "");
    // The cluster reports the old value twice before the new one.
    EXPECT_EQ(ecuMessages(),
              (std::vector<Bytes>{hex("31 01"), hex("21 01"), hex("21 01"), hex("21 01")}));
    EXPECT_EQ(cluster().counter(0x01), hex("00 96"));
    EXPECT_EQ(cluster().counter(0x02), hex("00 1E"));
    EXPECT_EQ(boxTexts().back(), "Service indicator reset.");
    EXPECT_EQ(snapshot(kMessageWindowName).control(kMessageProgressId)->value, 100);
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();

    technician("tap \"INSPECTION\"\npress \"OK\"\nanswer \"Ignition on\" Yes\n");
    runItem("Oil service reset");
    EXPECT_EQ(cluster().counter(0x02), hex("01 6D"));
    EXPECT_EQ(ecuMessages().back(), hex("21 02"));
}

TEST_F(SampleProcedures, TheResetRoutineIsJournalledAndTheReadBacksAreNot) {
    corvan::testing::MemoryJournal journal([this] { return frames.sent.size(); });
    host.journal = &journal;
    technician("tap \"OIL SERVICE\"\npress \"OK\"\nanswer \"Ignition on\" Yes\n");
    runItem("Oil service reset");
    ASSERT_EQ(journal.records.size(), 1u);
    const auto& r = journal.records[0].entry;
    EXPECT_EQ(r.write.kind, "service");
    EXPECT_EQ(r.write.value, "31 01");
    EXPECT_EQ(r.write.unit, "KOMBI");
    EXPECT_TRUE(r.done) << r.answer;  // the routine's positive answer, 71
    EXPECT_EQ(journal.records[0].framesAtAnswer, journal.records[0].framesAtWrite + 1);
}

TEST_F(SampleProcedures, OilServiceResetGivesUpAfterFiveReadBacks) {
    vehicle(
        replaced(fileText(CORVAN_SAMPLE_SCENARIO), R"("settleReads": 2)", R"("settleReads": 50)"));
    technician("tap \"OIL SERVICE\"\npress \"OK\"\nanswer \"Ignition on\" Yes\n");
    runItem("Oil service reset");
    EXPECT_EQ(ecuMessages().size(), 1u + 5);
    EXPECT_EQ(boxTexts().back(),
              "The cluster did not store the reset. Switch the ignition off and on, then try "
              "again.");
    // No to the confirmation: nothing is sent.
    frames.sent.clear();
    technician("tap \"OIL SERVICE\"\npress \"OK\"\nanswer \"Ignition on\" No\n");
    runItem("Oil service reset");
    EXPECT_TRUE(frames.sent.empty());
}

TEST_F(SampleProcedures, ServiceIntervalOpensASessionAndNeedsTheAccessCode) {
    technician(
        "answer \"access code. Continue?\" Yes\ntype \"12345\" into #1007\npress \"OK\"\n"
        "type \"200\" into #1007\npress \"OK\"\nanswer \"stored\" Ok\n");
    runItem("Service interval");
    // The session: the box reset, then the box start-up connects to the cluster again.
    ASSERT_FALSE(frames.sent.empty());
    EXPECT_EQ(frames.sent[0], hex("80 00 88 08"));
    EXPECT_EQ(ecuMessages(),
              (std::vector<Bytes>{hex("27 02 30 39"), hex("3B 03 00 C8"), hex("82")}));
    EXPECT_EQ(cluster().counter(0x03), hex("00 C8"));
    EXPECT_EQ(boxTexts().back(), "New service interval stored.");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();

    technician("answer \"access code. Continue?\" Yes\ntype \"11111\" into #1007\npress \"OK\"\n");
    runItem("Service interval");
    EXPECT_EQ(boxTexts().back(), "Access code refused. The cluster locks after 3 wrong codes.");
    EXPECT_EQ(cluster().writes(), 1);
}

}  // namespace
}  // namespace corvan::mbservice::testing
