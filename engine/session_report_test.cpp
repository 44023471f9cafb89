// The session report of real sessions: the sample engine unit's identification, its codes
// read, erased with the technician's confirmation and read again, on the simulated box and
// the virtual clock, as the engine runs them in process and as eCor and ecor-run run them.
#include "engine/session_report.h"

#include <gtest/gtest.h>

#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/install_config.h"
#include "engine/session_offer.h"
#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "runtime/journal_file.h"

namespace corvan::engine {
namespace {

constexpr const char* kSelection = "VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV";
constexpr const char* kRecord = "EDC16_KWP.TXT";
constexpr const char* kConfig =
    "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n"
    "WORKSHOP=[Garage Sol & Sons]\r\n";

// Identification, the codes, their erase and the codes again, then leave the menu.
constexpr const char* kSession =
    "tap \"Identification\"\npress \"SELECT\"\n"
    "after 20 pumps when title \"ECU IDENTIFICATION\" press \"Exit\"\n"
    "when title \"OPTIONS MENU\" tap \"Trouble codes\"\npress \"SELECT\"\n"
    "when text #1003 \"2\" press \"Exit\"\n"
    "when title \"OPTIONS MENU\" tap \"Erase codes\"\npress \"SELECT\"\n"
    "answer \"will be erased\" Yes\nanswer \"WARNING\" Yes\n"
    "answer \"Is engine running?\" No\nanswer \"Trouble codes erased\" Ok\n"
    "when title \"OPTIONS MENU\" tap \"Trouble codes\"\npress \"SELECT\"\n"
    "when text #1003 \"0\" press \"Exit\"\n"
    "when title \"OPTIONS MENU\" press \"Exit\"\n";

// The pages' text of a PDF, as a reader extracts it (empty when the tool is missing).
std::string pdfText(const std::filesystem::path& pdf) {
    const e2e::ProgramRun run = e2e::runProgram("/usr/bin/pdftotext", {pdf.string(), "-"});
    return run.status == 0 ? run.out : std::string();
}

class SessionReport : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { sample = new e2e::SampleCopy; }
    static void TearDownTestSuite() {
        delete sample;
        sample = nullptr;
    }
    void SetUp() override {
        writeFileAtomic(sample->root() / "STORAGE CARD" / "iCor.cfg", kConfig);
    }

    struct Run {
        std::string result, trace, screens, problems;
    };
    // The session of `script`; with `record`, the record lent to the plug-ins, and with
    // `offer` the question at the end as eCor asks it.
    Run run(const std::string& script, SessionRecord* record = nullptr, bool offer = false) {
        const auto scriptFile = dir.path() / "session.txt";
        writeFileAtomic(scriptFile, script);
        HostSetup setup;
        setup.root = sample->root();
        setup.installPath = "STORAGE CARD\\CORVANDATA";
        setup.port.scenarioFile = sample->install() / "SIM" / "vehicle.json";
        setup.technicianScript = scriptFile;
        setup.traceFile = dir.path() / "wire.trace";
        setup.screensFile = dir.path() / "screens.txt";
        std::string error;
        auto host = EngineHost::create(std::move(setup), &error);
        EXPECT_TRUE(host) << error;
        if (!host) return {};
        if (record) attachSessionRecord(*host, *record, true);
        const DeviceRoot root(sample->root());
        const auto text = readDataRecord(root, "STORAGE CARD\\CORVANDATA", kRecord, &error);
        EXPECT_TRUE(text) << error;
        Run out;
        out.result = runFunctionMenu(*host, *text, "EXE", kSelection, 1).result;
        if (record && offer)
            offerSessionReport(*host, *record, *readInstallConfig(root, &error), 1);
        out.problems = host->finish();
        host.reset();
        out.trace = readWholeFile(dir.path() / "wire.trace").value_or("");
        out.screens = readWholeFile(dir.path() / "screens.txt").value_or("");
        return out;
    }

