// Box start-up against the simulated box: what goes on the wire, what the technician sees and
// what the function menu gets back.
#include "plugins/boxstart/box_startup.h"

#include <gtest/gtest.h>

#include "plugins/boxstart/boxstart.h"
#include "plugins/boxstart/boxstart_test_support.h"
#include "plugins/boxstart/download_plan.h"
#include "runtime/commands.h"
#include "runtime/testing/link_fixture.h"

namespace corvan::boxstart {
namespace {

using testing::BoxSetup;
using testing::Bytes;
using testing::Rig;
using testing::Stage;

const std::string kText = testing::section(testing::kLineKeys());
constexpr const char* kAnswer = "C1EF8F";  // the unit's answer to the connection
constexpr const char* kRetryPrompt = "No response from VarBox\nRETRY?";

// Command bytes up to (without) the first connection-status request: the start-up's own.
Bytes startUpCommands(const Rig& rig) {
    Bytes all = rig.commands();
    const auto end = std::find(all.begin(), all.end(), cmd::kConnectionStatus);
    return Bytes(all.begin(), end);
}

// The data blocks on the wire (the transfer end, also command 0x1A, left out).
std::vector<Bytes> dataBlocks(const Rig& rig) {
    std::vector<Bytes> blocks = rig.framesWith(cmd::kDownloadBlock);
    std::erase_if(blocks, [](const Bytes& f) { return f.size() != 259; });
    return blocks;
}

size_t transferEnds(const Rig& rig) {
    size_t n = 0;
    for (const Bytes& f : rig.framesWith(cmd::kDownloadBlock)) n += f == cmd::downloadEndRequest();
    return n;
}

bool containsInOrder(const std::vector<Stage>& seen, const std::vector<Stage>& wanted) {
    auto it = seen.begin();
    for (const Stage& w : wanted) {
        it = std::find(it, seen.end(), w);
        if (it == seen.end()) return false;
    }
    return true;
}

BoxSetup emptyBox() {
    BoxSetup s;
    s.program = "none";
    return s;
}

TEST(BoxAlreadyRunsTheDriver, IsStartedWithoutDownload) {
    BoxSetup loaded;
    loaded.program = "loaded";
    Rig rig(loaded);
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(startUpCommands(rig), (Bytes{0x13, 0x15, 0x13, 0xF0, 0x0F}));
    EXPECT_EQ(rig.framesWith(cmd::kDownloadBlock).size(), 0u);
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
}

TEST(BoxAlreadyRunsTheDriver, RunningDriverIsResetFirst) {
    Rig rig;
    EXPECT_EQ(rig.run(kText), kAnswer);
    // The status reply carries the running driver's flag: reset, then the same checks.
    EXPECT_EQ(startUpCommands(rig), (Bytes{0x13, 0x88, 0x15, 0x13, 0xF0, 0x0F}));
    EXPECT_EQ(rig.frames()[2], cmd::memorySetupRequest(kLoadAreaSetup));
}

TEST(BoxAlreadyRunsTheDriver, NameWithoutBlankSkipsTheDownload) {
    BoxSetup s;
    s.driverName = "CANBUS";
    s.extra = R"("nameBlank": false)";
    Rig rig(s);
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(rig.framesWith(cmd::kDownloadBlock).size(), 0u);
}

TEST(BoxAlreadyRunsTheDriver, OtherDriverIsReplaced) {
    BoxSetup s;
    s.driverName = "CANBUS";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 600));
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(startUpCommands(rig), (Bytes{0x13, 0x88, 0x15, 0x13, 0xF0, 0x0F, 0x88, 0x13, 0x15,
                                           0x1A, 0x1A, 0x1A, 0x15, 0x1A, 0x15, 0x13, 0xF0}));
    EXPECT_EQ(rig.box->driverName(), "KWP2000");
}

