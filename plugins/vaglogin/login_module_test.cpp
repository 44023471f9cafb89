// The login against the simulated unit on the virtual clock: the identification it reads
// first, the login blocks on the wire, the window and the result text.
#include "plugins/vaglogin/login_module.h"

#include <gtest/gtest.h>

#include "plugins/vagkline/vag_test_rig.h"
#include "runtime/testing/memory_journal.h"

namespace corvan::vaglogin {
namespace {

using vagkline::testing::Bytes;
using vagkline::testing::hex;
using vagkline::testing::kombiScenario;
using vagkline::testing::kombiText;

class LoginTest : public vagkline::testing::VagRig {
  protected:
    std::string run(const std::string& mode = "EXE", int language = kEnglishIndex) {
        ModuleContext ctx = context(mode, language);
        return runLogin(ctx, PluginCall{kombiText(), 0, mode, "KOMBI"});
    }
    // The login blocks the module sent.
    std::vector<Bytes> logins() const {
        std::vector<Bytes> out;
        for (const Bytes& m : ecuMessages())
            if (m.size() > 2 && m[2] == 0x2B) out.push_back(m);
        return out;
    }
};

TEST_F(LoginTest, RefusedThenAcceptedReturnsOkAndClosesAtOnce) {
    boot();
    script(
        "when text #1001 \"lock after\" type \"4711\" into #1003\n"
        "press \"OK\"\n"
        "answer \"wrong code\" Ok\n"
        "type \"11111\" into #1003\n"
        "press \"OK\"\n"
        "answer \"ACCEPTED\" Ok\n");
    EXPECT_EQ(run(), "OK");
    EXPECT_TRUE(unit().loggedIn());
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"ATTENTION: wrong code!!!", "Code ACCEPTED"}));
    // Both carry the unit's own workshop code (5678 = 16 2E) from its fourth block.
    EXPECT_EQ(logins(),
              (std::vector<Bytes>{hex("08 00 2B 12 67 00 16 2E"), hex("08 00 2B 2B 67 00 16 2E")}));
    const ui::DialogSnapshot& s = shown("VAGLOGIN");
    EXPECT_EQ(s.title, "CODE ACCESS ENTRY: KOMBI");
    EXPECT_EQ(s.control(kInfoId)->text, "ATTENTION: ECU will lock after 3 attempts");
    EXPECT_EQ(s.control(kCodeLabelId)->text, "ACCESS CODE:");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(LoginTest, EveryAttemptIsJournalledWithTheUnitsVerdict) {
    corvan::testing::MemoryJournal journal([this] { return frames.sent.size(); });
    host.journal = &journal;
    boot();
    script(
        "when text #1001 \"lock after\" type \"4711\" into #1003\npress \"OK\"\n"
        "answer \"wrong code\" Ok\ntype \"11111\" into #1003\npress \"OK\"\n"
        "answer \"ACCEPTED\" Ok\n");
    run();
    ASSERT_EQ(journal.records.size(), 2u);
    EXPECT_EQ(journal.records[0].entry.write.kind, "login");
    EXPECT_EQ(journal.records[0].entry.write.value, "4711");
    EXPECT_FALSE(journal.records[0].entry.done);
    EXPECT_EQ(journal.records[1].entry.write.value, "11111");
    EXPECT_TRUE(journal.records[1].entry.done);
    EXPECT_TRUE(journal.records[1].entry.write.sent.ends_with("08 00 2B 2B 67 00 16 2E"))
        << journal.records[1].entry.write.sent;
    for (const auto& r : journal.records) {
        EXPECT_EQ(r.answers, 1);
        EXPECT_EQ(r.framesAtAnswer, r.framesAtWrite + 1);  // the login block alone between
    }
}

