// The VAG K-line functions of the sample instrument cluster through the engine, as a
// technician reaches them from the function menu: the engine host runs the function menu
// on a copy of the built sample installation with the simulated box, so that the unit's
// state can be looked at afterwards; and the eCor program in processes of its own for the
// wire checks (demonstration, leaving without confirming).
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "sim/kw1281_unit.h"
#include "sim/varbox.h"

namespace corvan::e2e {
namespace {

const std::string kEcor = ECOR_PATH;
const std::string kRecord = "KOMBI_KW1281.TXT";
const std::string kSelection = "VOLKSWAGEN PASSAT (3B) CUADRO CUADRO - VDO";
const std::string kInstall = "STORAGE CARD\\CORVANDATA";

// The ECU messages (after the 00 of command 0x20) in a wire trace, as hex text.
std::vector<std::string> sentMessages(const std::string& trace) {
    std::vector<std::string> out;
    for (const std::string& line : linesOf(trace)) {
        const size_t at = line.find(" TX ");
        if (at == std::string::npos) continue;
        const std::string frame = line.substr(at + 4);
        // "80 nn 20 00 " then the message and the check byte.
        if (frame.size() > 15 && frame.compare(6, 6, "20 00 ") == 0)
            out.push_back(frame.substr(12, frame.size() - 15));
    }
    return out;
}

bool anyStartsWith(const std::vector<std::string>& messages, const std::string& prefix) {
    return std::any_of(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.rfind(prefix, 0) == 0; });
}

// A session of the function menu on the sample instrument cluster, run in this process.
class ClusterSession : public ::testing::Test {
  protected:
    void run(const std::string& script) {
        writeFileAtomic(copy.root() / "script.txt", script);
        engine::HostSetup setup;
        setup.root = copy.root();
        setup.installPath = kInstall;
        setup.port.scenarioFile = copy.install() / "SIM" / "vehicle.json";
        setup.technicianScript = copy.root() / "script.txt";
        setup.traceFile = copy.root() / "wire.trace";
        std::string error;
        host = engine::EngineHost::create(std::move(setup), &error);
        ASSERT_TRUE(host) << error;
        const auto text = engine::readDataRecord(host->root(), kInstall, kRecord, &error);
        ASSERT_TRUE(text) << error;
        const engine::PluginOutcome out =
            engine::runFunctionMenu(*host, *text, "EXE", kSelection, 1);
        ASSERT_TRUE(out.ran) << out.error;
        EXPECT_EQ(host->finish(), "");  // the script ran as written
    }
    sim::Kw1281Unit& cluster() const {
        sim::Varbox* box = host->port()->box();
        // The cluster is the coded KW1281 unit (the diesel unit beside it has measuring blocks).
        for (size_t i = 0; box && box->ecu(i); ++i)
            if (auto* unit = dynamic_cast<sim::Kw1281Unit*>(box->ecu(i)); unit && unit->coding())
                return *unit;
        throw std::runtime_error("no coded KW1281 unit in the sample vehicle");
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ui::MessageBoxRecord& b : host->headless()->messageBoxes())
            texts.push_back(b.text);
        return texts;
    }
    std::vector<std::string> messages() const {
        return sentMessages(readWholeFile(copy.root() / "wire.trace").value_or(""));
    }

    SampleCopy copy;
    std::unique_ptr<engine::EngineHost> host;
};

TEST_F(ClusterSession, LockedChannelIsSavedAfterTheLogin) {
    run("tap \"Adaptation\"\npress \"SELECT\"\n"
        "when title \"CHANNEL ADJUSTMENT\" type \"9\" into #1002\npress \"Start\"\n"
        "when text #1009 \"1234\" type \"1300\" into #1011\npress \"Save new data\"\n"
        "answer \"Are you sure?\" Yes\nanswer \"locked\" Ok\n"
        "when text #1009 \"1234\" press \"Access code\"\n"
        "when title \"ENTRADA CODIGO ACCESO\" type \"13861\" into #1003\npress \"OK\"\n"
        "answer \"ACEPTADO\" Ok\n"
        "when title \"CHANNEL ADJUSTMENT\" press \"Save new data\"\n"
        "answer \"Are you sure?\" Yes\nanswer \"Adjustment OK\" Ok\n"
        // The saved channel is read again from the unit.
        "when text #1009 \"1300\" press \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    EXPECT_EQ(cluster().adaptation().channel(9)->value, 1300);
    EXPECT_EQ(cluster().adaptation().saves(), 1);
    // The workshop identification of the sample's iCor.cfg went with the save.
    EXPECT_EQ(cluster().adaptation().savedBy(), (std::array<uint8_t, 6>{0, 0, 0, 0, 0x30, 0x39}));
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{
                  "ATTENTION: changes will be saved.\n\rAre you sure?",
                  "Adjustment not allowed.\r\nThe selected channel is locked and can request a "
                  "pssword to modify information",
                  "Código ACEPTADO", "ATTENTION: changes will be saved.\n\rAre you sure?",
                  "Adjustment OK"}));
    const auto sent = messages();
    // The login with the sample's default workshop code (the unit reports none), then the
    // save of 1300 (05 14) with the workshop identification.
    EXPECT_TRUE(anyStartsWith(sent, "08 00 2B 36 25 00 04 D2")) << sent.size();
    EXPECT_TRUE(anyStartsWith(sent, "8C 00 F1 31 BB 01 03 05 14 00 00 00 00 30 39"));
    // Leaving the menu ends the unit's session: the login is gone with it.
    EXPECT_FALSE(cluster().loggedIn());
}