TEST(Download, DriverOf300BytesGoesInTwoBlocks) {
    Rig rig(emptyBox());
    const Bytes image = testing::driverImage("KWP2000", 300);
    rig.writeDriver("KWP2000.DRV", image);
    EXPECT_EQ(rig.run(kText), kAnswer);

    EXPECT_EQ(startUpCommands(rig),
              (Bytes{0x13, 0x15, 0x13, 0x13, 0x15, 0x1A, 0x1A, 0x15, 0x1A, 0x15, 0x13, 0xF0}));
    const std::vector<Bytes> blocks = dataBlocks(rig);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(Bytes(blocks[0].begin(), blocks[0].begin() + 3), (Bytes{0x01, 0x00, 0x1A}));
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 256, blocks[0].begin() + 3));
    EXPECT_TRUE(std::equal(image.begin() + 256, image.end(), blocks[1].begin() + 3));
    EXPECT_TRUE(
        std::all_of(blocks[1].begin() + 3 + 44, blocks[1].end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(rig.framesWith(cmd::kMemorySetup)[2], cmd::memorySetupRequest(kEndJumpSetup));
    EXPECT_EQ(transferEnds(rig), 1u);
    EXPECT_EQ(rig.box->program(), sim::ProgramState::Running);
    EXPECT_EQ(rig.box->driverName(), "KWP2000");
}

// On a line paced at 9600 baud each block is out before its reply is read, so the box's
// prompt acknowledge is found by the first read: the download costs the wire time of its
// frames and the start-up's own pauses (200 ms before the start request, 500 ms after it),
// no pause after an empty read.
TEST(Download, OnAPacedLineTakesTheWireTimeAndThePrescribedPausesOnly) {
    std::string json = testing::scenarioJson(emptyBox());
    json.insert(1, R"("timing": {"pacing": true, "baud": 9600}, )");
    Rig rig{std::string_view(json)};
    corvan::testing::FrameLog log;
    rig.host.frames = &log;
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 2560));
    const int64_t t0 = rig.clock.nowUs();
    ASSERT_EQ(StartBox(rig.context(), std::string(testing::kKwpDriverPath), "EXE", false),
              kBoxStarted);
    const int64_t spent = rig.clock.nowUs() - t0;
    size_t bytes = 0;
    for (const Bytes& f : log.sent) bytes += f.size();
    for (const auto& r : log.received) bytes += r.bytes.size();
    EXPECT_EQ(dataBlocks(rig).size(), 10u);
    const int64_t wireUs = int64_t(bytes) * 10 * 1000000 / 9600;
    EXPECT_GE(spent, wireUs + 700000);
    // Each block's frame and reply may start a little after the last: no more than 1 ms.
    EXPECT_LE(spent, wireUs + 700000 + int64_t(log.sent.size()) * 1000);
}

TEST(Download, NextStartUpFindsTheNewDriver) {
    Rig rig(emptyBox());
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    ASSERT_EQ(rig.run(kText), kAnswer);
    const size_t blocks = dataBlocks(rig).size();
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(dataBlocks(rig).size(), blocks);
}

TEST(Download, ProgressWindowShowsTheStages) {
    Rig rig(emptyBox());
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    ASSERT_EQ(rig.run(kText), kAnswer);
    EXPECT_TRUE(rig.progressShown);
    EXPECT_TRUE(containsInOrder(rig.stages, {{"Checking version", 2},
                                             {"Initializing program", 4},
                                             {"Checking program", 6},
                                             {"Checking program", 10},
                                             {"Initializing VARBOX", 15},
                                             {"Data Transfer", 20},
                                             {"Data Transfer", 98},
                                             {"Checking program", 99},
                                             {"Checking program", 100},
                                             {"Checking VARBOX status", 40},
                                             {"Checking adapter", 67},
                                             {"Checking configuration", 60},
                                             {"Connection attempts: 1 from 2", 75}}));
    const auto& shots = rig.screen.snapshots();
    ASSERT_EQ(shots.size(), 2u);  // the start-up's window, then the connection's
    EXPECT_EQ(shots[0].title, "ECU CONNECTION");
    EXPECT_EQ(shots[1].title, "");
    EXPECT_EQ(shots[1].control(1001)->value, 100);
    EXPECT_EQ(shots[1].control(1002)->text, "Checking VARBOX status");
}

