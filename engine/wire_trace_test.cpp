#include "engine/wire_trace.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/varbox_io.h"
#include "ui/headless_screen.h"

namespace corvan::engine {
namespace {

TEST(WireTrace, LineFormat) {
    const uint8_t bytes[] = {0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x39};
    EXPECT_EQ(traceLine(0, "TX", bytes), "0 TX 80 03 20 00 1A 80 39");
    EXPECT_EQ(traceLine(12345, "RX!", std::span<const uint8_t>(bytes, 2)), "12345 RX! 80 03");
    EXPECT_EQ(traceLine(7, "RX", {}), "7 RX");
}

// The trace as the runtime reports frames on a line: a request, a good reply, a reply
// whose check failed, each stamped with the run's clock from its start.
TEST(WireTrace, FramesOnTheLineInOrderWithTheirTimes) {
    VirtualClock clock;
    clock.advanceUs(5'000'000);  // the run starts later than the clock's origin
    ScriptedDevice device;
    MemoryPort port(clock, device);
    std::ostringstream out;
    WireTrace trace(clock, out);
    HostServices services;
    services.clock = &clock;
    services.frames = &trace;
    VarboxLink link;
    link.port = &port;
    link.host = &services;

    device.replyOnNextWrite({0x80, 0x01, 0x82, 0x01, 0x02});
    SendFrame(link, cmd::connectionStatusRequest());
    std::vector<uint8_t> reply(64);
    ASSERT_EQ(ReceiveFrame(link, reply), 5);

    clock.advanceUs(120'400);
    device.replyOnNextWrite({0x80, 0x01, 0x82, 0x01, 0x77});  // bad check byte
    SendFrame(link, cmd::connectionStatusRequest());
    EXPECT_EQ(ReceiveFrame(link, reply), 0);

    EXPECT_EQ(out.str(),
              "0 TX 80 00 82 02\n"
              "0 RX 80 01 82 01 02\n"
              "120 TX 80 00 82 02\n"
              "120 RX! 80 01 82 01 77\n");
    EXPECT_EQ(trace.framesSent(), 2);
    EXPECT_EQ(trace.framesReceived(), 1);
    EXPECT_EQ(trace.badFrames(), 1);
}

// A box that hears one frame and hangs up: the trace holds the one frame that went out and
// marks the lost line once, however often the exchange is retried on it.
TEST(WireTrace, LostLineIsMarkedOnceAndNothingIsTracedThatDidNotGoOut) {
    struct HangsUp final : ByteDevice {
        void received(std::span<const uint8_t> bytes, int64_t, ByteQueue&) override {
            heard += bytes.size();
        }
        bool hungUp() const override { return heard >= 4; }
        size_t heard = 0;
    } device;
    VirtualClock clock;
    MemoryPort port(clock, device);
    std::ostringstream out;
    WireTrace trace(clock, out);
    ui::HeadlessScreen screen;
    ASSERT_EQ(screen.loadScript("answer \"RETRY?\" Yes\nanswer \"RETRY?\" Yes\n"), "");
    HostServices services;
    services.clock = &clock;
    services.screen = &screen;
    services.frames = &trace;
    VarboxLink link;
    link.port = &port;
    link.host = &services;
    ModuleContext ctx(link, 1, "EXE");
    std::vector<uint8_t> reply(64);
    EXPECT_EQ(Exchange(ctx, cmd::connectionStatusRequest(), reply, 4, 0.0, 1.0), 0);
    EXPECT_EQ(out.str(),
              "0 TX 80 00 82 02\n"
              "0 LOST\n"
              "0 REOPEN FAILED\n"
              "0 REOPEN FAILED\n");
    EXPECT_EQ(trace.framesSent(), 1);
    EXPECT_TRUE(trace.lineLostNow());
}

}  // namespace
}  // namespace corvan::engine
