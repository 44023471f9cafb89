// The coding against the simulated unit on the virtual clock: the coding blocks on the
// wire with the keep-alive switched around them, the identification read back and what
// the technician sees.
#include "plugins/vagcoding/coding_module.h"

#include <gtest/gtest.h>

#include "plugins/vagcoding/vagcoding_texts.h"
#include "plugins/vagkline/vag_test_rig.h"
#include "runtime/exchange.h"

namespace corvan::vagcoding {
namespace {

using vagkline::testing::Bytes;
using vagkline::testing::hex;
using vagkline::testing::kombiScenario;
using vagkline::testing::kombiText;

// The 0x20 messages of one identification read of the test unit (two passes over two groups).
constexpr int kIdentificationMessages = 22;

class CodingTest : public vagkline::testing::VagRig {
  protected:
    std::string run(const std::string& mode = "EXE", int language = kEnglishIndex) {
        ModuleContext ctx = context(mode, language);
        return runCoding(ctx, PluginCall{kombiText(), 0, mode, "KOMBI"});
    }
    std::vector<Bytes> codings() const {
        std::vector<Bytes> out;
        for (const Bytes& m : ecuMessages())
            if (m.size() > 2 && m[2] == 0x10) out.push_back(m);
        return out;
    }
    // Every frame the module sent as a short name: K+/K- keep-alive on/off, C coding
    // block, I identification request (acknowledges and the keep-alive query left out).
    std::string sequence() const {
        std::string s;
        for (const Bytes& f : frames.sent) {
            if (f[2] == 0x86) s += f[3] ? "K+" : "K-";
            if (f[2] == 0x20 && f.size() > 6 && f[6] == 0x10) s += "C";
            if (f[2] == 0x20 && f.size() > 6 && f[6] == 0x00) s += "I";
        }
        return s;
    }
    const ui::ControlState& control(int id) const { return *shown("VAGCODING").control(id); }
};

TEST_F(CodingTest, NewCodingIsSentReadBackAndReported) {
    boot();
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"32767\" into #1005\n"
        "press \"Change ECU code\"\n"
        "answer \"CODIFICATION\" Ok\n"
        "press \"Exit\"\n");
    EXPECT_EQ(run(), "");
    // 32767 doubled is FF FE; the unit's workshop code 5678 goes with it.
    EXPECT_EQ(codings(), std::vector<Bytes>{hex("07 00 10 FF FE 16 2E")});
    EXPECT_EQ(unit().coding(), 32767);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"CODIFICATION OK"});
    EXPECT_EQ(control(kActualCodeId).text, "32767");
    // The keep-alive is off around each dialogue: the read, the coding, the read back.
    EXPECT_EQ(sequence(), "K-IIIIK+K-CK+K-IIIIK+");
    EXPECT_EQ(unit().blocksLostToKeepAlive(), 0u);
    EXPECT_GT(unit().keepAlivesSeen(), 0u);  // it ran during the unit's 2 s of storing
    const ui::DialogSnapshot& s = shown("VAGCODING");
    EXPECT_EQ(s.title, "ECU CODIFICATION: KOMBI");
    EXPECT_EQ(s.control(kInfoId)->text, "ENTER NEW CODE");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(CodingTest, CodingOutsideTheRangeIsRefusedWithTheMessageNaming32000) {
    boot();
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"32768\" into #1005\n"
        "press \"Change ECU code\"\n"
        "answer \"32000\" Ok\n"
        "press \"Exit\"\n");
    run();
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"El código debe estar comprendido entre 0 y 32000"});
    EXPECT_TRUE(codings().empty());
    EXPECT_EQ(unit().coding(), 1234);
}

