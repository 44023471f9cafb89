#include "runtime/varbox_io.h"

#include <gtest/gtest.h>

#include "runtime/frame.h"
#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

using Bytes = std::vector<uint8_t>;

class VarboxIo : public ::testing::Test, protected testing::LinkFixture {};

TEST_F(VarboxIo, ByteWiseSendWritesEachByteAndTheCheckSeparately) {
    const Bytes request{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0xEE};  // a spare byte after it
    SendFrame(link, request);
    EXPECT_EQ(port.written(), (Bytes{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x39}));
    EXPECT_EQ(device.writeSizes, std::vector<size_t>(7, 1));
    // Announced first, so that a port can put them on the line together.
    EXPECT_EQ(port.announced(), std::vector<Bytes>{port.written()});
    EXPECT_EQ(link.writeByte, 0x39);
    EXPECT_EQ(link.writeOk, 1);
    EXPECT_EQ(link.bytesWritten, 1u);
    ASSERT_EQ(log.sent.size(), 1u);
    EXPECT_EQ(log.sent[0], port.written());
    EXPECT_EQ(request.back(), 0xEE);  // the caller's buffer is not touched
}

TEST_F(VarboxIo, CommandSixIsRefusedWithAMessage) {
    SendFrame(link, Bytes{0x00, 0x01, 0x06, 0x55});
    EXPECT_TRUE(port.written().empty());
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].text, "Retire tarjeta del grabador");
    EXPECT_EQ(screen.boxes[0].buttons, ui::Buttons::Ok);
    // The block send has no such refusal.
    Bytes block{0x00, 0x00, 0x06, 0x00};
    EXPECT_EQ(SendFrameBlock(link, std::span<uint8_t>(block)), 1);
    EXPECT_EQ(port.written(), (Bytes{0x00, 0x00, 0x06, 0x06}));
}

TEST_F(VarboxIo, RequestShorterThanItsHeaderSaysIsNotSent) {
    SendFrame(link, Bytes{0x80, 0x05, 0x20, 0x00});
    EXPECT_TRUE(port.written().empty());
    EXPECT_EQ(link.writeOk, 0);
    Bytes noRoom{0x80, 0x01, 0x20, 0x00};
    EXPECT_EQ(SendFrameBlock(link, std::span<uint8_t>(noRoom)), 0);
    EXPECT_TRUE(port.written().empty());
}

TEST_F(VarboxIo, BlockSendStoresTheCheckAndWritesOnce) {
    Bytes request{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x00, 0x77};
    EXPECT_EQ(SendFrameBlock(link, std::span<uint8_t>(request)), 1);
    EXPECT_EQ(request[6], 0x39);
    EXPECT_EQ(request[7], 0x77);
    EXPECT_EQ(device.writeSizes, std::vector<size_t>{7});
    EXPECT_EQ(link.bytesWritten, 7u);
    Bytes grown{0x80, 0x00, 0x88};
    EXPECT_EQ(SendFrameBlock(link, grown), 1);
    EXPECT_EQ(grown, (Bytes{0x80, 0x00, 0x88, 0x08}));
}

TEST_F(VarboxIo, FrameWithoutDataIsAcceptedWithLengthFour) {
    queue({0x00, 0x00, 0x0A, 0x0A});
    Bytes reply(16);
    EXPECT_EQ(ReceiveFrame(link, reply), 4);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 4), (Bytes{0x00, 0x00, 0x0A, 0x0A}));
    ASSERT_EQ(log.received.size(), 1u);
    EXPECT_TRUE(log.received[0].good);
    EXPECT_EQ(link.readByte, 0x0A);
    EXPECT_EQ(link.bytesRead, 1u);
}

