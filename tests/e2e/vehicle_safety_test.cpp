// Every function of the sample installation that changes the vehicle, run in ecor-run on the
// simulated box (mode EXE, the technician's presses from a script): the requests that erase,
// code, save, teach keys, switch the airbag or reset a service counter reach the line only
// after the technician asked for them and confirmed every question the function puts first.
//
// Each row runs the presses that lead to the write:
// - with every confirmation answered Yes: the write is on the line (so the row's frames and
//   presses are right and the other runs can fail);
// - once per confirmation, with that one answered No (the question is shown and declined):
//   none of the row's writes;
// - where the function asks nothing before it writes, without the press that leads to the
//   write: none of them (the write follows the technician's own press, never a read);
// - in mode REPORT, with nobody at the screen and with the same presses: none of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "runtime/param_text.h"
#include "sample_items.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

struct SafetyRow {
    std::string what;        // what the technician does
    std::string record, id;  // the menu item
    std::string ecu;         // the sample scenario's unit the box start-up would connect to
    // The frames that change the vehicle, as the wire trace writes them from the frame's
    // first byte ("80 ..."), check byte left out; ".." stands for a byte of the unit's own
    // (its address). Each must be on the line once the technician confirmed.
    std::vector<std::string> writes;
    // The technician's presses: a script of data/sample/scripts ("@name.txt", its function
    // menu rules left out, as ecor-run starts at the item) or the rules themselves.
    std::string presses;
    // The questions the function must ask before the writes, as the script answers them
    // ("answer "TEXT" Yes"); each is declined in a run of its own.
    std::vector<std::string> confirmations;
    // Where it asks nothing: the script's line whose press leads to the writes.
    std::string trigger;
    // Frames this item must never send, whatever is pressed and confirmed.
    std::vector<std::string> never = {};
    // The function works in report mode as it does in EXE, questions included (nobody at
    // the screen declines them all); every other writing function does nothing there.
    bool reportAsExe = false;
};

const std::string kErase = "80 07 20 00 C4 10 FA 14 FF 00";

