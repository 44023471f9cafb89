// The session record's reading of result texts and its bookkeeping of calls and writes.
#include "engine/session_record.h"

#include <gtest/gtest.h>

#include "runtime/module_context.h"

namespace corvan::engine {
namespace {

using Fields = std::vector<std::vector<std::string>>;

TEST(ReportSections, ReadsEveryKindOfResultText) {
    // A report pass hands back its texts one after the other.
    const auto s = parseReportSections(
        "[SYS]=SYSTEM INFORMATION@i000|NAME|VW GOLF|@i001|FILE|EDC.TXT|"
        "[IDN]@i000|Key bytes|7A|@i001|VIN|WVW@1|"
        "[DTC]@P0100|Air mass|@P0200|Injector|[DEL]@OK[DTC]");
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].head, "[SYS]");
    EXPECT_EQ(s[0].title, "SYSTEM INFORMATION");
    EXPECT_EQ(s[0].records, (Fields{{"i000", "NAME", "VW GOLF"}, {"i001", "FILE", "EDC.TXT"}}));
    // An "@" inside a value does not start a record; only one right after a "|" does.
    EXPECT_EQ(s[1].records, (Fields{{"i000", "Key bytes", "7A"}, {"i001", "VIN", "WVW@1"}}));
    EXPECT_EQ(s[2].records, (Fields{{"P0100", "Air mass"}, {"P0200", "Injector"}}));
    EXPECT_EQ(s[3].head, "[DEL]");
    EXPECT_EQ(s[3].status, "OK");
    EXPECT_TRUE(s[3].records.empty());
    EXPECT_EQ(s[4], (ReportSection{"[DTC]", "", "", {}}));  // read, and no codes
}

TEST(ReportSections, StatusWordsAndCutTextsGiveNoRecords) {
    EXPECT_TRUE(parseReportSections("").empty());
    EXPECT_TRUE(parseReportSections("ERROR").empty());
    EXPECT_TRUE(parseReportSections("7A0102").empty());  // the box start-up's answer
    // A record cut short is dropped; the ones before it stay.
    const auto s = parseReportSections("[IDN]@i000|A|1|@i001|B|2");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].records, (Fields{{"i000", "A", "1"}}));
    // A head without its "]" ends the reading.
    EXPECT_TRUE(parseReportSections("[IDN@i000|A|1|").empty());
}

// A journal standing for the vehicle's journal file, with ids of its own.
class FileJournal final : public WriteJournal {
  public:
    int64_t aboutToWrite(const JournalWrite& w) override {
        written.push_back(w.value);
        return 100 + static_cast<int64_t>(written.size());
    }
    void answered(int64_t id, const std::string& answer, bool done) override {
        answers.push_back(std::to_string(id) + " " + answer + (done ? " done" : " not done"));
    }
    std::vector<std::string> written, answers;
};

class Session : public ::testing::Test {
  protected:
    // A function called by the host (or by another function) that returns `result`.
    void call(const std::string& file, const std::string& result) {
        record.pluginCalled(file, PluginCall{});
        record.pluginReturned(file, PluginCall{}, result);
    }
    std::vector<std::string> heads() const {
        std::vector<std::string> h;
        for (const auto& e : record.entries())
            h.push_back(e.section.head + e.section.status + "/" +
                        std::to_string(e.section.records.size()));
        return h;
    }
    VirtualClock clock;
    SessionRecord record{clock, {"EDC16_KWP.TXT", "VW GOLF V ENGINE"}};
};

TEST_F(Session, CountsWhatAFunctionHandsOnOrShowedOnlyOnce) {
    record.pluginCalled("FUNCMENU.DLL", PluginCall{});
    // The identification shows its values and returns its bare head.
    record.pluginCalled("IDENTIFY.DLL", PluginCall{});
    record.reportShown("VW GOLF V ENGINE", "[IDN]@i000|Key bytes|7A|");
    record.pluginReturned("IDENTIFY.DLL", PluginCall{}, "[IDN]");
    // The trouble-code menu's erase: the erase module's answer, handed up by the menu.
    for (int round = 0; round < 2; ++round) {
        record.pluginCalled("DTCVIEW.DLL", PluginCall{});
        call("FAULTCODES.DLL", "[DEL]@OK");
        record.pluginReturned("DTCVIEW.DLL", PluginCall{}, "[DEL]@OK");
    }
    // A function that shows nothing and returns its bare head still counts.
    call("OTHER.DLL", "[IDN]");
    record.pluginReturned("FUNCMENU.DLL", PluginCall{}, "[SYS]=SYSTEM INFORMATION@i000|N|x|");
    EXPECT_EQ(heads(), (std::vector<std::string>{"[IDN]/1", "[DEL]OK/0", "[DEL]OK/0", "[IDN]/0",
                                                 "[SYS]/1"}));
    EXPECT_EQ(record.entries()[0].source, "VW GOLF V ENGINE");
    EXPECT_EQ(record.entries()[1].source, "FAULTCODES.DLL");
}