TEST(Download, TitleAndStagesFollowTheLanguage) {
    Rig rig(emptyBox());
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    ASSERT_EQ(rig.run(kText, "EXE", kGerman), kAnswer);
    EXPECT_EQ(rig.screen.snapshots()[0].title, "ANSCHLUSS ECU");
    EXPECT_TRUE(containsInOrder(rig.stages,
                                {{"Datenübertragung", 20}, {"Anschlussversuche: 1 von 2", 75}}));
}

TEST(Download, AtModeDownloadsAtOnceWithoutWindowOrPrompts) {
    Rig rig;  // runs the right driver already: "@" downloads anyway
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText, "@"), kAnswer);
    EXPECT_EQ(startUpCommands(rig), (Bytes{0x15, 0x1A, 0x1A, 0x15, 0x1A, 0x15, 0x13, 0xF0}));
    EXPECT_FALSE(rig.progressShown);
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
}

TEST(Download, ModeWithAtShowsWhatIsBeforeIt) {
    Rig rig;
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText, "EXE@"), kAnswer);
    EXPECT_EQ(startUpCommands(rig).front(), cmd::kMemorySetup);
    EXPECT_TRUE(rig.progressShown);
}

TEST(Download, RefusedBlockIsSentAgain) {
    BoxSetup s = emptyBox();
    s.extra = R"("download": {"refuseBlock": 0, "refuseTimes": 1})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    const int64_t before = rig.clock.nowUs();
    EXPECT_EQ(rig.run(kText), kAnswer);
    const std::vector<Bytes> blocks = dataBlocks(rig);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], blocks[1]);
    EXPECT_NE(blocks[1], blocks[2]);
    EXPECT_EQ(transferEnds(rig), 1u);
    EXPECT_GE(rig.clock.nowUs() - before, 200'000);
}

TEST(Download, ThirdRefusalEndsTheAttempt) {
    BoxSetup s = emptyBox();
    s.extra = R"("download": {"refuseBlock": 0, "refuseTimes": 3})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText), kAnswer);
    const std::vector<Bytes> blocks = dataBlocks(rig);
    ASSERT_EQ(blocks.size(), 5u);  // block 0 three times, then both blocks again
    EXPECT_EQ(blocks[0], blocks[2]);
    EXPECT_EQ(transferEnds(rig), 1u);  // the first attempt never closed its transfer
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
}

TEST(Download, FifthAttemptStillSucceeds) {
    BoxSetup s = emptyBox();
    s.extra = R"("download": {"failDownloads": 4})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(transferEnds(rig), 5u);
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
}

TEST(Download, FiveFailedAttemptsGiveError0) {
    BoxSetup s = emptyBox();
    s.extra = R"("download": {"failDownloads": 5})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText), "ERROR 0");
    EXPECT_EQ(transferEnds(rig), 5u);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"LOAD INFORMATION ERROR"}));
    EXPECT_TRUE(rig.framesWith(cmd::kConnectionStatus).empty());
}

TEST(Download, FiveFailedSilentAttemptsShowNothing) {
    BoxSetup s = emptyBox();
    s.extra = R"("download": {"failDownloads": 5})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText, ""), "ERROR 0");
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
    EXPECT_FALSE(rig.progressShown);
}

TEST(Download, SilentMemorySetupCountsAsFailedDownload) {
    BoxSetup s = emptyBox();
    // The set-up before the state check passes; the one before the blocks is not heard.
    s.faults = R"({"kind": "silence", "command": "15", "skip": 1, "count": 3})";
    Rig rig(s);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(rig.run(kText), kAnswer);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{kRetryPrompt}));
    EXPECT_EQ(dataBlocks(rig).size(), 2u);
}

TEST(Download, ShortDriverIsOneFilledBlock) {
    Rig rig(emptyBox());
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 40));
    EXPECT_EQ(rig.run(kText), kAnswer);
    const std::vector<Bytes> blocks = dataBlocks(rig);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0][3 + 40], 0);
    EXPECT_TRUE(std::find(rig.stages.begin(), rig.stages.end(), Stage{"Data Transfer", 17}) !=
                rig.stages.end());
}

