// Key coding and airbag units through the engine: eCor started as the shell starts it, on
// the sample installation's simulated box (virtual clock), a technician script working the
// function menu and the module, and the screen dump and wire trace it leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

struct Session {
    ProgramRun run;
    std::string dump, trace;
};

Session engineSession(const std::string& script, const std::string& commandLine) {
    corvan::testing::TempDir dir;
    const auto scriptFile = dir.path() / "technician.txt";
    const auto screens = dir.path() / "screens.txt", trace = dir.path() / "wire.trace";
    writeFileAtomic(scriptFile, script);
    Session s;
    s.run = runProgram(ECOR_PATH, {"--headless", "--technician", scriptFile.string(), "--screens",
                                   screens.string(), "--trace", trace.string(), commandLine});
    s.dump = readWholeFile(screens).value_or("");
    s.trace = readWholeFile(trace).value_or("");
    return s;
}

// The lines of the dump that start with `prefix`, in order.
std::vector<std::string> linesStarting(const std::string& dump, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& line : linesOf(dump))
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    return out;
}

size_t sentCount(const std::string& trace, const std::string& frameStart) {
    size_t n = 0;
    for (const std::string& line : linesOf(trace))
        if (line.find(" TX " + frameStart) != std::string::npos) ++n;
    return n;
}

TEST(CodingUnitsThroughTheEngine, AKeyLearntRaisesTheOpelImmobilizersKeyCount) {
    const Session s =
        engineSession(R"script(
tap "Identification"
press "SELECT"
after 20 pumps when title "ECU IDENTIFICATION" press "Exit"
tap "Key coding"
press "SELECT"
type "1975" into #1003
press "Codify Key"
answer "Insert key" Ok
answer "Key codified" Ok
tap "Identification"
press "SELECT"
after 20 pumps when title "ECU IDENTIFICATION" press "Exit"
when title "OPTIONS MENU" press "Exit"
)script",
                      "/IMMO_OPEL_CAN.TXT /OPEL ASTRA H INMOVILIZADOR IMMO - CAN /EXE");
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    // The identification before and after: one key, then two.
    EXPECT_EQ(linesStarting(s.dump, "    row 0 \"Keys learnt\" | "),
              (std::vector<std::string>{"\"01\"", "\"02\""}));
    EXPECT_EQ(messageBoxTexts(s.dump).back(), "Key codified");
    // The PIN went to the immobilizer twice (before the loop and for the key) and is kept
    // only inside those requests of the trace, never in the dump.
    EXPECT_EQ(sentCount(s.trace, "80 0A 20 00 02 45 06 3B 60 31 39 37 35"), 2u);
    EXPECT_EQ(sentCount(s.trace, "80 06 20 00 02 45 02 3B 69"), 1u);
    EXPECT_EQ(s.dump.find("1975"), std::string::npos);
    EXPECT_NE(s.dump.find("type \"****\" into #1003"), std::string::npos);
}

TEST(CodingUnitsThroughTheEngine, APassengerAirbagSwitchedOffShowsOnTheNextRead) {
    const Session s =
        engineSession(R"script(
tap "Passenger airbag"
press "SELECT"
when text #1000 "ON (UNLOCKED)" dump
press "SRP OFF (LOCK)"
answer "Acción realizada" Ok
when text #1000 "OFF (LOCKED)" dump
close
tap "Passenger airbag"
press "SELECT"
when text #1000 "SRP STATUS" dump
close
when title "OPTIONS MENU" press "Exit"
)script",
                      "/AIRBAG_RENAULT.TXT /RENAULT MEGANE II AIRBAG AUTOLIV SRP /EXE");
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    const auto statuses = linesStarting(s.dump, "  label #1000 ");
    // On, switched off, read again in the same dialog, and read so when it opens anew.
    ASSERT_GE(statuses.size(), 4u);
    EXPECT_EQ(statuses[0], "\"SRP STATUS == ON (UNLOCKED)\"");
    EXPECT_EQ(statuses[1], "\"SRP STATUS == OFF (LOCKED)\"");
    EXPECT_EQ(statuses.back(), "\"SRP STATUS == OFF (LOCKED)\"");
    EXPECT_EQ(sentCount(s.trace, "80 04 20 00 3B 81 01"), 1u);
    EXPECT_EQ(sentCount(s.trace, "80 04 20 00 3B 81 00"), 0u);
    EXPECT_EQ(messageBoxTexts(s.dump).back(),
              "Acción realizada. Verifique el nuevo estado del airbag");
}

