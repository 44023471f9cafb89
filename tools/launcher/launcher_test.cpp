#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/process.h"
#include "platform/test_temp_dir.h"
#include "tools/launcher/loader.h"
#include "tools/launcher/shell_wait.h"
#include "ui/headless_screen.h"

namespace corvan::launcher {
namespace {

// A probe that answers from a list (the last answer repeats) and notes the clock's time of
// every probe.
struct ScriptedProbe {
    ScriptedProbe(Clock& c, std::vector<ProbeResult> a) : clock(c), answers(std::move(a)) {}
    ProbeResult operator()() {
        times.push_back(clock.nowMs());
        const size_t i = std::min(times.size(), answers.size()) - 1;
        return answers[i];
    }
    Clock& clock;
    std::vector<ProbeResult> answers;
    std::vector<int64_t> times;
};

using enum ProbeResult;

TEST(ShellWait, CardAlreadyThereStartsAtOnce) {
    VirtualClock clock;
    ScriptedProbe probe(clock, {Present});
    EXPECT_EQ(waitForShellFile(std::ref(probe), clock), Present);
    EXPECT_EQ(probe.times, std::vector<int64_t>{0});
}

TEST(ShellWait, MissingFileIsProbedEvery200Ms) {
    VirtualClock clock;
    ScriptedProbe probe(clock, {Missing, Missing, Missing, Missing, Present});
    EXPECT_EQ(waitForShellFile(std::ref(probe), clock), Present);
    EXPECT_EQ(probe.times, (std::vector<int64_t>{0, 200, 400, 600, 800}));
}

TEST(ShellWait, AnyOtherErrorEndsTheWait) {
    VirtualClock clock;
    ScriptedProbe probe(clock, {Missing, Failed, Missing});
    EXPECT_EQ(waitForShellFile(std::ref(probe), clock), Failed);
    EXPECT_EQ(probe.times, (std::vector<int64_t>{0, 200}));
}

TEST(ShellWait, ProbeOfHostFiles) {
    testing::TempDir dir;
    std::ofstream(dir.path() / "ECORVANDATA.EXE") << "x";
    EXPECT_EQ(probeFile(dir.path() / "ECORVANDATA.EXE"), Present);
    EXPECT_EQ(probeFile(dir.path() / "MISSING.EXE"), Missing);
    EXPECT_EQ(probeFile(dir.path() / "no card" / "ECORVANDATA.EXE"), Missing);
    // A path through a file is no missing card: waiting would not help.
    EXPECT_EQ(probeFile(dir.path() / "ECORVANDATA.EXE" / "x"), Failed);
}

// A card that is mounted after the loader started, its folders spelled in other letter
// cases than the device path: found on the probe after it appears, and started from there.
TEST(ShellWait, CardMountedLaterInOtherLetterCaseIsFound) {
    testing::TempDir dir;
    const DeviceRoot root(dir.path());
    VirtualClock clock;
    int probes = 0;
    const auto probe = [&] {
        if (++probes == 3) {
            std::filesystem::create_directories(dir.path() / "Storage Card" / "CorvanData");
            std::ofstream(dir.path() / "Storage Card" / "CorvanData" / "eCorvanData.exe") << "x";
        }
        return probeShell(root);
    };
    EXPECT_EQ(waitForShellFile(probe, clock), Present);
    EXPECT_EQ(probes, 3);
    EXPECT_EQ(shellFile(root), dir.path() / "Storage Card" / "CorvanData" / "eCorvanData.exe");
}

class RecordingStarter final : public ProcessStarter {
  public:
    std::unique_ptr<RunningProcess> start(const std::string& program,
                                          const std::vector<std::string>& args,
                                          std::string* error) override {
        programs.push_back(program);
        arguments.push_back(args);
        if (fails) {
            if (error) *error = "cannot start";
            return nullptr;
        }
        return std::make_unique<Running>();
    }
    bool fails = false;
    std::vector<std::string> programs;
    std::vector<std::vector<std::string>> arguments;

  private:
    struct Running final : RunningProcess {
        std::optional<int> waitFor(int) override { return 0; }
        int pid() const override { return 1; }
    };
};

class LoaderTest : public ::testing::Test {
  protected:
    LoaderTest() {
        host.screen = &screen;
        host.dialogClock = &dialogClock;
        host.workerClock = &workerClock;
        host.starter = &starter;
        host.shellProgram = [] { return std::string("/card/ECORVANDATA.EXE"); };
        host.shellOptions = {"--root", "/card"};
    }

    ui::HeadlessScreen screen;
    VirtualClock dialogClock, workerClock;
    RecordingStarter starter;
    LoaderHost host;
};

TEST_F(LoaderTest, WaitsBehindItsDialogThenStartsTheShellOnce) {
    ScriptedProbe probe(workerClock, {Missing, Missing, Present});
    host.probe = std::ref(probe);
    EXPECT_TRUE(runLoader(host));
    EXPECT_EQ(probe.times, (std::vector<int64_t>{0, 200, 400}));
    EXPECT_EQ(starter.programs, std::vector<std::string>{"/card/ECORVANDATA.EXE"});
    EXPECT_EQ(starter.arguments[0], (std::vector<std::string>{"--root", "/card"}));
    const auto* dialog = screen.lastSnapshot("LOADER");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->reason, "destroyed");
    EXPECT_TRUE(dialog->everShown);
    EXPECT_EQ(dialog->control(100)->text, "Cargando CORVANDATA ...");
    EXPECT_TRUE(screen.dialogs().empty());
}

TEST_F(LoaderTest, OtherProbeErrorTriesTheStartOnceAndClosesSilently) {
    ScriptedProbe probe(workerClock, {Failed});
    host.probe = std::ref(probe);
    starter.fails = true;
    EXPECT_FALSE(runLoader(host));
    EXPECT_EQ(starter.programs.size(), 1u);
    EXPECT_EQ(workerClock.nowMs(), 0);
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_TRUE(screen.dialogs().empty());
}

}  // namespace
}  // namespace corvan::launcher