const std::vector<SafetyRow> kRows = {
    // The erase entry asks its own question, then the erase module runs its self-test behind
    // the self-test's warning: declining either keeps the erase request off the line.
    {"erase the engine unit's trouble codes",
     "EDC16_KWP.TXT",
     "M03",
     "engine",
     {kErase},
     "answer \"will be erased\" Yes\nanswer \"WARNING\" Yes\nanswer \"Is engine running?\" No\n"
     "answer \"Trouble codes erased\" Ok\n",
     {"will be erased", "WARNING"},
     ""},
    // The self-test drives fan, fuel pump and other actuators once started: only after its
    // warning. Its list's erase button only says where erasing is done.
    {"run the self-test and press its erase button",
     "EDC16_KWP.TXT",
     "M02",
     "engine",
     {"80 07 20 00 C4 10 FA 31 81 00"},
     "answer \"WARNING\" Yes\nanswer \"Is engine running?\" No\n"
     "when title \"AUTOTEST\" press \"Erase DTC\"\nanswer \"Trouble menu\" Ok\n"
     "when title \"AUTOTEST\" press \"Exit\"\n",
     {"WARNING"},
     "",
     {kErase},
     true},
    // Reading the stored codes never erases them.
    {"read the stored trouble codes",
     "EDC16_KWP.TXT",
     "M01",
     "engine",
     {},
     "when title \"TROUBLE CODES\" press \"Exit\"\n",
     {},
     "",
     {kErase, "80 .. 20 00 14", "80 .. 20 00 04"}},
    // Test values and the save both wait for "Are you sure?"; the locked channel is opened
    // with the access code between two saves.
    {"save a new value of the cluster's locked channel 9",
     "KOMBI_KW1281.TXT",
     "M00",
     "kombi",
     {"80 0A 20 00 86 .. F1 31 B9", "80 10 20 00 8C .. F1 31 BB"},
     "@cluster_adaptation_login.txt",
     {"Are you sure?"},
     ""},
    // Channel 0 resets every adaptation value of the unit: the same question first.
    {"reset every adaptation value of the cluster",
     "KOMBI_KW1281.TXT",
     "M00",
     "kombi",
     {"80 09 20 00 85 .. F1 31 B9 01 03 00", "80 10 20 00 8C .. F1 31 BB 01 03 00 00"},
     "press \"Reset adaptation values\"\nanswer \"Are you sure?\" Yes\nanswer \"\" Ok\n"
     "after 5 pumps press \"Exit\"\n",
     {"Are you sure?"},
     ""},
    // Coding asks no question: the coding block follows "Change ECU code" alone.
    {"code the cluster",
     "KOMBI_KW1281.TXT",
     "M01",
     "kombi",
     {"80 08 20 00 07 00 10"},
     "@cluster_coding.txt",
     {},
     "press \"Change ECU code\""},
    // The login asks no question: the login block follows the technician's "OK".
    {"log in to the cluster with its access code",
     "KOMBI_KW1281.TXT",
     "M02",
     "kombi",
     {"80 09 20 00 08 00 2B"},
     "when text #1003 \"0\" type \"13861\" into #1003\npress \"OK\"\nanswer \"ACCEPTED\" Ok\n",
     {},
     "press \"OK\""},
    {"code a key to the Nissan immobilizer",
     "IMMU_NISSAN.TXT",
     "M00",
     "nissan-immobilizer",
     {"80 03 20 00 31 A0"},
     "press \"KEY CODIFYING AND PAIRING PROCEDURE\"\nanswer \"\" Ok\n",
     {},
     "press \"KEY CODIFYING AND PAIRING PROCEDURE\""},
    // The key learning asks no question; its boxes before the start are instructions (OK).
    {"teach two keys to the Renault immobilizer",
     "UCH_RENAULT.TXT",
     "M00",
     "renault-immobilizer",
     {"80 09 20 00 85 26 F1 31 C5", "80 08 20 00 84 26 F1 3B D2 01 00"},
     "type \"12AB\" into #1001\ntype \"2\" into #1003\npress \"Key codifying\"\n"
     "answer \"\" Ok\nanswer \"\" Ok\nanswer \"\" Ok\nanswer \"\" Ok\nanswer \"\" Ok\n",
     {},
     "press \"Key codifying\""},
    // Erasing every key of the Opel immobilizer: only the PIN goes out before the question.
    {"erase every key of the Opel immobilizer",
     "IMMO_OPEL_CAN.TXT",
     "M01",
     "opel-immobilizer",
     {"80 06 20 00 02 45 02 AA 00", "80 06 20 00 02 45 02 3B 68"},
     "type \"1975\" into #1003\npress \"Erase all keys\"\nanswer \"all keys will be erased\" Yes\n"
     "answer \"\" Ok\npress \"Exit\"\n",
     {"all keys will be erased"},
     ""},
    // Teaching a key asks no question: the learn request follows "Codify Key".
    {"teach a key to the Opel immobilizer",
     "IMMO_OPEL_CAN.TXT",
     "M01",
     "opel-immobilizer",
     {"80 06 20 00 02 45 02 3B 69"},
     "type \"1975\" into #1003\npress \"Codify Key\"\nanswer \"\" Ok\nanswer \"\" Ok\n",
     {},
     "press \"Codify Key\""},
    // The airbag switch asks no question: each switch request follows its own button.
    {"unlock the Renault passenger airbag",
     "AIRBAG_RENAULT.TXT",
     "M00",
     "renault-airbag",
     {"80 04 20 00 3B 81 00"},
     "press \"SRP ON (UNLOCK)\"\nanswer \"\" Ok\nclose\n",
     {},
     "press \"SRP ON (UNLOCK)\""},
    {"lock the Renault passenger airbag",
     "AIRBAG_RENAULT.TXT",
     "M00",
     "renault-airbag",
     {"80 04 20 00 3B 81 01"},
     "press \"SRP OFF (LOCK)\"\nanswer \"\" Ok\nclose\n",
     {},
     "press \"SRP OFF (LOCK)\""},
    // The PSA coding asks no question: the coding request follows "Key codifying".
    {"code the PSA airbag unit for driver and passenger",
     "AIRBAG_PSA.TXT",
     "M00",
     "psa-airbag",
     {"80 06 20 00 84 BB A4 02"},
     "choose \"Driver and passenger\"\npress \"Key codifying\"\nanswer \"\" Ok\n",
     {},
     "press \"Key codifying\""},
    // The service scripts ask their own questions (QUERY) before anything reaches the cluster.
    {"reset the Mercedes oil-service indicator",
     "MB_SERVICE.TXT",
     "M01",
     "service-cluster",
     {"80 03 20 00 31 01"},
     "@mb_oil_service_reset.txt",
     {"Ignition on"},
     "",
     {},
     true},
    {"change the Mercedes service interval",
     "MB_SERVICE.TXT",
     "M02",
     "service-cluster",
     {"80 05 20 00 3B 03"},
     "@mb_service_interval.txt",
     {"access code. Continue?"},
     "",
     {},
     true},
    // The BMW reset asks no question: its reset output is switched on by the button alone.
    {"reset the BMW oil service over the reset line",
     "BMW_SERVICE.TXT",
     "M00",
     "bmw-cluster",
     {"80 04 84 01 10 00 01"},
     "press \"RESET OIL SERVICE\"\nafter 400 pumps press \"Exit\"\n",
     {},
     "press \"RESET OIL SERVICE\"",
     {},
     true},
};

