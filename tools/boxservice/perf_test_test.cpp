// The link performance test: its figures, and its timing on the line-rate simulator.
#include "tools/boxservice/perf_test.h"

#include <gtest/gtest.h>

#include "runtime/frame.h"
#include "tools/boxservice/boxservice_test_rig.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"

namespace corvan::boxservice {
namespace {

using testing::Bytes;
using testing::Rig;
using testing::scenario;

// The test as the menu runs it, on its own session, so the figures can be looked at.
EchoFigures runOn(Rig& rig) {
    auto session = PortSession::open(rig.host);
    EXPECT_TRUE(session);
    return session ? runPerformanceTest(*session) : EchoFigures{};
}

std::string shown(const Rig& rig, int id) {
    const auto* d = rig.screen.lastSnapshot("PRUEBA");
    return d && d->control(id) ? d->control(id)->text : "(none)";
}

TEST(EchoFigures, CountsRatesAndTimesAsTheDialogShowsThem) {
    EchoFigures f;
    EXPECT_EQ(f.errorRateText(), "0.00000 %");
    EXPECT_EQ(f.meanTimeText(), "0.000 seg.");
    f.add(28125, true);
    f.add(500000, true);  // half a second exactly is not a long lapse
    f.add(500001, false);
    EXPECT_EQ(f.frames, 3u);
    EXPECT_EQ(f.bad, 1u);
    EXPECT_EQ(f.slow, 1u);
    EXPECT_EQ(f.errorRateText(), "33.33333 %");
    EXPECT_EQ(f.lastTimeText(), "0.50000 seg.");
    EXPECT_EQ(f.meanTimeText(), "0.343 seg.");
}

TEST(EchoFigures, AReplyIsGoodWhenItsLastByteIsTheXorOfTheRest) {
    Bytes reply = frame::build(0x0F, Bytes{'K', 'W', 'P'}, true);
    EXPECT_TRUE(echoReplyGood(reply, int(reply.size())));
    reply[4] ^= 0x01;
    EXPECT_FALSE(echoReplyGood(reply, int(reply.size())));
    EXPECT_FALSE(echoReplyGood(reply, 3));
    EXPECT_FALSE(echoReplyGood(reply, int(reply.size()) + 1));
}

TEST(PerformanceTest, TheMeanTimeIsTheWireTimeOfTheEchoOnALineRateBox) {
    Rig rig(scenario("", "", R"("timing": {"pacing": true})"));
    rig.script("after 50 pumps press \"Cancel\"\n");
    const EchoFigures f = runOn(rig);
    ASSERT_GE(f.frames, 40u);
    EXPECT_EQ(f.bad, 0u);
    EXPECT_EQ(f.slow, 0u);
    // 00 00 0F and its check byte out, the 19-byte name frame back: 4 + 23 bytes of 10 bits.
    const double wireUs = (4 + 23) * 10 * 1e6 / 9600;
    const double meanUs = double(f.totalUs) / f.frames;
    EXPECT_GE(meanUs, wireUs);
    EXPECT_LT(meanUs, wireUs + 1000);  // no more than a byte time's rounding above it
    EXPECT_EQ(shown(rig, kMeanTimeId), "0.028 seg.");
    EXPECT_EQ(shown(rig, kRateId), "0.00000 %");
    EXPECT_EQ(shown(rig, kTotalId), std::to_string(f.frames));
    // Every request is the bare echo, without the flag bit.
    for (const Bytes& frame : rig.frames()) EXPECT_EQ(frame, (Bytes{0x00, 0x00, 0x0F}));
}

TEST(PerformanceTest, LateRepliesAreCountedAndASilentBoxEndsTheTest) {
    // The 4th and 5th replies come 600 ms late, then the box falls silent.
    Rig rig(scenario("", "",
                     R"("faults": [{"kind": "late", "skip": 3, "count": 2, "delayMs": 600},
                                   {"kind": "silence", "skip": 6, "count": -1}])"));
    const EchoFigures f = runOn(rig);
    EXPECT_EQ(f.frames, 6u);
    EXPECT_EQ(f.slow, 2u);
    EXPECT_EQ(shown(rig, kSlowId), "2");
    EXPECT_EQ(shown(rig, kTotalId), "6");
    // The silent box asked the service program's own question; No ended the test.
    EXPECT_EQ(rig.boxTexts(),
              std::vector<std::string>{"No hay respuesta del terminal \n¿REINTENTAR?"});
    // 6 answered + 4 unanswered sends.
    EXPECT_EQ(rig.frames().size(), 10u);
    EXPECT_EQ(rig.screen.lastSnapshot("PRUEBA")->title, text::kPerformanceTitle);
}

}  // namespace
}  // namespace corvan::boxservice