TEST_F(Session, TheFirstEntryCanBeTheCodesBeforeAnErase) {
    record.reportShown("u", "[DTC]@P0100|Air mass|");
    call("FAULTCODES.DLL", "[DEL]@OK");
    const auto erases = record.erases();
    ASSERT_EQ(erases.size(), 1u);
    EXPECT_EQ(erases[0].beforeEntry, 0);
    ASSERT_TRUE(erases[0].before);
}

TEST_F(Session, PairsEachEraseWithTheCodesBeforeAndAfterIt) {
    record.reportShown("u", "[DTC]@P0100|Air mass|");
    clock.advanceUs(5'000'000);
    record.reportShown("u", "[DTC]@P0100|Air mass|@P0200|Injector|");
    clock.advanceUs(5'000'000);
    call("FAULTCODES.DLL", "[DEL]@OK");
    record.reportShown("u", "[DTC]");
    record.reportShown("u", "[DTC]@P0300|Misfire|");  // a later reading: not "after"
    call("FAULTCODES.DLL", "[DEL]@KO");               // straight after the reading
    call("FAULTCODES.DLL", "[DEL]@OK");               // nothing read between the two erases

    const auto erases = record.erases();
    ASSERT_EQ(erases.size(), 3u);
    EXPECT_EQ(erases[0].status, "OK");
    EXPECT_EQ(erases[0].time.second, 17);  // 9:05:07 + 10 s on the virtual clock
    ASSERT_TRUE(erases[0].before && erases[0].after);
    EXPECT_EQ(erases[0].before->records.size(), 2u);  // the last reading before the erase
    EXPECT_TRUE(erases[0].after->records.empty());
    EXPECT_EQ(erases[0].beforeEntry, 1);
    EXPECT_EQ(erases[0].afterEntry, 3);
    EXPECT_EQ(erases[1].afterEntry, -1);
    EXPECT_EQ(erases[1].status, "KO");
    ASSERT_TRUE(erases[1].before);
    EXPECT_EQ(erases[1].before->records, (Fields{{"P0300", "Misfire"}}));
    EXPECT_FALSE(erases[1].after);
    EXPECT_FALSE(erases[2].before);
    EXPECT_FALSE(erases[2].after);
}

TEST_F(Session, JournalKeepsEveryWriteAndHandsItOn) {
    FileJournal file;
    // A write announced before the file journal came is kept here and never handed on.
    const int64_t early = record.journal().aboutToWrite(
        JournalWrite{"login", "KOMBI", "", "12345", "2B", {}, {}, {}});
    record.journal().setNext(&file);
    record.journal().answered(early, "refused", false);
    clock.advanceUs(60'000'000);
    const int64_t first = record.journal().aboutToWrite(
        JournalWrite{"coding", "KOMBI", "01234", "04321", "10 03", {}, {}, {}});
    const int64_t second = record.journal().aboutToWrite(
        JournalWrite{"erase", "ENGINE", "P0100", "", "14 FF 00", {}, {}, {}});
    record.journal().answered(second, "54", true);
    record.journal().answered(first, "no answer", false);
    record.journal().answered(77, "stray", true);  // an id never given: changes nothing

    auto e = record.journal().writes();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].answer, "refused");
    e.erase(e.begin());
    EXPECT_EQ(e[0].vehicle, "VW GOLF V ENGINE");
    EXPECT_EQ(e[0].time.minute, 6);
    EXPECT_EQ(e[0].write.before, "01234");
    EXPECT_TRUE(e[0].answered);
    EXPECT_FALSE(e[0].done);
    EXPECT_EQ(e[1].answer, "54");
    EXPECT_TRUE(e[1].done);
    // The file journal got both, and each answer under the id it gave.
    EXPECT_EQ(file.written, (std::vector<std::string>{"04321", ""}));
    EXPECT_EQ(file.answers, (std::vector<std::string>{"102 54 done", "101 no answer not done"}));
    EXPECT_FALSE(record.empty());
}

}  // namespace
}  // namespace corvan::engine
