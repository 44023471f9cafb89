// The journal file: its lines read back field for field, a file cut anywhere in its last
// line reads as the lines before it, the next append after a cut starts clean, and the
// module-side helper that announces and answers each write.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/test_kill_harness.h"
#include "platform/test_temp_dir.h"
#include "runtime/journal_file.h"
#include "runtime/journal_record.h"
#include "runtime/journalled_write.h"
#include "runtime/param_text.h"
#include "runtime/testing/link_fixture.h"
#include "runtime/testing/memory_journal.h"

namespace corvan {
namespace {

JournalWrite coding(std::string before, std::string value) {
    return JournalWrite{"coding",        "KOMBI | VDO", before, value, "80 07 20 00 07 00 10",
                        "VAGCODING.DLL", "M01",         before};
}

// Two answered writes, the second with every character the framing escapes.
std::string twoEntries() {
    std::string s = writeLine(1, "2007-02-03 09:05:07", "GOLF V", coding("1234", "4321"));
    s += answerLine(1, "2007-02-03 09:05:09", "00 03 20", true);
    s += writeLine(2, "2007-02-03 09:06:00", "GOLF V",
                   JournalWrite{"erase", "MOTOR\\1", "P0100\nP0200|*", "", "80 05", "", "", ""});
    s += answerLine(2, "2007-02-03 09:06:01", "no answer", false);
    return s;
}

TEST(JournalRecord, LinesReadBackFieldForFieldAndAnswersJoinTheirWrite) {
    const auto entries = readJournal(twoEntries());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 1);
    EXPECT_EQ(entries[0].time, "2007-02-03 09:05:07");
    EXPECT_EQ(entries[0].vehicle, "GOLF V");
    EXPECT_EQ(entries[0].write.unit, "KOMBI | VDO");
    EXPECT_EQ(entries[0].write.restore, "1234");
    EXPECT_EQ(entries[0].write.item, "M01");
    EXPECT_TRUE(entries[0].answered && entries[0].done);
    EXPECT_EQ(entries[0].answerTime, "2007-02-03 09:05:09");
    EXPECT_EQ(entries[0].answer, "00 03 20");
    EXPECT_EQ(entries[1].write.unit, "MOTOR\\1");
    EXPECT_EQ(entries[1].write.before, "P0100\nP0200|*");
    EXPECT_TRUE(entries[1].answered);
    EXPECT_FALSE(entries[1].done);
    EXPECT_EQ(nextJournalId(twoEntries()), 3);
    // Every line is one line: no raw newline or carriage return inside.
    const std::string file = twoEntries();
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 4);
}

TEST(JournalRecord, TheCheckIsTheCrc32OfTheLineAsTheDocsGiveIt) {
    // Any tool that reads the card computes the same check: CRC-32 of the fields.
    EXPECT_EQ(answerLine(1, "2007-02-03 09:05:09", "00 03 20", true),
              "A|1|2007-02-03 09:05:09|1|00 03 20*EDEECEC9\n");
}

TEST(JournalRecord, FileCutAtEveryByteOfItsLastLineReadsAsTheLinesBefore) {
    const std::string head = twoEntries();
    const std::string lastWrite =
        writeLine(3, "2007-02-03 09:07:00", "GOLF V", coding("4321", "1"));
    const std::string lastAnswer = answerLine(3, "2007-02-03 09:07:02", "00 03 20", true);
    for (size_t cut = 0; cut < lastWrite.size(); ++cut) {
        const auto e = readJournal(head + lastWrite.substr(0, cut));
        ASSERT_EQ(e.size(), 2u) << cut;
        EXPECT_TRUE(e[1].answered) << cut;
    }
    // A cut answer leaves its write standing as one whose answer was never learnt.
    for (size_t cut = 0; cut < lastAnswer.size(); ++cut) {
        const auto e = readJournal(head + lastWrite + lastAnswer.substr(0, cut));
        ASSERT_EQ(e.size(), 3u) << cut;
        EXPECT_FALSE(e[2].answered) << cut;
    }
    EXPECT_TRUE(readJournal(head + lastWrite + lastAnswer)[2].answered);
}

TEST(JournalRecord, DamagedOrForeignLinesAreDroppedAndTheRestStillReads) {
    std::string s = twoEntries();
    s[5] ^= 0x01;  // a byte of the first write changed on the card
    s.insert(0, "garbage without a check\n*00000000\n");
    s += answerLine(9, "t", "stray answer", true);  // no write 9
    const auto e = readJournal(s);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].id, 2);
}

