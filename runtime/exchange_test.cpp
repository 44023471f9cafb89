#include "runtime/exchange.h"

#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "runtime/frame.h"
#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kRequest{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80};

class ExchangeTest : public ::testing::Test, protected testing::LinkFixture {
  protected:
    // The ECU's answer to every request: 0x5A 0x9B behind the 0x00 of the box.
    void answerEveryRequest() {
        device.handler = [](const Bytes&) {
            return frame::build(0x20, Bytes{0x00, 0x5A, 0x9B}, true);
        };
    }
    Bytes reply = Bytes(64);
};

TEST_F(ExchangeTest, GoodReplyReturnsItsLength) {
    answerEveryRequest();
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply), 7);
    const auto answer = cmd::ecuAnswer(reply, 7);
    EXPECT_EQ(Bytes(answer.begin(), answer.end()), (Bytes{0x5A, 0x9B}));
    EXPECT_EQ(device.frames.size(), 1u);
    EXPECT_TRUE(screen.boxes.empty());
    EXPECT_EQ(clock.nowUs(), 0);  // the reply was there at the first read
}

TEST_F(ExchangeTest, SilentLineResendsThenAsksAndYesStartsAFullCycle) {
    screen.answers = {ui::Answer::Yes, ui::Answer::No};
    auto ctx = context(kEnglish);
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.0, 1.0), 0);
    EXPECT_EQ(device.frames.size(), 8u);
    ASSERT_EQ(screen.boxes.size(), 2u);
    EXPECT_EQ(screen.boxes[0].text, "No response from VarBox\nRETRY?");
    EXPECT_EQ(screen.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(screen.boxes[0].icon, ui::Icon::Question);
    EXPECT_EQ(link.lastFailureKind, 0);
}

TEST_F(ExchangeTest, NoAttemptsAskedForStillSendsOnce) {
    screen.answers = {ui::Answer::No};
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 0, 0.0, 1.0), 0);
    EXPECT_EQ(device.frames.size(), 1u);
    EXPECT_EQ(Exchange(ctx, kRequest, reply, -3, 0.0, 1.0), 0);
    EXPECT_EQ(device.frames.size(), 2u);
}

TEST_F(ExchangeTest, SilentCycleTakesItsReadsAndPausesOnTheClock) {
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.0, 1.0), 0);
    // 4 sends × (15 reads, each waiting the read time-out, then 50 ms) + 4 × 10 ms.
    const int64_t readMs = port.readTimeoutMs();
    EXPECT_EQ(clock.nowMs(), 4 * (15 * (readMs + 50) + 10));
    EXPECT_EQ(clock.nowMs(), 7840);  // with the line's 80 ms read time-out
}

TEST_F(ExchangeTest, WaitAndPollFactorsBecomeWholeMilliseconds) {
    EXPECT_EQ(wholeMs(0.2, 1000), 200);
    EXPECT_EQ(wholeMs(0.1, 50), 5);
    EXPECT_EQ(wholeMs(1.0, 50), 50);
    EXPECT_EQ(wholeMs(-3, 50), 0);
    EXPECT_EQ(wholeMs(0.0 / 0.0, 50), 0);

    auto ctx = context();
    // No request: the call is only the pause.
    EXPECT_EQ(Exchange(ctx, {}, reply, 4, 0.2, 1.0), 0);
    EXPECT_EQ(clock.nowMs(), 200);
    EXPECT_TRUE(port.written().empty());

    // With a line that answers at once, the wait comes before the first send.
    answerEveryRequest();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.2, 1.0), 7);
    EXPECT_EQ(device.frameTimesUs.at(0), 400'000);

    // A silent line with no read time-out shows the poll pause alone: 15 × 5 ms + 10 ms.
    device.handler = nullptr;
    port.setReadTimeoutMs(0);
    const int64_t before = clock.nowMs();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 1, 0.0, 0.1), 0);
    EXPECT_EQ(clock.nowMs() - before, 85);
}

TEST_F(ExchangeTest, CorruptReplyCountsAsSilenceAndTheNextSendIsAnswered) {
    int requests = 0;
    device.handler = [&](const Bytes&) {
        Bytes answer = frame::build(0x20, Bytes{0x00, 0x5A}, true);
        if (++requests == 1) {
            answer.back() ^= 0xFF;                      // corrupt check byte...
            answer.insert(answer.end(), {0x01, 0x02});  // ...and trailing garbage
        }
        return answer;
    };
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply), 6);
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(link.lastFailureKind, 0);  // the reads after the flush found silence
    ASSERT_EQ(log.received.size(), 2u);
    EXPECT_FALSE(log.received[0].good);
    EXPECT_TRUE(log.received[1].good);
    EXPECT_TRUE(screen.boxes.empty());
}

