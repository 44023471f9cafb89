// The BMW service reset against the simulated box on the virtual clock: the register
// requests of the output check, the reset output as the box's register log saw it, the bar
// and the windows.
#include "plugins/bmwservice/bmw_reset.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/memory_port.h"
#include "plugins/bmwservice/reset_line.h"
#include "runtime/journal_record.h"
#include "runtime/testing/link_fixture.h"
#include "runtime/testing/memory_journal.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::bmwservice {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

sim::Fault silentBox() {
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.count = -1;
    return f;
}

class BmwReset : public ::testing::Test {
  protected:
    BmwReset() {
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &frames;
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
        // Every pump while a reset runs: the bar as the technician sees it.
        screen.setPumpHook([this](ui::HeadlessScreen& s) {
            if (const ui::HeadlessDialog* d = s.findDialog(kProgressWindowName))
                bar.push_back(d->progress(kProgressBarId));
        });
    }
    void boot(const std::string& box) {
        auto loaded = sim::loadScenarioText(R"({"box": {"program": "running", )" + box + "}}", "t");
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        varbox = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *varbox);
        link.port = port.get();
        link.host = &host;
    }
    std::string run(const std::string& technician, const std::string& mode = "EXE",
                    int language = 1) {
        EXPECT_EQ(screen.loadScript(technician), "");
        ModuleContext ctx(link, language, mode);
        return runBmwService(ctx, PluginCall{"", 0, mode, "KOMBI"});
    }
    // The writes of register 0x10 that switch `bit`, as (on, off) pairs of times.
    std::vector<std::pair<int64_t, int64_t>> heldOutputs(uint8_t bit) const {
        std::vector<std::pair<int64_t, int64_t>> held;
        int64_t on = -1;
        for (const sim::RegisterWrite& w : varbox->registerWrites()) {
            if (w.reg != kOutputs) continue;
            if ((w.value & bit) && on < 0) on = w.atUs;
            if (!(w.value & bit) && on >= 0) {
                held.emplace_back(on, w.atUs);
                on = -1;
            }
        }
        return held;
    }

    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> varbox;
    std::unique_ptr<MemoryPort> port;
    corvan::testing::FrameLog frames;
    HostServices host;
    VarboxLink link;
    std::vector<int> bar;
};

TEST_F(BmwReset, OutputCheckWithTheLoopPicksOutputOneAfterAllSevenSteps) {
    boot(R"("adapter": "KLIA", "outputLoop": true, "registers": {"08": "41", "10": "F7"})");
    ModuleContext ctx(link, 1, "EXE");
    RegisterLine line(ctx);
    const int64_t start = clock.nowUs();
    EXPECT_EQ(checkResetOutput(line), kOutputA);
    // D = F7 & 5F = 57; the test output off (55), then on (57), then D & F0 = 50.
    const std::vector<Bytes> expected = {
        hex("80 01 83 08 0A"),          hex("80 04 84 01 08 00 61 68"),
        hex("80 01 83 10 12"),          hex("80 04 84 01 10 00 57 46"),
        hex("80 04 84 01 10 00 55 44"), hex("80 01 83 08 0A"),
        hex("80 04 84 01 10 00 57 46"), hex("80 01 83 08 0A"),
        hex("80 04 84 01 10 00 50 41"),
    };
    EXPECT_EQ(frames.sent, expected);
    EXPECT_EQ(varbox->registers().stored(kOutputs), 0x50);
    // The box answers at once: the check takes its three 10 ms pauses and no more.
    EXPECT_EQ(clock.nowUs() - start, 30000);
}

