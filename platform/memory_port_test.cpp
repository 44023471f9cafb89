#include "platform/memory_port.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

// A device that answers each write with one byte after a fixed delay, and can hang up.
class DelayedEcho final : public ByteDevice {
  public:
    explicit DelayedEcho(int64_t delayUs) : delayUs_(delayUs) {}
    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override {
        for (uint8_t b : bytes) out.push(b, nowUs + delayUs_);
    }
    bool hungUp() const override { return hungUp_; }
    bool hungUp_ = false;

  private:
    int64_t delayUs_;
};

// A device that talks on its own: one byte every 10 ms, produced when the host polls.
class Ticker final : public ByteDevice {
  public:
    void received(std::span<const uint8_t>, int64_t, ByteQueue&) override {}
    void poll(int64_t nowUs, ByteQueue& out) override {
        while (next_ <= nowUs + 100000) {
            out.push(count_++, next_);
            next_ += 10000;
        }
    }

  private:
    int64_t next_ = 10000;
    uint8_t count_ = 0;
};

TEST(MemoryPort, SilentReadAdvancesTheClockByExactlyTheTimeout) {
    VirtualClock clock;
    ScriptedDevice device;
    MemoryPort port(clock, device);
    port.setReadTimeoutMs(80);
    uint8_t b = 0;
    size_t got = 9;
    EXPECT_TRUE(port.readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(clock.nowUs(), 80000);
    EXPECT_EQ(port.readTimeoutMs(), 80);
}

TEST(MemoryPort, ByteDueWithinTheTimeoutArrivesAtItsMoment) {
    VirtualClock clock;
    DelayedEcho device(30000);
    MemoryPort port(clock, device);
    const uint8_t req[] = {0x41, 0x42};
    size_t written = 0;
    ASSERT_TRUE(port.write(req, 2, written));
    EXPECT_EQ(written, 2u);

    uint8_t b = 0;
    size_t got = 0;
    ASSERT_TRUE(port.readByte(b, got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(b, 0x41);
    EXPECT_EQ(clock.nowUs(), 30000);
    // The second byte was due at the same moment: no further wait.
    ASSERT_TRUE(port.readByte(b, got));
    EXPECT_EQ(b, 0x42);
    EXPECT_EQ(clock.nowUs(), 30000);
    EXPECT_EQ(port.written(), std::vector<uint8_t>({0x41, 0x42}));
}

TEST(MemoryPort, ByteDueAfterTheTimeoutWaitsForALaterRead) {
    VirtualClock clock;
    DelayedEcho device(120000);
    MemoryPort port(clock, device);
    port.setReadTimeoutMs(80);
    const uint8_t req[] = {7};
    size_t written = 0;
    ASSERT_TRUE(port.write(req, 1, written));
    uint8_t b = 0;
    size_t got = 0;
    ASSERT_TRUE(port.readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(clock.nowUs(), 80000);
    ASSERT_TRUE(port.readByte(b, got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(clock.nowUs(), 120000);
}

TEST(MemoryPort, HungUpDeviceMakesReadsAndWritesFail) {
    VirtualClock clock;
    DelayedEcho device(0);
    MemoryPort port(clock, device);
    EXPECT_FALSE(port.lost());
    device.hungUp_ = true;
    uint8_t b = 0;
    size_t got = 0;
    EXPECT_FALSE(port.readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(port.lost());
    size_t written = 5;
    const uint8_t req[] = {1};
    EXPECT_FALSE(port.write(req, 1, written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(clock.nowUs(), 0);  // a lost line does not wait
}

TEST(MemoryPort, DeviceTalkingOnItsOwnIsReadInOrder) {
    VirtualClock clock;
    Ticker device;
    MemoryPort port(clock, device);
    for (uint8_t i = 0; i < 30; ++i) {
        uint8_t b = 0xFF;
        size_t got = 0;
        ASSERT_TRUE(port.readByte(b, got));
        ASSERT_EQ(got, 1u);
        EXPECT_EQ(b, i);
        EXPECT_EQ(clock.nowUs(), 10000 * (i + 1));
    }
}

TEST(ScriptedDevice, RecordsHostBytesAndRepliesOncePerQueuedReply) {
    VirtualClock clock;
    ScriptedDevice device;
    MemoryPort port(clock, device);
    device.replyOnNextWrite({0x80, 0x01});
    device.replyOnNextWrite({0x90});
    size_t written = 0;
    const uint8_t a[] = {1, 2}, c[] = {3}, d[] = {4};
    ASSERT_TRUE(port.write(a, 2, written));
    EXPECT_EQ(port.pending().size(), 2u);
    port.pending().clear();
    ASSERT_TRUE(port.write(c, 1, written));
    EXPECT_EQ(port.pending().size(), 1u);
    EXPECT_EQ(port.pending().frontTime(), 0);
    uint8_t b = 0;
    size_t got = 0;
    ASSERT_TRUE(port.readByte(b, got));
    EXPECT_EQ(b, 0x90);
    ASSERT_TRUE(port.write(d, 1, written));
    EXPECT_TRUE(port.pending().empty());
    EXPECT_EQ(device.fromHost, std::vector<uint8_t>({1, 2, 3, 4}));
}

}  // namespace
}  // namespace corvan