    static e2e::SampleCopy* sample;
    corvan::testing::TempDir dir;
    VirtualClock clock;
};
e2e::SampleCopy* SessionReport::sample = nullptr;

TEST_F(SessionReport, HoldsTheIdentificationTheCodesAroundTheEraseAndItsResult) {
    SessionRecord record(clock, {kRecord, kSelection});
    const Run session = run(std::string(kSession) +
                                "answer \"Write the session report?\" Yes\n"
                                "answer \"Report written\" Ok\n",
                            &record, true);
    EXPECT_EQ(session.problems, "");

    std::vector<std::string> heads;
    for (const SessionEntry& e : record.entries())
        heads.push_back(e.section.head + e.section.status);
    EXPECT_EQ(heads, (std::vector<std::string>{"[IDN]", "[DTC]", "[DEL]OK", "[DTC]", "[SYS]"}));
    const ReportSection& idn = record.entries()[0].section;
    ASSERT_EQ(idn.records.size(), 10u);  // every identification record, with its value
    EXPECT_EQ(idn.records[1][1], "ECU part number");
    EXPECT_NE(idn.records[1][2], "???");
    const auto erases = record.erases();
    ASSERT_EQ(erases.size(), 1u);
    ASSERT_TRUE(erases[0].before && erases[0].after);
    ASSERT_EQ(erases[0].before->records.size(), 2u);
    EXPECT_TRUE(erases[0].after->records.empty());

    // Both files under the installation's REPORTS folder, named after record and time.
    std::vector<std::filesystem::path> files;
    for (const auto& f : std::filesystem::directory_iterator(sample->install() / "REPORTS"))
        files.push_back(f.path().filename());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].string().substr(0, 19), "EDC16_KWP_20070203_");
    EXPECT_EQ(files[0].extension(), ".html");
    EXPECT_EQ(files[1].extension(), ".pdf");
    const std::string html = readWholeFile(sample->install() / "REPORTS" / files[0]).value();
    for (const std::string& expected :
         {std::string("Garage Sol &amp; Sons"), std::string(kSelection), idn.records[1][2],
          erases[0].before->records[0][0], std::string("Codes before the erase"),
          std::string("Codes after the erase"), std::string("No trouble codes"),
          std::string("Codes erased")})
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    // The system information heads the sections; the two readings show once, in the erase.
    EXPECT_LT(html.find("System information"), html.find("Identification"));
    EXPECT_EQ(html.find("<h2>Trouble codes"), std::string::npos);
    EXPECT_EQ(html.find(erases[0].before->records[0][0]),
              html.rfind(erases[0].before->records[0][0]));

    // The PDF is a real one, and a reader finds the report's text in it.
    const auto pdf = sample->install() / "REPORTS" / files[1];
    const std::string bytes = readWholeFile(pdf).value();
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
    const std::string text = pdfText(pdf);
    for (const std::string& expected :
         {std::string("Diagnosis session report"), std::string("Garage Sol & Sons"),
          erases[0].before->records[0][0], std::string("Codes after the erase")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    std::filesystem::remove_all(sample->install() / "REPORTS");
}

TEST_F(SessionReport, CollectingChangesNeitherTheWireNorTheScreens) {
    const Run plain = run(kSession);
    SessionRecord record(clock, {kRecord, kSelection});
    const Run collected = run(kSession, &record);
    EXPECT_FALSE(record.empty());
    EXPECT_EQ(collected.result, plain.result);
    EXPECT_EQ(collected.trace, plain.trace);
    EXPECT_EQ(collected.screens, plain.screens);
    EXPECT_EQ(collected.problems, "");
}

TEST_F(SessionReport, IsWrittenInTheSessionsLanguage) {
    SessionRecord record(clock, {kRecord, kSelection});
    record.reportShown("u", "[DTC]@P0100|Luftmasse <defekt>|");
    record.pluginCalled("FAULTCODES.DLL", PluginCall{});
    record.pluginReturned("FAULTCODES.DLL", PluginCall{}, "[DEL]@KO");
    const int64_t coded = record.journal().aboutToWrite(
        JournalWrite{"coding", "KOMBI", "01234", "04321", "10 03", {}, {}, {}});
    record.journal().aboutToWrite(JournalWrite{"login", "KOMBI", "", "12345", "2B 03", {}, {}, {}});
    record.journal().answered(coded, "7F 10", false);
    clock.advanceUs(3'600'000'000);  // written an hour later
    const std::string html = sessionReportHtml(record, {"", 2, clock.civilNow()});
    // Started and written on the run's clock; each section with the time it came.
    EXPECT_NE(html.find("<td>2007-02-03 09:05:07</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>2007-02-03 10:05:07</td>"), std::string::npos);
    EXPECT_NE(html.find("<small>09:05:07</small>"), std::string::npos);
    for (const char* expected :
         {"Bericht der Diagnosesitzung", "Fehlercodes", "Codes vor dem Löschen",
          "In dieser Sitzung nicht gelesen", "Das Steuergerät hat die Codes nicht gelöscht",
          "Luftmasse &lt;defekt&gt;",
          "<td>09:05:07</td><td>KOMBI</td><td>Codierung</td><td>01234</td><td>04321</td>"
          "<td><tt>10 03</tt></td><td>7F 10 (nicht erledigt)</td>",
          "<td>Anmeldung</td><td></td><td>12345</td><td><tt>2B 03</tt></td>"
          "<td>Keine Antwort</td>"})
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    // No workshop named: no workshop line; a vehicle's report has no demonstration notice.
    EXPECT_EQ(html.find("Werkstatt"), std::string::npos);
    EXPECT_EQ(html.find("Demonstration"), std::string::npos);
    SessionRecord demo(clock, {kRecord, kSelection, true});
    const std::string demoHtml = sessionReportHtml(demo, {"", 5, clock.civilNow()});
    EXPECT_NE(demoHtml.find("valores simulados"), std::string::npos);
    EXPECT_NE(demoHtml.find("Nenhuma escrita no veículo nesta sessão"), std::string::npos);
    EXPECT_NE(demoHtml.find("A sessão não devolveu dados"), std::string::npos);
}

TEST_F(SessionReport, AFileThatCannotBeWrittenIsSaidSo) {
    std::string error;
    EXPECT_FALSE(writeSessionReport(dir.path() / "missing" / "r.html", "<html>", &error));
    EXPECT_NE(error.find("r.html"), std::string::npos);
    EXPECT_FALSE(writeSessionReport(dir.path() / "missing" / "r.pdf", "<html>", &error));
    EXPECT_FALSE(writeSessionReport(dir.path() / "r.txt", "<html>", &error));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "r.txt"));
    EXPECT_TRUE(writeSessionReport(dir.path() / "R.HTM", "<html>", &error)) << error;
}

