// The journal screen against the simulated VAG unit on the virtual clock, with the journal
// file of the installation on the host: a coding and an adaptation save are journalled with
// the value read before, and "Restore previous" writes that value again through the coding
// and adaptation plug-ins' own windows and questions (a No at the question sends nothing).
#include "plugins/journal/journal_screen.h"

#include <gtest/gtest.h>

#include "plugins/journal/journal_view.h"
#include "plugins/vagkline/vag_test_rig.h"
#include "runtime/data_path.h"
#include "runtime/journal_file.h"
#include "runtime/run_plugin.h"

namespace corvan::journal {
namespace {

using vagkline::testing::Bytes;
using vagkline::testing::kombiScenario;

const std::string kText =
    "#MENU\r\n"
    "<MNU\r\n\tID=\t[M00]\r\n\tTEXT=\t[\"Adaptation\"]\r\n\tDLL=\t[VAGADAPT.DLL]\r\n"
    "\tDATA=\t[03000000]\r\n>\r\n"
    "<MNU\r\n\tID=\t[M01]\r\n\tTEXT=\t[\"Coding\"]\r\n\tDLL=\t[VAGCODING.DLL]\r\n"
    "\tDATA=\t[03000000]\r\n>\r\n"
    "<MNU\r\n\tID=\t[M09]\r\n\tTEXT=\t[\"Write journal\"]\r\n\tDLL=\t[JOURNAL.DLL]\r\n>\r\n"
    "#END\r\n";

class JournalScreenTest : public vagkline::testing::VagRig {
  protected:
    JournalScreenTest() : file(root, clock, vagkline::testing::kDataPath, "KOMBI GOLF") {
        installPlugin(CORVAN_VAGCODING_PLUGIN, "vagcoding.so");
        installPlugin(CORVAN_VAGADAPT_PLUGIN, "vagadapt.so");
        host.journal = &file;
    }
    int item(const std::string& id) const {
        return static_cast<int>(kText.rfind("<MNU", kText.find("[" + id + "]")));
    }
    // A function as the function menu calls it, at its own item.
    void callModule(const std::string& dll, const std::string& id,
                    const std::string& mode = "EXE") {
        ModuleContext ctx = context(mode);
        RunPlugin(ctx, ReadDataPath(ctx), dll, PluginCall{kText, item(id), mode, "KOMBI"},
                  kEnglishIndex, "Load Error, DLL %s");
    }
    void openJournal(const std::string& mode = "EXE") {
        ModuleContext ctx = context(mode);
        runJournal(ctx, PluginCall{kText, item("M09"), mode, "KOMBI"});
    }
    // The adaptation's saves on the wire (block title BB).
    size_t saves() const {
        size_t n = 0;
        for (const Bytes& m : ecuMessages()) n += m.size() > 4 && m[2] == 0xF1 && m[4] == 0xBB;
        return n;
    }
    JournalFile file;
};

TEST_F(JournalScreenTest, CodingIsJournalledAndPutBackThroughTheCodingWindow) {
    boot();
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"4321\" into #1005\n"
        "press \"Change ECU code\"\nanswer \"CODIFICATION\" Ok\npress \"Exit\"\n");
    callModule("VAGCODING.DLL", "M01");
    ASSERT_EQ(unit().coding(), 4321);
    auto entries = file.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].write.kind, "coding");
    EXPECT_EQ(entries[0].write.unit, "KOMBI");
    EXPECT_EQ(entries[0].write.before, "1234");
    EXPECT_EQ(entries[0].write.value, "4321");
    EXPECT_EQ(entries[0].write.sent,
              "80 08 20 00 07 00 10 21 C2 16 2E");  // 4321 doubled, workshop 5678
    EXPECT_EQ(entries[0].write.restore, "1234");
    EXPECT_TRUE(entries[0].done);
    EXPECT_NE(entries[0].answer.find("coding read back: 4321"), std::string::npos);

    // The coding window opens with the old coding in the field; the technician sends it.
    script(
        "when text #1001 \"Before: 1234\" press \"Restore previous\"\n"
        "when text #1001 \"ENTER NEW CODE\" dump\n"
        "when text #1001 \"ENTER NEW CODE\" press \"Change ECU code\"\n"
        "answer \"CODIFICATION\" Ok\npress \"Exit\"\n"
        "when rows #1000 = 2 press \"Exit\"\n");
    openJournal();
    EXPECT_EQ(unit().coding(), 1234);
    bool presetShown = false;
    for (const ui::DialogSnapshot& s : screen.snapshots())
        if (s.name == "VAGCODING" && s.reason == "script")
            presetShown = s.control(1005)->text == "1234" && s.control(1003)->text == "4321";
    EXPECT_TRUE(presetShown);
    entries = file.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].write.before, "4321");
    EXPECT_EQ(entries[1].write.value, "1234");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(JournalScreenTest, AdaptationRestoreAsksTheSaveQuestionAndNoSendsNothing) {
    boot();
    script(
        "type \"30\" into #1002\npress \"Start\"\n"
        "when text #1009 \"7\" type \"812\" into #1011\npress \"Save new data\"\n"
        "answer \"Are you sure?\" Yes\nanswer \"Adjustment OK\" Ok\n"
        "when text #1009 \"812\" press \"Exit\"\n");
    callModule("VAGADAPT.DLL", "M00");
    ASSERT_EQ(unit().adaptation().channel(30)->value, 812);
    ASSERT_EQ(file.entries().size(), 1u);
    const JournalEntry saved = file.entries()[0];
    EXPECT_EQ(saved.write.kind, "adaptation");
    EXPECT_EQ(saved.write.before, "channel 30: 7");
    EXPECT_EQ(saved.write.value, "channel 30: 812");
    EXPECT_EQ(saved.write.restore, "30,7");
    EXPECT_EQ(saved.write.item, "M00");
    EXPECT_TRUE(saved.done);
    const size_t savesBefore = saves();

    // Declined: the adaptation window had channel 30 and 7 in its fields, nothing was saved.
    script(
        "press \"Restore previous\"\n"
        "when text #1011 \"7\" press \"Save new data\"\n"
        "answer \"Are you sure?\" No\n"
        "press \"Exit\"\n"
        "when title \"WRITE JOURNAL\" press \"Exit\"\n");
    openJournal();
    EXPECT_EQ(saves(), savesBefore);
    EXPECT_EQ(unit().adaptation().channel(30)->value, 812);
    EXPECT_EQ(file.entries().size(), 1u);

    // Confirmed: the old value goes back through the same five tests and the save.
    script(
        "press \"Restore previous\"\n"
        "when text #1011 \"7\" press \"Start\"\n"
        "when text #1009 \"812\" press \"Save new data\"\n"
        "answer \"Are you sure?\" Yes\nanswer \"Adjustment OK\" Ok\n"
        "when text #1009 \"7\" press \"Exit\"\n"
        "when rows #1000 = 2 press \"Exit\"\n");
    openJournal();
    EXPECT_EQ(unit().adaptation().channel(30)->value, 7);
    EXPECT_EQ(saves(), savesBefore + 1);
    ASSERT_EQ(file.entries().size(), 2u);
    EXPECT_EQ(file.entries()[1].write.before, "channel 30: 812");
    EXPECT_EQ(file.entries()[1].write.value, "channel 30: 7");
}

