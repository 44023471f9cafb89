// Injected faults and what the runtime's receive and exchange make of them.
#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "runtime/frame.h"
#include "runtime/varbox_io.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
using testing::hex;
namespace rq = corvan::cmd;

constexpr const char* kEcu = R"({"ecus": [{"model": "table", "config": {"rules": [
    {"request": "1A 80", "reply": "5A 80 31 32 33"}]}}]})";

const Bytes kIdent = rq::ecuRequest(hex("1A 80"));
const Bytes kIdentReply = frame::build(0x20, hex("00 5A 80 31 32 33"), true);

// One send and one receive, as the first read of an exchange.
int sendAndReceive(BoxRig& rig, const Bytes& request, Bytes& reply) {
    SendFrame(rig.link, request);
    reply.assign(512, 0);
    return ReceiveFrame(rig.link, reply);
}

Fault fault(FaultKind kind, int count = 1, int skip = 0) {
    Fault f;
    f.kind = kind;
    f.count = count;
    f.skip = skip;
    return f;
}

TEST(VarboxFaults, SilenceIsAMissingHeaderAndTheExchangeSendsAgain) {
    BoxRig rig(kEcu);
    rig.box->inject(fault(FaultKind::Silence, 2));
    Bytes reply;
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 0);
    EXPECT_EQ(reply[2], 0);
    // The exchange's second send is heard nothing of either; the third is answered.
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
    EXPECT_EQ(rig.box->framesReceived(), 3u);
    EXPECT_TRUE(rig.screen.boxes.empty());
}

TEST(VarboxFaults, CorruptCheckByteFailsWithKindOneAndAFlushedLine) {
    BoxRig rig(kEcu);
    Fault f = fault(FaultKind::CorruptCheck);
    f.skip = 1;
    rig.box->inject(f);
    Fault garbage = fault(FaultKind::Garbage);
    garbage.skip = 1;  // more bytes behind the bad frame: the flush must take them too
    rig.box->inject(garbage);
    Bytes reply;
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), int(kIdentReply.size()));
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 1);
    EXPECT_TRUE(rig.port->pending().empty());
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), int(kIdentReply.size()));
}

TEST(VarboxFaults, TruncatedReplies) {
    BoxRig rig(kEcu);
    Fault headerOnly = fault(FaultKind::Truncate);
    headerOnly.keep = 2;
    rig.box->inject(headerOnly);
    Bytes reply;
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 0);  // fewer than three header bytes: silence

    rig.box->inject(fault(FaultKind::Truncate));  // the check byte is missing
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 1);
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
}

TEST(VarboxFaults, OverlongLengthNeverOverrunsTheBuffer) {
    BoxRig rig(kEcu);
    rig.box->inject(fault(FaultKind::Overlong));
    SendFrame(rig.link, kIdent);
    Bytes reply(32, 0xEE);
    const Bytes guard(16, 0xEE);
    reply.insert(reply.end(), guard.begin(), guard.end());
    EXPECT_EQ(ReceiveFrame(rig.link, std::span<uint8_t>(reply.data(), 32)), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 1);
    EXPECT_EQ(Bytes(reply.begin() + 32, reply.end()), guard);
    EXPECT_TRUE(rig.port->pending().empty());
}

TEST(VarboxFaults, EndlessInputShowsTheOverflowMessageAndIsFlushed) {
    BoxRig rig(kEcu);
    Fault f = fault(FaultKind::Endless);
    f.bytes = 25000;
    rig.box->inject(f);
    Bytes reply;
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 1);
    ASSERT_EQ(rig.screen.boxes.size(), 2u);  // after 10000 and 20000 bytes in a row
    EXPECT_EQ(rig.screen.boxes[0].text, "Desbordamiento de pila de UART. Retire tarjeta");
    EXPECT_TRUE(rig.port->pending().empty());
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
}

TEST(VarboxFaults, GarbageBetweenFramesSpoilsTheNextReceive) {
    BoxRig rig(kEcu);
    rig.box->inject(fault(FaultKind::Garbage));
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);  // the garbage follows this reply
    Bytes reply;
    EXPECT_EQ(sendAndReceive(rig, kIdent, reply), 0);
    EXPECT_EQ(rig.link.lastFailureKind, 1);  // flushed with the reply behind it
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
    EXPECT_EQ(rig.box->framesReceived(), 3u);

    Fault before = fault(FaultKind::Garbage);
    before.before = true;
    rig.box->inject(before);
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);  // the exchange's second send succeeds
    EXPECT_EQ(rig.box->framesReceived(), 5u);
}

TEST(VarboxFaults, LateReplyLandsInTheNextExchange) {
    BoxRig rig(kEcu);
    Fault late = fault(FaultKind::Late);
    late.delayUs = 300000;
    rig.box->inject(late);
    const int64_t t0 = rig.clock.nowUs();
    EXPECT_EQ(rig.exchange(kIdent, 1), kIdentReply);  // still within the 15 reads
    EXPECT_GE(rig.clock.nowUs() - t0, 300000);

    late.delayUs = 5000000;
    rig.box->inject(late);
    EXPECT_TRUE(rig.exchange(kIdent, 1).empty());
    rig.clock.advanceUs(5000000);
    // The state request reads the stale ECU reply first.
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest(), 1), kIdentReply);
}

TEST(VarboxFaults, HangUpLosesTheLine) {
    BoxRig rig(kEcu);
    rig.box->inject(fault(FaultKind::HangUp, 1, 1));
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
    EXPECT_TRUE(rig.exchange(kIdent).empty());
    EXPECT_TRUE(rig.port->lost());
    EXPECT_EQ(rig.box->framesReceived(), 2u);  // nothing is heard after the hang-up
    std::string why;
    EXPECT_FALSE(rig.port->reopen(&why));  // a pulled adapter stays away
    EXPECT_TRUE(rig.port->lost());
}

TEST(VarboxFaults, LineThatComesBackAnswersAfterTheReopenWithTheBoxUnchanged) {
    BoxRig rig(kEcu);
    Fault drop = fault(FaultKind::HangUp, 1, 1);
    drop.comesBack = true;
    rig.box->inject(drop);
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);
    EXPECT_TRUE(rig.exchange(kIdent).empty());
    ASSERT_TRUE(rig.port->lost());
    ASSERT_TRUE(rig.port->reopen(nullptr));
    EXPECT_FALSE(rig.port->lost());
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);  // the ECU connection survived the drop
}

TEST(VarboxFaults, DisconnectDropsTheEcuAndFaultsCanPickACommand) {
    BoxRig rig(kEcu);
    Fault drop = fault(FaultKind::Disconnect);
    drop.command = 0x20;
    rig.box->inject(drop);
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 1);  // not a 0x20: untouched
    EXPECT_EQ(rig.exchange(kIdent), kIdentReply);                  // answered, then dropped
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 0);
    EXPECT_EQ(rig.exchange(kIdent), hex("00 00 0A 0A"));
}

TEST(VarboxFaults, ScenarioFaultsApplyFromTheStart) {
    BoxRig rig(R"({"faults": [{"kind": "silence", "count": -1, "command": "82"}],
                   "ecus": [{"model": "table"}]})");
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(rig.exchange(rq::connectionStatusRequest(), 1).empty());
    EXPECT_EQ(rig.exchange(rq::driverNameRequest())[2], 0x0F);
}

}  // namespace
}  // namespace corvan::sim