TEST_F(SessionReport, AJournalTheHostKeptStillGetsEveryWrite) {
    struct Counting final : WriteJournal {
        int64_t aboutToWrite(const JournalWrite&) override { return ++writes; }
        void answered(int64_t, const std::string&, bool) override {}
        int64_t writes = 0;
    } file;
    HostSetup setup;
    setup.root = sample->root();
    setup.installPath = "STORAGE CARD\\CORVANDATA";
    setup.port.none = true;
    std::string error;
    auto host = EngineHost::create(std::move(setup), &error);
    ASSERT_TRUE(host) << error;
    host->services().journal = &file;
    SessionRecord record(clock, {kRecord, kSelection});
    attachSessionRecord(*host, record, true);
    attachSessionRecord(*host, record, true);  // lent twice: still one journal further on
    host->services().journal->aboutToWrite(
        JournalWrite{"erase", "ENGINE", "", "", "14 FF 00", {}, {}, {}});
    EXPECT_EQ(file.writes, 1);
    EXPECT_EQ(record.journal().writes().size(), 1u);
    EXPECT_EQ(host->services().calls, &record);
}

// eCor as the shell starts it: the question only where iCor.cfg asks for it.
class EngineProgram : public SessionReport {
  protected:
    e2e::ProgramRun ecor(const std::string& script, std::vector<std::string> extra = {}) {
        const auto scriptFile = dir.path() / "script.txt";
        writeFileAtomic(scriptFile, script);
        std::vector<std::string> args = {"--headless",
                                         "--root",
                                         sample->root().string(),
                                         "--technician",
                                         scriptFile.string(),
                                         "--screens",
                                         (dir.path() / "screens.txt").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(std::string("/") + kRecord + " /" + kSelection + " /EXE");
        return e2e::runProgram(ECOR_PATH, args);
    }
    std::string screens() const { return readWholeFile(dir.path() / "screens.txt").value_or(""); }
};

TEST_F(EngineProgram, AsksOnlyWhenTheConfigurationSaysSo) {
    const std::string leave =
        "tap \"Identification\"\npress \"SELECT\"\n"
        "after 20 pumps when title \"ECU IDENTIFICATION\" press \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n";
    const e2e::ProgramRun off = ecor(leave);
    EXPECT_EQ(off.status, 0) << off.err;
    EXPECT_EQ(off.err.find("technician script"), std::string::npos) << off.err;
    EXPECT_EQ(screens().find("session report"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(sample->install() / "REPORTS"));

    writeFileAtomic(sample->root() / "STORAGE CARD" / "iCor.cfg",
                    std::string(kConfig) + "SESSION_REPORT=[yes]\r\n");
    const e2e::ProgramRun declined = ecor(leave + "answer \"Write the session report?\" No\n");
    EXPECT_EQ(declined.status, 0) << declined.err;
    EXPECT_EQ(declined.err.find("technician script"), std::string::npos) << declined.err;
    EXPECT_EQ(e2e::messageBoxTexts(screens()).back(), "Write the session report?");
    EXPECT_FALSE(std::filesystem::exists(sample->install() / "REPORTS"));
}

TEST_F(EngineProgram, WritesTheReportNamedOnTheCommandLineWithoutAsking) {
    const auto html = dir.path() / "session.html";
    const e2e::ProgramRun run = ecor(kSession, {"--session-report", html.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("technician script"), std::string::npos) << run.err;
    const std::string text = readWholeFile(html).value_or("");
    EXPECT_NE(text.find("Codes before the erase"), std::string::npos);
    EXPECT_NE(text.find("ECU part number"), std::string::npos);

    // The report pass and ecor-run write one too; a file that is neither HTML nor PDF is a
    // bad command line.
    const auto pdf = dir.path() / "pass.pdf";
    const e2e::ProgramRun pass = e2e::runProgram(
        ECOR_PATH, {"--root", sample->root().string(), "--report", "--session-report", pdf.string(),
                    std::string("/") + kRecord + " /" + kSelection + " /EXE"});
    EXPECT_EQ(pass.status, 0) << pass.err;
    EXPECT_NE(pdfText(pdf).find("ECU part number"), std::string::npos);
    const auto single = dir.path() / "one.html";
    const e2e::ProgramRun one = e2e::runProgram(
        ECOR_RUN_PATH, {"IDENTIFY.DLL", "--root", sample->root().string(), "--text",
                        (sample->install() / "FICHAS" / kRecord).string(), "--start-at", "<MNU",
                        "--mode", "REPORT", "--name", "GOLF", "--session-report", single.string()});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_NE(readWholeFile(single).value_or("").find("ECU part number"), std::string::npos);
    EXPECT_EQ(ecor(kSession, {"--session-report", (dir.path() / "x.txt").string()}).status, 1);
}

// eCor keeps every write of a session in the vehicle's journal, beside the report, and the
// function menu's journal screen (WRITE_JOURNAL=[ON]) lists what it holds.
TEST_F(EngineProgram, KeepsTheSessionsWritesInTheVehiclesJournal) {
    const DeviceRoot root(sample->root());
    VirtualClock clock;
    const JournalFile journal(root, clock, "STORAGE CARD\\CORVANDATA",
                              std::string(kRecord) + " " + kSelection);
    const size_t before = journal.entries().size();
    const auto html = dir.path() / "session.html";
    const e2e::ProgramRun run = ecor(kSession, {"--session-report", html.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<JournalEntry> entries = journal.entries();
    ASSERT_EQ(entries.size(), before + 1);
    const JournalEntry& erase = entries.back();
    EXPECT_EQ(erase.write.kind, "erase");
    ASSERT_FALSE(erase.write.sent.empty());
    EXPECT_TRUE(erase.answered && erase.done) << erase.answer;
    EXPECT_EQ(erase.vehicle, std::string(kRecord) + " " + kSelection);
    EXPECT_NE(readWholeFile(html).value_or("").find(erase.write.sent), std::string::npos)
        << erase.write.sent;

    // A demonstration sends nothing to the car and journals nothing.
    const e2e::ProgramRun demo =
        e2e::runProgram(ECOR_PATH, {"--headless", "--root", sample->root().string(), "--technician",
                                    (dir.path() / "script.txt").string(),
                                    std::string("/") + kRecord + " /" + kSelection + " /DEMO=1"});
    EXPECT_EQ(demo.status, 0) << demo.err;
    EXPECT_EQ(journal.entries().size(), before + 1);

    // The journal screen of the function menu shows the erase.
    writeFileAtomic(sample->root() / "STORAGE CARD" / "iCor.cfg",
                    std::string(kConfig) + "WRITE_JOURNAL=[ON]\r\n");
    const e2e::ProgramRun browse = ecor(
        "tap \"Write journal\"\npress \"SELECT\"\nafter 20 pumps dump\npress \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    writeFileAtomic(sample->root() / "STORAGE CARD" / "iCor.cfg", kConfig);
    EXPECT_EQ(browse.status, 0) << browse.err;
    EXPECT_EQ(browse.err.find("technician script"), std::string::npos) << browse.err;
    EXPECT_NE(screens().find(erase.write.sent), std::string::npos) << screens();
}

}  // namespace
}  // namespace corvan::engine
