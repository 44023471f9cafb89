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
#include "sample_items.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxRounds = 4;

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

DemoRun runInDemonstration(const SampleItem& item, const std::set<std::string>& presses) {
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
    std::vector<std::string> args = item.ecorRunArgs();
    for (const char* a : {"--mode", "DEMO", "--headless", "--technician"}) args.push_back(a);
    args.push_back(scriptFile.string());
    for (const std::string& a :
         {std::string("--screens"), screens.string(), std::string("--trace"), trace.string()})
        args.push_back(a);
    r.run = runProgram(ECOR_RUN_PATH, args, 120000);
    r.dump = readWholeFile(screens).value_or("");
    r.trace = readWholeFile(trace).value_or("");
    return r;
}

TEST(DemonstrationSweep, NoFunctionSendsAFrameWhateverIsPressed) {
    const std::vector<SampleItem> items = sampleMenuItems();
    ASSERT_GE(items.size(), 20u);  // every function the sample installation has
    std::set<std::string> plugins;
    for (const SampleItem& item : items) {
        plugins.insert(item.plugin);
        std::set<std::string> known;
        for (int round = 0; round < kMaxRounds; ++round) {
            const DemoRun r = runInDemonstration(item, known);
            const std::string where =
                item.record + " " + item.id + " " + item.plugin + " round " + std::to_string(round);
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