TEST_F(JournalScreenTest, RowsShowNewestFirstAndOnlyTheUnitsOwnWritesCanBeRestored) {
    boot();
    JournalWrite login{"login", "KOMBI", "", "11111", "80 07 20", "", "", ""};
    JournalWrite other{"coding", "MOTOR", "5", "6", "80", "VAGCODING.DLL", "M01", "5"};
    JournalWrite mine{"coding", "KOMBI", "1234", "7", "80", "VAGCODING.DLL", "M01", "1234"};
    file.answered(file.aboutToWrite(login), "00 0F 09", false);
    file.answered(file.aboutToWrite(other), "00 03 09", true);
    file.aboutToWrite(mine);  // cut off before its answer
    script("dump\ntap row 1 in #1000\ndump\ntap row 2 in #1000\ndump\npress \"Exit\"\n");
    openJournal();
    std::vector<const ui::DialogSnapshot*> dumps;
    for (const ui::DialogSnapshot& s : screen.snapshots())
        if (s.reason == "script") dumps.push_back(&s);
    ASSERT_EQ(dumps.size(), 3u);
    const ui::ControlState& list = *dumps[0]->control(kListId);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].cells, (std::vector<std::string>{"02-03 09:05:07", "Coding", "7", "?"}));
    EXPECT_EQ(list.rows[2].cells,
              (std::vector<std::string>{"02-03 09:05:07", "Login", "11111", "KO"}));
    EXPECT_TRUE(dumps[0]->control(kRestoreId)->enabled);
    EXPECT_EQ(dumps[0]->control(kDetailId)->text,
              "KOMBI\nBefore: 1234\nSent: 80\nAnswer: no answer recorded (cut off)");
    EXPECT_FALSE(dumps[1]->control(kRestoreId)->enabled);  // another unit's coding
    EXPECT_FALSE(dumps[2]->control(kRestoreId)->enabled);  // a login puts nothing back
    EXPECT_EQ(dumps[2]->control(kDetailId)->text,
              "KOMBI\nBefore: -\nSent: 80 07 20\nAnswer: 00 0F 09");
}

TEST_F(JournalScreenTest, WithoutAJournalTheScreenSaysSoAndAReportRunOpensNoWindow) {
    boot();
    host.journal = nullptr;
    script("answer \"not switched on\" Ok\n");
    openJournal();
    ASSERT_EQ(boxTexts(), std::vector<std::string>{"The write journal is not switched on."});
    host.journal = &file;
    openJournal("REPORT");
    EXPECT_EQ(screen.lastSnapshot("JOURNAL"), nullptr);
}

}  // namespace
}  // namespace corvan::journal