TEST(JournalRecord, FileNameKeepsLettersAndDigitsOnly) {
    EXPECT_EQ(journalFileName("KOMBI_KW1281.TXT VOLKSWAGEN GOLF V 1.9 TDI"),
              "KOMBI_KW1281_TXT_VOLKSWAGEN_GOLF_V_1_9_TDI.JNL");
    EXPECT_EQ(journalFileName("../\\..//"), "VEHICLE.JNL");
    EXPECT_EQ(journalFileName(std::string(200, 'a')).size(), 64u);
    EXPECT_EQ(journalDevicePath("STORAGE CARD\\CORVANDATA", "GOLF"),
              "\\STORAGE CARD\\CORVANDATA\\JOURNAL\\GOLF.JNL");
}

TEST(JournalFile, AppendsAfterATornTailStartCleanAndIdsGoOnAcrossSessions) {
    testing::TempDir dir;
    DeviceRoot root(dir.path());
    VirtualClock clock;
    {
        JournalFile j(root, clock, "STORAGE CARD\\CORVANDATA", "SEAT IBIZA");
        EXPECT_TRUE(j.entries().empty());
        const int64_t id = j.aboutToWrite(coding("1", "2"));
        clock.advanceUs(3'000'000);
        j.answered(id, "00 03", true);
        EXPECT_EQ(j.hostPath(),
                  dir.path() / "STORAGE CARD" / "CORVANDATA" / "JOURNAL" / "SEAT_IBIZA.JNL");
    }
    // The terminal was cut off in the middle of an append.
    const std::string torn = writeLine(2, "x", "SEAT IBIZA", coding("2", "3"));
    std::ofstream(dir.path() / "STORAGE CARD" / "CORVANDATA" / "JOURNAL" / "SEAT_IBIZA.JNL",
                  std::ios::app | std::ios::binary)
        << torn.substr(0, torn.size() / 2);
    JournalFile j(root, clock, "STORAGE CARD\\CORVANDATA", "SEAT IBIZA");
    ASSERT_EQ(j.entries().size(), 1u);
    const int64_t id = j.aboutToWrite(coding("2", "7"));
    EXPECT_EQ(id, 2);
    const auto e = j.entries();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].time, "2007-02-03 09:05:07");
    EXPECT_EQ(e[0].answerTime, "2007-02-03 09:05:10");
    EXPECT_EQ(e[1].write.value, "7");
    EXPECT_FALSE(e[1].answered);
    EXPECT_TRUE(j.healthy());
}

TEST(JournalFile, AWriterKilledAtAnyPointOfItsAppendsLeavesOnlyWholeEntries) {
    testing::TempDir dir;
    DeviceRoot root(dir.path());
    VirtualClock clock;
    // Long values make each append take a while, so kills land inside the writes; every
    // value names its write, so an entry made of two appends would show.
    const auto valueOf = [](int64_t id) { return std::string(40000, 'v') + std::to_string(id); };
    const auto appendOne = [&](uint64_t) {
        JournalFile j(root, clock, "STORAGE CARD\\CORVANDATA", "SEAT IBIZA");
        const int64_t next = int64_t(j.entries().size()) + 1;
        const int64_t id = j.aboutToWrite(coding("1", valueOf(next)));
        j.answered(id, "00 03 " + std::to_string(id), true);
        return j.healthy();
    };
    size_t lastCount = 0;
    const auto check = [&](int kill) {
        int unanswered = 0;
        const auto entries =
            JournalFile(root, clock, "STORAGE CARD\\CORVANDATA", "SEAT IBIZA").entries();
        // Every writer ended one append and its answer before it was killed.
        ASSERT_GT(entries.size(), lastCount) << "kill " << kill << ": an entry was lost";
        for (size_t i = 0; i < entries.size(); ++i) {
            const JournalEntry& e = entries[i];
            EXPECT_EQ(e.id, int64_t(i) + 1) << "kill " << kill;
            EXPECT_EQ(e.write.value, valueOf(e.id)) << "kill " << kill << " entry " << i;
            // A writer killed between its request and the answer leaves the write without
            // one (the screen shows it so); an answer is always its own write's.
            if (e.answered) {
                EXPECT_EQ(e.answer, "00 03 " + std::to_string(e.id)) << "kill " << kill;
            } else {
                ++unanswered;
            }
        }
        EXPECT_LE(unanswered, kill + 1);
        lastCount = entries.size();
    };
    const auto figures = corvan::testing::killWriterRepeatedly(30, 5, 20000, appendOne, check);
    EXPECT_FALSE(figures.failed);
    EXPECT_EQ(figures.kills, 30);
    EXPECT_GE(lastCount, 30u);
}