// The plug-ins that can change the vehicle; every sample item that names one has a row.
const std::set<std::string> kWritingPlugins = {
    "DTCVIEW.DLL",    "FAULTCODES.DLL", "VAGADAPT.DLL",    "VAGCODING.DLL",
    "VAGLOGIN.DLL",   "NISSANKEYS.DLL", "RENAULTKEYS.DLL", "OPELCANKEYS.DLL",
    "RENAULTSRS.DLL", "PSASRS.DLL",     "MBSERVICE.DLL",   "BMWSERVICE.DLL"};

// A sample script without the function menu's rules (the item's tap, "SELECT", and the
// menu's own window), since ecor-run starts at the item.
std::string sampleScript(const std::string& name) {
    const std::string text = readWholeFile(fs::path(CORVAN_SAMPLE_SCRIPTS) / name).value_or("");
    std::string rules;
    for (const std::string& line : linesOf(text)) {
        if (line.rfind("tap \"", 0) == 0 || line == "press \"SELECT\"" ||
            line.find("\"OPTIONS MENU\"") != std::string::npos)
            continue;
        rules += line + "\n";
    }
    return rules;
}

std::string pressesOf(const SafetyRow& row) {
    return row.presses.rfind('@', 0) == 0 ? sampleScript(row.presses.substr(1)) : row.presses;
}

// The script with every answer Yes to `question` turned into No.
std::string declining(std::string script, const std::string& question) {
    const std::string yes = "answer \"" + question + "\" Yes";
    const std::string no = "answer \"" + question + "\" No";
    for (size_t at = script.find(yes); at != std::string::npos; at = script.find(yes, at))
        script.replace(at, yes.size(), no);
    return script;
}

// The script without the line `rule`.
std::string withholding(const std::string& script, const std::string& rule) {
    std::string kept;
    for (const std::string& line : linesOf(script))
        if (line != rule) kept += line + "\n";
    return kept;
}

// Whether a frame written on the line begins with `pattern`.
bool sent(const std::string& trace, const std::string& pattern) {
    for (const std::string& line : linesOf(trace)) {
        const size_t tx = line.find(" TX ");
        if (tx == std::string::npos) continue;
        const std::string bytes = line.substr(tx + 4);
        if (bytes.size() < pattern.size()) continue;
        bool same = true;
        for (size_t i = 0; i < pattern.size() && same; ++i)
            same = pattern[i] == '.' || pattern[i] == bytes[i];
        if (same) return true;
    }
    return false;
}

// Whether the dump shows a box with `question` answered No by the script.
bool declinedInDump(const std::string& dump, const std::string& question) {
    const std::vector<std::string> lines = linesOf(dump);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind("  text \"", 0) != 0 || lines[i].find(question) == std::string::npos)
            continue;
        for (size_t j = i + 1; j < lines.size() && lines[j].rfind("  ", 0) == 0; ++j)
            if (lines[j].rfind("  answer No rule", 0) == 0) return true;
    }
    return false;
}

const fs::path kScenario =
    fs::path(CORVAN_SAMPLE_ROOT) / "STORAGE CARD" / "CORVANDATA" / "SIM" / "vehicle.json";

// The sample scenario with the box connected to the row's unit at power-up and repeating
// the keep-alive message of the item's record, as the box start-up leaves it; empty when
// the scenario's box is not written as expected.
std::string scenarioFor(const SafetyRow& row, const SampleItem& item) {
    std::string text = readWholeFile(kScenario).value_or("");
    const std::string record = item.recordText();
    const std::string keepAlive = GetKeyValue(record, "MNT=", findFrom(record, "#CONFIGURATION"));
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"\"keepAlive\": \"3E\"",
                                              "\"keepAlive\": \"" + keepAlive + "\""},
          {"\"connectedEcu\": \"engine\"", "\"connectedEcu\": \"" + row.ecu + "\""}}) {
        const size_t at = text.find(from);
        if (at == std::string::npos) return {};
        text.replace(at, from.size(), to);
    }
    return text;
}

const SampleItem* itemOf(const std::vector<SampleItem>& items, const SafetyRow& row) {
    for (const SampleItem& item : items)
        if (item.record == row.record && item.id == row.id) return &item;
    return nullptr;
}

struct RowRun {
    ProgramRun run;
    std::string trace, dump, where;
};