TEST_F(BmwReset, EachResetIsJournalledWithTheOutputsRegisterItFound) {
    corvan::testing::MemoryJournal journal([this] { return frames.sent.size(); });
    host.journal = &journal;
    boot(R"("adapter": "OBDII", "registers": {"10": "40"})");
    run("press \"RESET OIL SERVICE\"\nafter 400 pumps press \"Exit\"\n");
    ASSERT_EQ(journal.records.size(), 1u);
    const auto& r = journal.records[0];
    EXPECT_EQ(r.entry.write.kind, "service");
    EXPECT_EQ(r.entry.write.value, "reset line on for 3 s");
    // The request journalled is the next frame out: the outputs register written with the
    // reset line's bit added to what the read before it found.
    ASSERT_LT(r.framesAtWrite, frames.sent.size());
    const Bytes& on = frames.sent[r.framesAtWrite];
    EXPECT_EQ(r.entry.write.sent, spacedHex(Bytes(on.begin(), on.end() - 1)));
    EXPECT_EQ(Bytes(on.begin(), on.begin() + 6), hex("80 04 84 01 10 00"));
    EXPECT_EQ(r.entry.write.before,
              "outputs register " + spacedHex({static_cast<uint8_t>(on[6] & ~kOutputA)}));
    EXPECT_EQ(r.framesAtAnswer, r.framesAtWrite + 1);
    EXPECT_TRUE(r.entry.done);
    // Demonstration: the window and the bar, nothing on the line and nothing journalled.
    journal.records.clear();
    run("press \"RESET OIL SERVICE\"\nafter 400 pumps press \"Exit\"\n", "DEMO");
    EXPECT_TRUE(journal.records.empty());
}

TEST_F(BmwReset, OutputCheckEndsAtStepFourOrSixOnOutputEight) {
    // An input already on with the test output off: the check stops at its first look.
    boot(R"("adapter": "KLIA", "loopInputHeld": true)");
    ModuleContext ctx(link, 1, "EXE");
    RegisterLine held(ctx);
    EXPECT_EQ(checkResetOutput(held), kOutputB);
    EXPECT_EQ(frames.sent.size(), 6u);
    EXPECT_EQ(frames.sent.back(), hex("80 01 83 08 0A"));
    // No loop at all: the input stays off with the test output on.
    frames.sent.clear();
    boot(R"("adapter": "KLIA")");
    RegisterLine open(ctx);
    EXPECT_EQ(checkResetOutput(open), kOutputB);
    EXPECT_EQ(frames.sent.size(), 8u);
}