TEST(JournalFile, AFolderThatCannotBeWrittenLeavesTheJournalUnhealthyNotTheSession) {
    testing::TempDir dir;
    std::ofstream(dir.path() / "CARD") << "a file where the folder should be";
    DeviceRoot root(dir.path());
    VirtualClock clock;
    JournalFile j(root, clock, "CARD", "X");
    j.answered(j.aboutToWrite(coding("1", "2")), "00", true);
    EXPECT_FALSE(j.healthy());
    EXPECT_TRUE(j.entries().empty());
}

TEST(RestorePreset, GoesIntoTheModulesOwnItemOnly) {
    const std::string text =
        "#MENU\r\n<MNU\r\n\tDLL=\t[A.DLL]\r\n>\r\n<MNU\r\n\tDLL=\t[B.DLL]\r\n>\r\n";
    const int second = findFrom(text, "<MNU", findFrom(text, "<MNU") + 1);
    const std::string withPreset = withRestorePreset(text, second, "5,120");
    EXPECT_EQ(GetKeyValue(withPreset, kRestoreKey, second), "5,120");
    EXPECT_EQ(GetKeyValue(withPreset, "DLL=", second), "B.DLL");
    EXPECT_EQ(GetKeyValue(withPreset, kRestoreKey, findFrom(withPreset, "<MNU")), "");
    EXPECT_EQ(restorePreset(PluginCall{withPreset, second, "EXE", ""}), "5,120");
    // Not at an item, or a value that would end the key early: nothing is put in.
    EXPECT_EQ(withRestorePreset(text, second + 1, "1"), text);
    EXPECT_EQ(withRestorePreset(text, second, "1]"), text);
}

struct JournalledWriteTest : ::testing::Test, corvan::testing::LinkFixture {
    JournalledWriteTest() { host.journal = &journal; }
    corvan::testing::MemoryJournal journal;
    const std::vector<uint8_t> request{0x80, 0x02, 0x20, 0x00, 0x14};
    const PluginCall call{"<MNU DLL=[X.DLL] ID=[M07]", 0, "EXE", "ABS"};
};

TEST_F(JournalledWriteTest, AnnouncesAndAnswersOnceAndGivesUpWithNoAnswer) {
    auto ctx = context();
    {
        JournalledWrite w(ctx, call, "erase", "P0100", "", request);
        const uint8_t reply[] = {0x00, 0x01, 0x20, 0x54, 0x75};
        w.reply(reply, 4, true);
    }
    { JournalledWrite w(ctx, call, "coding", "1", "2", request, "1"); }
    ASSERT_EQ(journal.records.size(), 2u);
    const JournalEntry& erase = journal.records[0].entry;
    EXPECT_EQ(erase.write.sent, "80 02 20 00 14");
    EXPECT_EQ(erase.write.unit, "ABS");
    EXPECT_EQ(erase.answer, "00 01 20 54");
    EXPECT_EQ(erase.write.module, "");  // nothing to put back after an erase
    EXPECT_EQ(journal.records[0].answers, 1);
    const JournalEntry& coding = journal.records[1].entry;
    EXPECT_EQ(coding.write.module, "X.DLL");
    EXPECT_EQ(coding.write.item, "M07");
    EXPECT_EQ(coding.answer, "no answer");
    EXPECT_FALSE(coding.done);
    EXPECT_EQ(journal.records[1].answers, 1);

    // A reply the exchange gave no bytes of (length 0, or -1 for a lost line) is no answer.
    const uint8_t stale[] = {0x7F, 0x14};
    EXPECT_EQ(replyText(stale, 0), "no answer");
    EXPECT_EQ(replyText(stale, -1), "no answer");
    EXPECT_EQ(replyText(stale, 5), "7F 14");

    EXPECT_EQ(secretTail(request, 2), "80 02 20 ** **");
    EXPECT_EQ(secretTail(request, 9), "** ** ** ** **");

    auto demo = context(1, "DEMO");
    { JournalledWrite w(demo, call, "erase", "", "", request); }
    host.journal = nullptr;
    { JournalledWrite w(ctx, call, "erase", "", "", request); }
    EXPECT_EQ(journal.records.size(), 2u);
}

}  // namespace
}  // namespace corvan