RowRun runRow(const SampleItem& item, const std::string& scenario, const std::string& mode,
              const std::string& script, const std::string& label) {
    corvan::testing::TempDir dir;
    const fs::path technician = dir.path() / "technician.txt", sim = dir.path() / "vehicle.json";
    const fs::path trace = dir.path() / "wire.trace", screens = dir.path() / "screens.txt";
    writeFileAtomic(technician, script);
    writeFileAtomic(sim, scenario);
    std::vector<std::string> args = item.ecorRunArgs();
    for (const std::string& a :
         {std::string("--mode"), mode, std::string("--lang"), std::string("1"),
          std::string("--headless"), std::string("--sim"), sim.string(),
          std::string("--technician"), technician.string(), std::string("--trace"), trace.string(),
          std::string("--screens"), screens.string()})
        args.push_back(a);
    RowRun r;
    r.run = runProgram(ECOR_RUN_PATH, args, 120000);
    r.trace = readWholeFile(trace).value_or("");
    r.dump = readWholeFile(screens).value_or("");
    r.where = item.record + " " + item.id + " " + item.plugin + " " + mode + ", " + label;
    return r;
}

// None of the row's frames (its writes, unless `writesAllowed`, and the forbidden ones) in
// the run's trace.
void expectNothingChanged(const SafetyRow& row, const RowRun& r, bool writesAllowed = false) {
    EXPECT_EQ(r.run.status, 0) << r.where << "\n" << r.run.err;
    const std::vector<std::string> none;
    for (const auto* frames : {writesAllowed ? &none : &row.writes, &row.never})
        for (const std::string& frame : *frames) {
            EXPECT_FALSE(sent(r.trace, frame)) << r.where << ": " << frame << " sent\n" << r.trace;
        }
}

TEST(VehicleSafety, NoWriteReachesTheLineWithoutThePressAndTheConfirmationsItNeeds) {
    const std::vector<SampleItem> items = sampleMenuItems();
    std::set<std::string> covered;
    for (const SafetyRow& row : kRows) {
        const SampleItem* item = itemOf(items, row);
        ASSERT_NE(item, nullptr) << row.record << " " << row.id << " is no menu item";
        covered.insert(row.record + " " + row.id);
        const std::string script = pressesOf(row), scenario = scenarioFor(row, *item);
        ASSERT_FALSE(script.empty()) << row.what;
        ASSERT_FALSE(scenario.empty()) << row.what;
        // A row that writes either declines a question or withholds the press that writes.
        if (!row.writes.empty()) {
            ASSERT_NE(row.confirmations.empty(), row.trigger.empty()) << row.what;
        }

        const RowRun confirmed = runRow(*item, scenario, "EXE", script, row.what + ", confirmed");
        EXPECT_EQ(confirmed.run.status, 0) << confirmed.where << "\n" << confirmed.run.err;
        for (const std::string& frame : row.writes)
            EXPECT_TRUE(sent(confirmed.trace, frame))
                << confirmed.where << ": " << frame << " not sent\n"
                << confirmed.trace;
        for (const std::string& frame : row.never)
            EXPECT_FALSE(sent(confirmed.trace, frame))
                << confirmed.where << ": " << frame << " sent\n"
                << confirmed.trace;

        for (const std::string& question : row.confirmations) {
            ASSERT_NE(script.find("answer \"" + question + "\" Yes"), std::string::npos)
                << row.what << ": the presses never confirm \"" << question << "\"";
            const RowRun declined = runRow(*item, scenario, "EXE", declining(script, question),
                                           row.what + ", \"" + question + "\" declined");
            EXPECT_TRUE(declinedInDump(declined.dump, question))
                << declined.where << ": the question was not asked\n"
                << declined.dump;
            expectNothingChanged(row, declined);
        }
        if (!row.trigger.empty()) {
            ASSERT_NE(script.find(row.trigger + "\n"), std::string::npos) << row.what;
            expectNothingChanged(row,
                                 runRow(*item, scenario, "EXE", withholding(script, row.trigger),
                                        row.what + ", not pressed"));
        }
        // The report pass has nobody at the screen; a technician who presses and confirms
        // changes nothing there either, but where the function works as in EXE.
        expectNothingChanged(row, runRow(*item, scenario, "REPORT", "", row.what + ", report"));
        expectNothingChanged(
            row, runRow(*item, scenario, "REPORT", script, row.what + ", report with the presses"),
            row.reportAsExe);
    }
    for (const SampleItem& item : items) {
        if (kWritingPlugins.count(item.plugin)) {
            EXPECT_TRUE(covered.count(item.record + " " + item.id))
                << item.record << " " << item.id << " " << item.plugin << " has no row";
        }
    }
}

}  // namespace
}  // namespace corvan::e2e