TEST_F(BmwReset, OilResetHoldsTheOutputThreeSecondsInThreeHundredSteps) {
    boot(R"("adapter": "OBDII")");
    run("press \"RESET OIL SERVICE\"\nafter 400 pumps press \"Exit\"\n");
    const auto held = heldOutputs(kOutputA);
    ASSERT_EQ(held.size(), 1u);
    const int64_t us = held[0].second - held[0].first;
    EXPECT_GE(us, 3000000);
    EXPECT_LT(us, 3100000);  // the steps and the two register requests, nothing more
    // The window also pumps while it waits for the two requests before the steps and the
    // one after them.
    ASSERT_EQ(bar.size(), 2 + 300 + 1u);
    for (size_t i = 0; i < 300; ++i) ASSERT_EQ(bar[2 + i], int(i * 100 / 300)) << i;
    EXPECT_EQ(bar.back(), 99);
    EXPECT_TRUE(heldOutputs(kOutputB).empty());
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(BmwReset, InspectionResetOnOutputEightAndASecondPressDuringIt) {
    boot(R"("adapter": "KLIA")");
    // The second press comes while the first reset runs: it starts another when it ends.
    run("press \"RESET INSPECTION SERVICE\"\nafter 600 pumps press \"RESET OIL SERVICE\"\n"
        "after 2000 pumps press \"Exit\"\n");
    const auto held = heldOutputs(kOutputB);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_GE(held[0].second - held[0].first, 12000000);
    EXPECT_LT(held[0].second - held[0].first, 12100000);
    EXPECT_GE(held[1].second - held[1].first, 3000000);
    EXPECT_LT(held[1].second - held[1].first, 3100000);
    EXPECT_GE(held[1].first, held[0].second);  // one after the other, never overlapping
    ASSERT_EQ(bar.size(), 1203 + 303u);
    EXPECT_EQ(bar[2 + 1199], 99);
    EXPECT_EQ(bar[1203 + 2], 0);
    EXPECT_TRUE(heldOutputs(kOutputA).empty());
}

TEST_F(BmwReset, DemonstrationSendsNothingButStillRunsTheSteps) {
    boot(R"("adapter": "OBDII")");
    const int64_t start = clock.nowUs();
    run("press \"RESET INSPECTION SERVICE\"\nafter 1300 pumps press \"RESET OIL SERVICE\"\n"
        "after 400 pumps press \"Exit\"\n",
        "DEMO");
    EXPECT_TRUE(frames.sent.empty());
    EXPECT_EQ(bar.size(), 1500u);
    EXPECT_EQ(bar[1199], 99);
    EXPECT_EQ(bar.back(), 99);
    EXPECT_GE(clock.nowUs() - start, 15000000);
}

TEST_F(BmwReset, WindowsInTheTechniciansLanguage) {
    boot(R"("adapter": "OBDII")");
    run("when title \"INSPEKTIONS\" press \"RESET ÖL-SERVICE\"\nafter 400 pumps close\n", "EXE",
        kGerman);
    const ui::DialogSnapshot* main = screen.lastSnapshot(kMainWindowName);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->title, "INSPEKTIONS-SERVICE");
    EXPECT_EQ(main->control(kInspectionId)->text, "RESET INSPEKTION");
    EXPECT_EQ(main->control(kExitId)->text, "Verlassen");
    const ui::DialogSnapshot* progress = screen.lastSnapshot(kProgressWindowName);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->control(kProgressTextId)->text, "Intervall-Anzeige neu initiieren");
    EXPECT_EQ(progress->control(kProgressBarId)->high, 100);
    EXPECT_EQ(heldOutputs(kOutputA).size(), 1u);
    // Portuguese, and a report-mode call still shows its window.
    run("press \"SAIR\"\n", "REPORT", kPortuguese);
    EXPECT_EQ(screen.lastSnapshot(kMainWindowName)->title, "SERVIÇO DE REVISÕES");
    EXPECT_TRUE(screen.lastSnapshot(kMainWindowName)->everShown);
}

TEST_F(BmwReset, SilentBoxAsksOnlyWithAModeTextAndTheResetGoesOn) {
    boot(R"("adapter": "OBDII")");
    varbox->inject(silentBox());
    const int64_t start = clock.nowUs();
    run("answer \"RETRY?\" No\npress \"Exit\"\n");
    // Each read waits out the line's 80 ms read time-out, then the 350 ms pause.
    EXPECT_EQ(clock.nowUs() - start, (8 * 4 * (15 * (80 + 350) + 10) + 3 * 10) * int64_t{1000});
    ASSERT_FALSE(screen.messageBoxes().empty());
    EXPECT_EQ(screen.messageBoxes()[0].text, "No response from VarBox\nRETRY?");
    EXPECT_EQ(screen.messageBoxes().size(), 8u);  // each request of the check asks once
    const size_t asked = screen.messageBoxes().size();
    // Each request of the check went out four times, each send read 15 times 350 ms apart.
    EXPECT_EQ(frames.sent.size(), 8u * 4);
    frames.sent.clear();
    // Without a mode text nobody is asked: each silent request costs its 60 reads (480
    // pumps for the check), then the reset runs its course all the same.
    run("after 600 pumps press \"RESET OIL SERVICE\"\nafter 700 pumps press \"Exit\"\n", "");
    EXPECT_EQ(screen.messageBoxes().size(), asked);
    ASSERT_FALSE(bar.empty());
    EXPECT_EQ(bar.back(), 99);
}

}  // namespace
}  // namespace corvan::bmwservice