TEST_F(ExchangeTest, FixedAndPortuguesePrompts) {
    auto german = context(kGerman);
    EXPECT_EQ(Exchange(german, kRequest, reply, 1, 0, 1, RetryPrompt::Fixed), 0);
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].text, "No hay respuesta del terminal \n¿REINTENTAR?");
    auto portuguese = context(kPortuguese);
    EXPECT_EQ(Exchange(portuguese, kRequest, reply, 1), 0);
    EXPECT_EQ(screen.boxes.at(1).text, "NÃO HA RESPOSTA DA VARBOX \nREPETIR?");
    auto outOfRange = context(12);
    EXPECT_EQ(Exchange(outOfRange, kRequest, reply, 1), 0);
    EXPECT_EQ(screen.boxes.at(2).text, "No response from VarBox\nRETRY?");
}

TEST_F(ExchangeTest, PumpingFormPumpsBeforeEveryReadAndAsksOnlyWhenSwitchedOn) {
    auto ctx = context(kSpanish);
    EXPECT_EQ(ExchangePumping(ctx, kRequest, reply, 4, 0, 50, ""), 0);
    EXPECT_TRUE(screen.boxes.empty());
    EXPECT_EQ(screen.pumps, 60);
    EXPECT_EQ(device.frames.size(), 4u);

    EXPECT_EQ(ExchangePumping(ctx, kRequest, reply, 2, 0, 50, "ASK"), 0);
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].text, "No hay respuesta del VarBox\n¿REINTENTAR?");

    // Whole milliseconds, not scaled: 2 sends × (15 × (80 + 7) + 10) after a 30 ms wait.
    const int64_t before = clock.nowMs();
    EXPECT_EQ(ExchangePumping(ctx, kRequest, reply, 2, 30, 7, ""), 0);
    EXPECT_EQ(clock.nowMs() - before, 30 + 2 * (15 * (port.readTimeoutMs() + 7) + 10));
}

TEST_F(ExchangeTest, PumpingFormWithoutRequestGoesToThePromptDecision) {
    auto ctx = context();
    EXPECT_EQ(ExchangePumping(ctx, {}, reply, 4, 0, 50, ""), 0);
    EXPECT_TRUE(screen.boxes.empty());
    EXPECT_EQ(ExchangePumping(ctx, {}, reply, 4, 0, 50, "ASK"), 0);
    EXPECT_EQ(screen.boxes.size(), 1u);
    EXPECT_TRUE(port.written().empty());
}

TEST_F(ExchangeTest, PumpingFormKeepsTheDialogAliveDuringTheWait) {
    answerEveryRequest();
    device.replyDelayUs = 300'000;  // the box answers after 0.3 s
    auto ctx = context();
    EXPECT_EQ(ExchangePumping(ctx, kRequest, reply, 4, 0, 50, ""), 7);
    EXPECT_GE(screen.pumps, 3);
}

TEST_F(ExchangeTest, WaitDialogCountsSendsDownAndGoesBeforeThePrompt) {
    screen.answers = {ui::Answer::Yes, ui::Answer::No};
    bool dialogGoneAtPrompt = true;
    screen.onBox = [&] {
        for (const auto& d : screen.dialogs) dialogGoneAtPrompt &= d->destroyed;
    };
    port.setReadTimeoutMs(0);
    EXPECT_EQ(Exchange(link, kRequest, reply, "RESET", "RESET TITLE", 3, 0.2, 0.0, true, true), 0);
    EXPECT_TRUE(dialogGoneAtPrompt);
    ASSERT_EQ(screen.dialogs.size(), 2u);  // one per cycle
    const auto& first = *screen.dialogs[0];
    EXPECT_EQ(first.title, "RESET TITLE");
    EXPECT_TRUE(first.everVisible);
    EXPECT_EQ(first.texts.at(kWaitStatusId), "RESET");
    EXPECT_EQ(first.textHistory,
              (std::vector<std::string>{"1001=RESET", "1002=3", "1002=2", "1002=1"}));
    EXPECT_EQ(screen.boxes.at(0).text, "No hay respuesta del terminal \n¿REINTENTAR?");
    // The dialog stands in for the wait: only the 10 ms after each send's reads passed.
    EXPECT_EQ(clock.nowMs(), 2 * 3 * 10);
    EXPECT_EQ(device.frames.size(), 6u);
}