TEST(CodingUnitsThroughTheEngine, DemonstrationOfEveryUnitSendsNothing) {
    const std::vector<std::pair<std::string, std::string>> units = {
        {"UCH_RENAULT.TXT",
         "tap \"Key coding\"\npress \"SELECT\"\ntype \"12AB\" into #1001\n"
         "press \"Key codifying\"\n"},
        {"IMMU_NISSAN.TXT", "tap \"Key coding and pairing\"\npress \"SELECT\"\nclose\n"},
        {"IMMO_OPEL_CAN.TXT",
         "tap \"Key coding\"\npress \"SELECT\"\ntype \"1975\" into #1003\n"
         "press \"Erase all keys\"\n"},
        {"AIRBAG_RENAULT.TXT",
         "tap \"Passenger airbag\"\npress \"SELECT\"\npress \"SRP ON (UNLOCK)\"\n"
         "answer \"\" Ok\nclose\n"},
        {"AIRBAG_PSA.TXT", "tap \"Airbag coding\"\npress \"SELECT\"\nclose\n"},
    };
    for (const auto& [record, steps] : units) {
        const Session s = engineSession(steps + "when title \"OPTIONS MENU\" press \"Exit\"\n",
                                        "/" + record + " /DEMO UNIT /DEMO=1");
        ASSERT_EQ(s.run.status, 0) << record << s.run.err;
        EXPECT_EQ(s.trace.find(" TX "), std::string::npos) << record << "\n" << s.trace;
        EXPECT_NE(s.dump.find("rule 2 on FUNCMENU"), std::string::npos) << record;
    }
}

#ifdef CORVAN_SCREENSHOTS
// Width and height of a PNG picture (its IHDR chunk); 0 x 0 when it is none.
std::pair<uint32_t, uint32_t> pngSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    if (!in || head[1] != 'P' || head[12] != 'I') return {0, 0};
    const auto word = [&head](int at) {
        return uint32_t(head[at]) << 24 | uint32_t(head[at + 1]) << 16 |
               uint32_t(head[at + 2]) << 8 | head[at + 3];
    };
    return {word(16), word(20)};
}

// Each module's window on the Qt screens, drawn offscreen at the device's 320 x 240 (plus the
// caption) and left in screenshots/coding/<module> for a person to look at.
TEST(CodingUnitsThroughTheEngine, QtWindowsOfEveryUnit) {
    struct Run {
        const char* module;
        const char* commandLine;
        const char* script;
    };
    const std::vector<Run> runs = {
        {"renaultkeys", "/UCH_RENAULT.TXT /RENAULT MEGANE II INMOVILIZADOR UCH /EXE",
         "tap \"Key coding\"\npress \"SELECT\"\ntype \"12AB\" into #1001\ntype \"2\" into #1003\n"
         "press \"Key codifying\"\n"},
        {"nissankeys", "/IMMU_NISSAN.TXT /NISSAN MICRA K12 INMOVILIZADOR NATS - IMMU /EXE",
         "tap \"Key coding and pairing\"\npress \"SELECT\"\n"
         "press \"KEY CODIFYING AND PAIRING PROCEDURE\"\n"},
        {"opelcankeys", "/IMMO_OPEL_CAN.TXT /OPEL ASTRA H INMOVILIZADOR IMMO - CAN /EXE",
         "tap \"Key coding\"\npress \"SELECT\"\ntype \"1975\" into #1003\npress \"Codify Key\"\n"},
        {"renaultsrs", "/AIRBAG_RENAULT.TXT /RENAULT MEGANE II AIRBAG AUTOLIV SRP /EXE",
         "tap \"Passenger airbag\"\npress \"SELECT\"\nwhen text #1000 \"ON\" press \"SRP OFF "
         "(LOCK)\"\n"
         "when text #1000 \"OFF (LOCKED)\" close\n"},
        {"psasrs", "/AIRBAG_PSA.TXT /PEUGEOT 307 AIRBAG SAC - AUTOLIV /EXE",
         "tap \"Airbag coding\"\npress \"SELECT\"\nchoose \"Driver and passenger\"\n"
         "press \"Key codifying\"\n"},
    };
    for (const Run& r : runs) {
        SCOPED_TRACE(r.module);
        const std::filesystem::path dir = std::filesystem::path(CORVAN_SCREENSHOTS) / r.module;
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        std::filesystem::create_directories(dir, ec);
        const auto script = dir / "technician.txt";
        writeFileAtomic(script,
                        std::string(r.script) + "when title \"OPTIONS MENU\" press \"Exit\"\n");
        const ProgramRun run =
            runProgram(ECOR_PATH, {"--qt", "--screenshots", dir.string(), "--technician",
                                   script.string(), r.commandLine});
        ASSERT_EQ(run.status, 0) << run.err;
        std::vector<std::filesystem::path> windows;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().filename().string().ends_with("-" + std::string(r.module) +
                                                           "-hidden.png"))
                windows.push_back(entry.path());
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(pngSize(windows[0]), (std::pair<uint32_t, uint32_t>{320, 240 + 18}));
    }
}
#endif

}  // namespace
}  // namespace corvan::e2e