TEST_F(CodingTest, ForceBoxSendsTheBlockTwiceBeforeTheReadBack) {
    boot();
    // The field takes digits only: the letter typed in the middle never gets in.
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"7x7\" into #1005\n"
        "check #1006\n"
        "press \"Change ECU code\"\n"
        "answer \"CODIFICATION OK\" Ok\n"
        "press \"Exit\"\n");
    run();
    EXPECT_EQ(codings(),
              (std::vector<Bytes>{hex("07 00 10 00 9A 16 2E"), hex("07 00 10 00 9A 16 2E")}));
    EXPECT_EQ(sequence(), "K-IIIIK+K-CCK+K-IIIIK+");
    EXPECT_FALSE(control(kForceId).checked);  // cleared by the read back
}

TEST_F(CodingTest, WorkshopCodeZeroIsReplacedByTheConfiguredDefault) {
    writeConfig("VAG_WORKSHOP_CODE=[4660]\r\n");
    boot(kombiScenario(R"("workshopCode": 0)"));
    script(
        "when text #1001 \"ENTER NEW CODE\" press \"Change ECU code\"\n"
        "answer \"CODIFICATION OK\" Ok\npress \"Exit\"\n");
    run();
    // The field holds the current coding 1234 (09 A4 doubled).
    EXPECT_EQ(codings(), std::vector<Bytes>{hex("07 00 10 09 A4 12 34")});
    EXPECT_EQ(unit().workshopCode(), 0x1234);
}

TEST_F(CodingTest, ThreeIdentificationBlocksLeaveTheButtonDisabled) {
    boot(kombiScenario(R"("identification": [["A", "B", "C"]], "coding": null)"));
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"5\" into #1005\n"
        "press \"Change ECU code\"\n"
        "press \"Exit\"\n");
    run();
    EXPECT_TRUE(codings().empty());
    EXPECT_FALSE(control(kCodeButtonId).enabled);
    EXPECT_EQ(control(kActualCodeId).text, "");
    EXPECT_TRUE(control(kExitId).enabled);
    // The script's press on the disabled button was abandoned, never acted on.
    EXPECT_EQ(screen.report().abandoned.size(), 1u);
}

TEST_F(CodingTest, RefusedCodingSaysSoAndReadsNothingBack) {
    boot(kombiScenario(R"("refuseCoding": true)"));
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"99\" into #1005\n"
        "press \"Change ECU code\"\n"
        "answer \"no disponible\" Ok\n"
        "press \"Exit\"\n");
    run();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Operación no disponible en este momento"});
    EXPECT_EQ(sequence(), "K-IIIIK+K-CK+");
    EXPECT_EQ(unit().coding(), 1234);
}

TEST_F(CodingTest, UnansweredCodingIsReadBackAsAWrongCode) {
    boot();
    // The unit misses all four sends of the coding block.
    box->inject(sim::Fault{.kind = sim::FaultKind::Silence,
                           .skip = kIdentificationMessages,
                           .count = 4,
                           .command = uint8_t(0x20)});
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"4321\" into #1005\n"
        "press \"Change ECU code\"\n"
        "answer \"RETRY\" No\n"
        "answer \"WRONG\" Ok\n"
        "press \"Exit\"\n");
    run();
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{std::string(kNoResponseFixed), "ATTENTION: WRONG CODE"}));
    EXPECT_EQ(control(kActualCodeId).text, "1234");
}

TEST_F(CodingTest, NothingLeavesWithoutThePressOfTheCodeButton) {
    boot();
    script(
        "when text #1001 \"ENTER NEW CODE\" type \"4321\" into #1005\ncheck #1006\n"
        "press \"Exit\"\n");
    run();
    EXPECT_TRUE(codings().empty());
    EXPECT_EQ(sequence(), "K-IIIIK+");
}

TEST_F(CodingTest, DemonstrationSendsNothingAndShowsCodingZero) {
    boot();
    script("when text #1001 \"DEMO MODE\" press \"Change ECU code\"\npress \"Exit\"\n");
    run("DEMO");
    EXPECT_TRUE(port->written().empty());
    EXPECT_EQ(control(kActualCodeId).text, "0");
    EXPECT_FALSE(control(kCodeButtonId).enabled);
    EXPECT_EQ(run("REPORT"), "");
    EXPECT_TRUE(port->written().empty());
}

}  // namespace
}  // namespace corvan::vagcoding