TEST_F(LoginTest, ExitBeforeAnyLoginReturnsKoAndSendsNoLoginBlock) {
    boot();
    script("when text #1001 \"lock after\" press \"Exit\"\n");
    EXPECT_EQ(run(), "KO");
    EXPECT_TRUE(logins().empty());
    EXPECT_FALSE(ecuMessages().empty());  // the identification was read
    script("when text #1001 \"lock after\" press \"Cancel\"\n");
    EXPECT_EQ(run(), "KO");
    EXPECT_TRUE(logins().empty());
}

TEST_F(LoginTest, CodeAboveSixteenBitsIsSentAsItsLowBits) {
    boot();
    script(
        "when text #1001 \"lock after\" type \"99999\" into #1003\npress \"OK\"\n"
        "answer \"wrong code\" Ok\npress \"Exit\"\n");
    EXPECT_EQ(run(), "KO");
    ASSERT_EQ(logins().size(), 1u);
    EXPECT_EQ(logins()[0], hex("08 00 2B 86 9F 00 16 2E"));  // 99999 = 0x1869F
}

TEST_F(LoginTest, IdentificationWithTheKeepAliveOffAndTheDefaultWorkshopCode) {
    // The unit reports workshop code 0: the configured default goes instead.
    writeConfig("VAG_WORKSHOP_CODE=[4660]\r\n");
    boot(kombiScenario(R"("workshopCode": 0)"));
    script("when text #1001 \"lock after\" press \"OK\"\nanswer \"\" Ok\npress \"Exit\"\n");
    EXPECT_EQ(run(), "KO");
    ASSERT_EQ(logins().size(), 1u);
    EXPECT_EQ(logins()[0], hex("08 00 2B 00 00 00 12 34"));
    // The box stopped repeating its keep-alive for the whole read, and repeats it again.
    const auto switches = sent(0x86);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[0], hex("80 05 86 00 03 00 09 00 09"));
    EXPECT_EQ(switches[1], hex("80 05 86 01 03 00 09 00 08"));
    EXPECT_EQ(frames.sent[0], hex("80 00 85 05"));
    EXPECT_EQ(frames.sent[1], switches[0]);
    EXPECT_EQ(unit().blocksLostToKeepAlive(), 0u);
    EXPECT_TRUE(box->keepAliveOn());
}

TEST_F(LoginTest, ShortIdentificationUsesTheDefaultWorkshopCode) {
    // Three blocks only: no coding block, so the workshop code is not known.
    boot(kombiScenario(R"("identification": [["A", "B", "C"]], "coding": null)"));
    script("when text #1001 \"lock after\" type \"11111\" into #1003\npress \"OK\"\n");
    EXPECT_EQ(run(), "OK");
    ASSERT_EQ(logins().size(), 1u);
    EXPECT_EQ(logins()[0], hex("08 00 2B 2B 67 00 04 D2"));  // the fixed default, 1234
}

TEST_F(LoginTest, UnansweredLoginCountsAsRefused) {
    boot();
    // The identification takes 22 unit messages (two passes over two groups) and ends with
    // acknowledge blocks; the login block after them goes unanswered.
    box->inject(sim::Fault{
        .kind = sim::FaultKind::Silence, .skip = 22, .count = -1, .command = uint8_t(0x20)});
    script(
        "when text #1001 \"lock after\" type \"11111\" into #1003\npress \"OK\"\n"
        "answer \"RETRY?\" No\nanswer \"wrong code\" Ok\npress \"Exit\"\n");
    EXPECT_EQ(run(), "KO");
    EXPECT_EQ(logins().size(), 4u);  // the exchange's four sends
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"No response from VarBox\nRETRY?",
                                                    "ATTENTION: wrong code!!!"}));
}

TEST_F(LoginTest, DemonstrationAndReportSendNothing) {
    boot();
    EXPECT_EQ(run("DEMO"), "");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"PRECEDURE NOT SUPPORTED IN DEMO MODE"});
    EXPECT_EQ(screen.lastSnapshot("VAGLOGIN"), nullptr);
    EXPECT_EQ(run("REPORT"), "KO");
    EXPECT_TRUE(port->written().empty());
}

}  // namespace
}  // namespace corvan::vaglogin