TEST_F(ClusterSession, CodingIsWrittenAndReadBack) {
    run("tap \"Coding\"\npress \"SELECT\"\n"
        "when text #1001 \"ENTER NEW CODE\" type \"4321\" into #1005\n"
        "press \"Change ECU code\"\nanswer \"CODIFICATION OK\" Ok\n"
        "when text #1003 \"4321\" press \"Exit\"\n"
        // Opened again, the coding reads what the unit now holds.
        "tap \"Coding\"\npress \"SELECT\"\nwhen text #1003 \"4321\" press \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    EXPECT_EQ(cluster().coding(), 4321);
    EXPECT_EQ(cluster().workshopCode(), 1234);  // the unit reported 0: the sample's default
    EXPECT_EQ(cluster().codingBlocks(), 1);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"CODIFICATION OK"});
    EXPECT_EQ(cluster().blocksLostToKeepAlive(), 0u);
}

TEST_F(ClusterSession, LoginFromTheMenuRefusedThenAccepted) {
    run("tap \"Access code\"\npress \"SELECT\"\n"
        "when text #1001 \"lock after\" type \"1\" into #1003\npress \"OK\"\n"
        "answer \"wrong code\" Ok\ntype \"13861\" into #1003\npress \"OK\"\n"
        "answer \"ACCEPTED\" Ok\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    EXPECT_EQ(cluster().failedLogins(), 0);  // the session ended with the menu
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"ATTENTION: wrong code!!!", "Code ACCEPTED"}));
}

// The eCor program in a process of its own on a copy of the sample installation.
ProgramRun session(const SampleCopy& copy, const std::string& script, const std::string& mode) {
    writeFileAtomic(copy.root() / "script.txt", script);
    return runProgram(
        kEcor,
        {"--root", copy.root().string(), "--technician", (copy.root() / "script.txt").string(),
         "--trace", (copy.root() / "wire.trace").string(), "--screens",
         (copy.root() / "screens.txt").string(), "/" + kRecord + " /" + kSelection + " " + mode});
}

TEST(ClusterProgram, DemonstrationSendsNothingFromAnyOfTheThree) {
    SampleCopy copy;
    const ProgramRun run = session(copy,
                                   "tap \"Adaptation\"\npress \"SELECT\"\n"
                                   "answer \"DEMO mode\" Ok\n"
                                   "tap \"Coding\"\npress \"SELECT\"\n"
                                   "when text #1001 \"ENTER NEW CODE\" press \"Exit\"\n"
                                   "tap \"Access code\"\npress \"SELECT\"\n"
                                   "answer \"DEMO MODE\" Ok\n"
                                   "when title \"OPTIONS MENU\" press \"Exit\"\n",
                                   "/DEMO=1");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(readWholeFile(copy.root() / "wire.trace").value_or("?"), "");
    const std::string dump = readWholeFile(copy.root() / "screens.txt").value_or("");
    EXPECT_EQ(messageBoxTexts(dump),
              (std::vector<std::string>{"Can´t start activation test in DEMO mode",
                                        "PRECEDURE NOT SUPPORTED IN DEMO MODE"}));
    // The coding shows coding 0 and offers nothing to send.
    EXPECT_NE(dump.find("label #1003 \"0\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("button #1007 \"Change ECU code\" disabled"), std::string::npos);
}

TEST(ClusterProgram, NothingIsSavedOrCodedWithoutTheTechnicianConfirming) {
    SampleCopy copy;
    const ProgramRun run =
        session(copy,
                "tap \"Adaptation\"\npress \"SELECT\"\n"
                "when title \"CHANNEL ADJUSTMENT\" type \"30\" into #1002\npress \"Start\"\n"
                "when text #1009 \"128\" type \"90\" into #1011\npress \"Save new data\"\n"
                "answer \"Are you sure?\" No\n"
                "when text #1009 \"128\" press \"Exit\"\n"
                "tap \"Coding\"\npress \"SELECT\"\n"
                "when text #1001 \"ENTER NEW CODE\" type \"999\" into #1005\ncheck #1006\n"
                "press \"Exit\"\n"
                "when title \"OPTIONS MENU\" press \"Exit\"\n",
                "/EXE");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    const auto sent = sentMessages(readWholeFile(copy.root() / "wire.trace").value_or(""));
    ASSERT_TRUE(anyStartsWith(sent, "85 00 F1 31 B9 01 03 1E"));  // channel 30 was read
    EXPECT_FALSE(anyStartsWith(sent, "86 00 F1 31 B9"));          // no test value
    EXPECT_FALSE(anyStartsWith(sent, "8C 00 F1 31 BB"));          // no save
    EXPECT_FALSE(anyStartsWith(sent, "07 00 10"));                // no coding block
    EXPECT_TRUE(anyStartsWith(sent, "03 00 00 00"));              // the coding's identification
}

}  // namespace
}  // namespace corvan::e2e