TEST_F(VarboxIo, FlagBitIsNotPartOfTheLength) {
    Bytes data(258, 0x11);
    const Bytes f = frame::build(0x20, data, true);
    ASSERT_EQ(f[0], 0x81);
    ASSERT_EQ(f[1], 0x02);
    queue(f);
    Bytes reply(300);
    EXPECT_EQ(ReceiveFrame(link, reply), 262);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 262), f);
}

TEST_F(VarboxIo, WrongCheckByteFlushesTheLine) {
    queue({0x80, 0x02, 0x20, 0x00, 0x5A, 0x00, 0x42, 0x43, 0x44});
    Bytes reply(16);
    link.lastFailureKind = 0;
    EXPECT_EQ(ReceiveFrame(link, reply), 0);
    EXPECT_EQ(link.lastFailureKind, 1);
    EXPECT_TRUE(port.pending().empty());
    ASSERT_EQ(log.received.size(), 1u);
    EXPECT_FALSE(log.received[0].good);
}

TEST_F(VarboxIo, FrameCutShortEndsLikeACorruptOne) {
    queue({0x80, 0x05, 0x20, 0x00, 0x5A});
    Bytes reply(16);
    EXPECT_EQ(ReceiveFrame(link, reply), 0);
    EXPECT_EQ(link.lastFailureKind, 1);
}

TEST_F(VarboxIo, TwoHeaderBytesAreSilenceWithoutFlush) {
    queue({0x80, 0x02});
    // A late byte: a flush would spend another read time-out waiting for it.
    port.pending().push(0x99, 1'000'000);
    Bytes reply(16, 0x55);
    link.lastFailureKind = 1;
    const int64_t before = clock.nowUs();
    EXPECT_EQ(ReceiveFrame(link, reply), 0);
    EXPECT_EQ(link.lastFailureKind, 0);
    EXPECT_EQ(reply[2], 0);
    EXPECT_EQ(reply[0], 0x80);
    EXPECT_EQ(clock.nowUs() - before, port.readTimeoutMs() * 1000);
    EXPECT_EQ(port.pending().size(), 1u);
    EXPECT_EQ(link.bytesRead, 0u);
    EXPECT_EQ(link.readOk, 1);
}

TEST_F(VarboxIo, OverLongFrameIsFlushedAndNothingIsWrittenPastTheBuffer) {
    Bytes data(20, 0x33);
    queue(frame::build(0x20, data, true));
    queue({0x01, 0x02});
    Bytes reply(16);  // exact size: the sanitizer build sees any write past it
    EXPECT_EQ(ReceiveFrame(link, std::span<uint8_t>(reply)), 0);
    EXPECT_EQ(link.lastFailureKind, 1);
    EXPECT_TRUE(port.pending().empty());
    EXPECT_EQ(reply[3], 0x00);
    // A frame that exactly fills the buffer is fine.
    queue(frame::build(0x20, Bytes(12, 0x44), true));
    EXPECT_EQ(ReceiveFrame(link, std::span<uint8_t>(reply)), 16);
}

TEST_F(VarboxIo, EndlessInputIsReportedEveryTenThousandBytes) {
    device.streamLeft = 25'000;
    EXPECT_EQ(FlushReceive(link), 5'000u);
    ASSERT_EQ(screen.boxes.size(), 2u);
    EXPECT_EQ(screen.boxes[0].text, "Desbordamiento de pila de UART. Retire tarjeta");
    EXPECT_EQ(screen.boxes[1].buttons, ui::Buttons::Ok);
    EXPECT_EQ(device.streamLeft, 0);
}

TEST_F(VarboxIo, LostLineReadsAsSilence) {
    link.port = nullptr;
    Bytes reply(8, 0x55);
    EXPECT_EQ(ReceiveFrame(link, reply), 0);
    EXPECT_EQ(link.readOk, 0);
    EXPECT_EQ(FlushReceive(link), 0u);
    SendFrame(link, Bytes{0x80, 0x00, 0x82});
    EXPECT_EQ(link.writeOk, 0);
}

}  // namespace
}  // namespace corvan