TEST(DriverFile, MissingFileIsNamedAndEndsAtOnce) {
    Rig rig(emptyBox());
    EXPECT_EQ(rig.run(kText), "ERROR 2");
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{
                                  "ERROR: can´t open STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV "
                                  "DRIVER"}));
    EXPECT_EQ(startUpCommands(rig), (Bytes{0x13, 0x15, 0x13, 0x13}));
    EXPECT_TRUE(rig.framesWith(cmd::kConnectionStatus).empty());
}

TEST(DriverFile, MissingFileMessageInGerman) {
    Rig rig(emptyBox());
    EXPECT_EQ(rig.run(kText, "EXE", kGerman), "ERROR 2");
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{
                                  "FEHLER: DRIVER STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV kann "
                                  "nicht geöffnet werden."}));
}

TEST(DriverFile, OversizedFileIsTreatedAsLackOfMemory) {
    Rig rig(emptyBox());
    rig.writeDriver("KWP2000.DRV", {});
    std::filesystem::resize_file(
        rig.dir.path() / "STORAGE CARD" / "CORVANDATA" / "drv" / "KWP2000.DRV", (16u << 20) + 1);
    EXPECT_EQ(rig.run(kText), "ERROR 0");
    const std::vector<std::string> texts = rig.boxTexts();
    ASSERT_EQ(texts.size(), 6u);  // one per attempt, then the load error
    EXPECT_EQ(texts[0], "Insufficinet memory space.\nClose programs in order to free memory space");
    EXPECT_EQ(texts[5], "LOAD INFORMATION ERROR");
    EXPECT_TRUE(dataBlocks(rig).empty());
}

TEST(StartMessage, MsgIniIsShownFirst) {
    Rig rig;
    EXPECT_EQ(rig.run(testing::section(
                  testing::with(testing::kLineKeys(), "MSGINI", "Ignition on, engine off"))),
              kAnswer);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"Ignition on, engine off"}));
}

TEST(SilentBox, PromptDeclinedGivesError2) {
    BoxSetup s;
    s.faults = R"({"kind": "silence", "count": -1})";
    Rig rig(s);
    EXPECT_EQ(rig.run(kText), "ERROR 2");
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{kRetryPrompt}));
    EXPECT_EQ(rig.commands(), (Bytes{0x13, 0x13, 0x13}));  // one cycle, no further attempts
}

TEST(SilentBox, RetryAnsweredYesSendsAnotherCycle) {
    BoxSetup s;
    s.faults = R"({"kind": "silence", "count": -1})";
    Rig rig(s);
    ASSERT_EQ(rig.screen.loadScript("answer \"RETRY?\" Yes\n"), "");
    EXPECT_EQ(rig.run(kText), "ERROR 2");
    EXPECT_EQ(rig.screen.messageBoxes().size(), 2u);
    EXPECT_EQ(rig.commands().size(), 6u);
}

TEST(SilentBox, SilentModeAsksNothing) {
    BoxSetup s;
    s.faults = R"({"kind": "silence", "count": -1})";
    Rig rig(s);
    EXPECT_EQ(rig.run(kText, ""), "ERROR 2");
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
    EXPECT_EQ(rig.commands().size(), 3u);
}

TEST(SilentBox, FirstStatusPacing) {
    BoxSetup s;
    s.faults = R"({"kind": "silence", "count": -1})";
    Rig rig(s);
    const ModuleContext ctx = rig.context("");
    const int64_t before = rig.clock.nowUs();
    EXPECT_EQ(StartBox(ctx, std::string(testing::kKwpDriverPath), "", false), kBoxGiveUp);
    // Three sends, each followed by 15 reads 300 ms apart (plus the line's read time-outs).
    EXPECT_GE(rig.clock.nowUs() - before, 3 * (15 * 300'000 + 10'000));
}

}  // namespace
}  // namespace corvan::boxstart
