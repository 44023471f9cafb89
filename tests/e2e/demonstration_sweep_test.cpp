// The demonstration across every function of the sample installation: each menu item of
// each data record runs in ecor-run with the mode "DEMO" on the simulated box, first with
// a technician who answers Yes to every question, then also presses every button the earlier
// runs showed, round after round until no new button turns up. Not one frame may reach the
// line, whatever is pressed or confirmed, and every run ends by itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "runtime/param_text.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

const fs::path kRecords = fs::path(CORVAN_SAMPLE_ROOT) / "STORAGE CARD" / "CORVANDATA" / "FICHAS";
constexpr int kMaxRounds = 4;

struct Item {
    std::string record, plugin, id;
};

// The menu items of every record that name a plug-in.
std::vector<Item> sampleItems() {
    std::vector<Item> items;
    for (const auto& entry : fs::directory_iterator(kRecords)) {
        const std::string text = cp1252ToUtf8(readWholeFile(entry.path()).value_or(""));
        const int menu = findFrom(text, "#MENU");
        if (menu < 0) continue;
        for (int at : findAll(text, "<MNU", menu)) {
            const std::string plugin = GetKeyValue(text, "DLL=", at);
            const std::string id = GetKeyValue(text, "ID=", at);
            if (!plugin.empty() && !id.empty())
                items.push_back({entry.path().filename().string(), plugin, id});
        }
    }
    return items;
}

// The labels of the visible buttons in a screen dump ("  button #N "label"").
std::set<std::string> buttonLabels(const std::string& dump) {
    std::set<std::string> labels;
    for (const std::string& line : linesOf(dump)) {
        const size_t at = line.find("button #");
        if (at == std::string::npos || line.find(" hidden") != std::string::npos) continue;
        const size_t open = line.find('"', at), close = line.rfind('"');
        if (open == std::string::npos || close <= open + 1) continue;
        labels.insert(line.substr(open + 1, close - open - 1));
    }
    return labels;
}

struct DemoRun {
    ProgramRun run;
    std::string dump, trace;
};

DemoRun runInDemonstration(const Item& item, const std::set<std::string>& presses) {
    corvan::testing::TempDir dir;
    // Every question is confirmed: erasing, coding, saving are what the demonstration must
    // refuse to send. Leaving words come last, so that everything else is pressed first.
    const std::string yes = "answer \"\" Yes\n";
    std::string script = yes + yes;
    for (bool leaving : {false, true})
        for (const std::string& label : presses) {
            const bool leaves = label == "Exit" || label == "Salir" || label == "Cancel";
            if (leaves == leaving) script += "press \"" + label + "\"\n" + yes;
        }
    const fs::path scriptFile = dir.path() / "technician.txt";
    writeFileAtomic(scriptFile, script);
    const fs::path screens = dir.path() / "screens.txt", trace = dir.path() / "wire.trace";
    DemoRun r;
    r.run = runProgram(ECOR_RUN_PATH,
                       {item.plugin, "--root", CORVAN_SAMPLE_ROOT, "--text",
                        (kRecords / item.record).string(), "--start-at", "ID=\t[" + item.id + "]",
                        "--mode", "DEMO", "--headless", "--technician", scriptFile.string(),
                        "--screens", screens.string(), "--trace", trace.string()},
                       120000);
    r.dump = readWholeFile(screens).value_or("");
    r.trace = readWholeFile(trace).value_or("");
    return r;
}

TEST(DemonstrationSweep, NoFunctionSendsAFrameWhateverIsPressed) {
    const std::vector<Item> items = sampleItems();
    ASSERT_GE(items.size(), 20u);  // every function the sample installation has
    std::set<std::string> plugins;
    for (const Item& item : items) {
        plugins.insert(item.plugin);
        std::set<std::string> known;
        for (int round = 0; round < kMaxRounds; ++round) {
            const DemoRun r = runInDemonstration(item, known);
            const std::string where = item.record + " " + item.id + " " + item.plugin +
                                      " round " + std::to_string(round);
            ASSERT_EQ(r.run.status, 0) << where << "\n" << r.run.err;
            EXPECT_EQ(r.trace.find("TX"), std::string::npos) << where << "\n" << r.trace;
            std::set<std::string> seen = buttonLabels(r.dump);
            seen.insert(known.begin(), known.end());
            if (seen == known) break;
            known = std::move(seen);
        }
    }
    EXPECT_EQ(plugins.size(), 17u);  // every plug-in a sample record names
}

}  // namespace
}  // namespace corvan::e2e