TEST_F(ExchangeTest, WaitDialogWithoutAttemptNumberAndPlainServiceForm) {
    answerEveryRequest();
    EXPECT_EQ(Exchange(link, kRequest, reply, "S", "T", 4, 0.2, 1.0, false, true), 7);
    ASSERT_EQ(screen.dialogs.size(), 1u);
    EXPECT_TRUE(screen.dialogs[0]->destroyed);
    EXPECT_EQ(screen.dialogs[0]->texts.count(kWaitAttemptId), 0u);
    EXPECT_EQ(Exchange(link, kRequest, reply, "", "", 4, 0.2, 1.0, true, false), 7);
    EXPECT_EQ(screen.dialogs.size(), 1u);
    EXPECT_EQ(clock.nowMs(), 200);
}

TEST_F(ExchangeTest, RefusedCommandLeadsToThePrompt) {
    const Bytes programmer{0x00, 0x00, 0x06};
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, programmer, reply, 2), 0);
    EXPECT_TRUE(port.written().empty());
    ASSERT_EQ(screen.boxes.size(), 3u);
    EXPECT_EQ(screen.boxes[0].text, "Retire tarjeta del grabador");
    EXPECT_EQ(screen.boxes[2].text, "No response from VarBox\nRETRY?");
}

// A line that hangs up (a pulled adapter, a dropped Bluetooth link) is seen as lost: nothing
// more goes into it, the technician is asked at once, and a Yes opens it again first.
class LostLineTest : public ExchangeTest {
  protected:
    LostLineTest() { answerEveryRequest(); }
    // The whole request frame (six bytes and the check byte) reaches the box once, then the
    // line hangs up.
    void hangUpAfterOneFrame(bool comesBack) {
        device.hangUpAfterBytes = 7;
        device.comesBack = comesBack;
        device.handler = [](const Bytes&) {
            return Bytes{};  // the box heard the frame, but its reply never came back
        };
    }
};

TEST_F(LostLineTest, NothingIsSentIntoALostLineAndTheTechnicianIsAskedAtOnce) {
    hangUpAfterOneFrame(false);
    screen.answers = {ui::Answer::Yes, ui::Answer::No};
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.0, 1.0), 0);
    EXPECT_EQ(device.frames.size(), 1u);
    EXPECT_EQ(port.written().size(), 7u);  // the one frame that went out, nothing after it
    EXPECT_EQ(screen.boxes.size(), 2u);    // the Yes tried to open the line again, in vain
    EXPECT_EQ(device.reconnects, 1);
    EXPECT_EQ(log.reopens, std::vector<bool>{false});
    EXPECT_EQ(log.sent.size(), 1u);  // the trace has the frame that was written, once
    EXPECT_GE(log.lostReports, 1);
    // No time-outs are waited for on a dead line: only the pauses before it was found lost.
    EXPECT_LE(clock.nowMs(), 50);
}

TEST_F(LostLineTest, YesReopensALineThatComesBackAndTheNextCycleIsAnswered) {
    hangUpAfterOneFrame(true);
    screen.answers = {ui::Answer::Yes};
    auto ctx = context();
    device.handler = [this](const Bytes&) {
        // Only once the line is back does the box's answer come through.
        if (device.reconnects == 0) return Bytes{};
        return frame::build(0x20, Bytes{0x00, 0x5A, 0x9B}, true);
    };
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.0, 1.0), 7);
    EXPECT_EQ(device.frames.size(), 2u);
    EXPECT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(log.reopens, std::vector<bool>{true});
}

TEST_F(LostLineTest, AFrameTheLineTookOnlyInPartIsTracedAsCut) {
    device.hangUpAfterBytes = 3;
    auto ctx = context();
    EXPECT_EQ(Exchange(ctx, kRequest, reply, 4, 0.0, 1.0), 0);
    EXPECT_TRUE(log.sent.empty());
    ASSERT_EQ(log.cut.size(), 1u);
    EXPECT_EQ(log.cut[0], (Bytes{0x80, 0x03, 0x20}));
    EXPECT_EQ(screen.boxes.size(), 1u);  // asked once, answered No by default
}

TEST_F(LostLineTest, BlockSendRefusesALostLine) {
    device.hangUpAfterBytes = 0;
    Bytes request = kRequest;
    EXPECT_EQ(SendFrameBlock(link, request), 0);
    EXPECT_TRUE(port.written().empty());
    EXPECT_TRUE(log.sent.empty());
    EXPECT_EQ(log.lostReports, 1);
}

}  // namespace
}  // namespace corvan
