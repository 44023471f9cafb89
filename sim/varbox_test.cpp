// Each box command answered as its callers read it, driven through the runtime's exchange.
#include "sim/varbox.h"

#include <gtest/gtest.h>

#include <array>

#include "runtime/commands.h"
#include "runtime/frame.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
using testing::hex;
namespace rq = corvan::cmd;

constexpr const char* kVehicle = R"({
  "box": {"driverName": "KWP2000", "voltage": "12.60", "driverCode": "00 00 00 01 07",
          "keepAlive": "3E", "connectedEcu": null},
  "ecus": [
    {"name": "engine", "select": {"line": "kline", "id": "10"}, "model": "table",
     "config": {"connect": {"reply": "C1 EF 8F"}, "rules": [
        {"request": "1A 80", "reply": "5A 80 41 42 43"},
        {"request": "14 FF 00", "noAnswer": true},
        {"request": "31", "silence": true},
        {"request": "21 01", "reply": "61 01", "delayMs": 400}]}},
    {"name": "abs", "select": {"line": "can", "channel": 1, "respCode": "28"}, "model": "table",
     "config": {"rules": [{"request": "21 87", "reply": "61 87 01"}]}}
  ]})";

// The configuration a K-line start-up writes for ECU address `id` (frame index 8).
std::array<uint8_t, 40> klineConfig(uint8_t id) {
    std::array<uint8_t, 40> c{};
    c[0] = 1;     // index 3
    c[1] = 0x01;  // index 4, as in the template
    c[5] = id;    // index 8: ID
    c[6] = 1;     // TFRAME 300
    c[7] = 0x2C;
    c[11] = 0x81;  // BEG
    return c;
}

std::array<uint8_t, 40> canConfig(uint8_t channel, uint8_t respCode) {
    std::array<uint8_t, 40> c{};
    c[0] = channel;
    c[10] = respCode;  // index 13
    return c;
}

// The ECU's answer to a configuration as the connection set-up reads it: bytes from index
// 4 on, (b0 & 0x7F) * 255 + b1 - 1 of them.
Bytes configAnswer(const Bytes& reply) {
    const int count = (reply[0] & 0x7F) * 255 + reply[1] - 1;
    if (count < 1) return {};
    return Bytes(reply.begin() + 4, reply.begin() + 4 + count);
}

TEST(VarboxCommands, DriverNameHas19BytesWithABlankAfterTheName) {
    BoxRig rig(kVehicle);
    const Bytes r = rig.exchange(rq::driverNameRequest());
    ASSERT_EQ(r.size(), 23u);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 3), hex("80 13 0F"));
    const std::string name(r.begin() + 3, r.begin() + 22);
    EXPECT_EQ(name.substr(0, name.find(' ')), "KWP2000");
    EXPECT_EQ(name[7], ' ');
    EXPECT_EQ(name.find_first_not_of('\0', 8), std::string::npos);
    // The bare form without the flag, used to time the line, gets the same answer.
    EXPECT_EQ(rig.exchange(rq::driverNameRequest(false)), r);

    BoxRig noBlank(R"({"box": {"driverName": "KWP2000", "nameBlank": false}})");
    const Bytes n = noBlank.exchange(rq::driverNameRequest());
    EXPECT_EQ(std::count(n.begin() + 3, n.begin() + 22, ' '), 0);
}

TEST(VarboxCommands, ProgramStateTellsLoaderFromDriver) {
    BoxRig rig(kVehicle);
    Bytes r = rig.exchange(rq::programStateRequest());
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 4), hex("80 01 13 FF"));  // running: flag set

    rig.exchange(rq::resetRequest());
    r = rig.exchange(rq::programStateRequest());
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 4), hex("00 01 13 FF"));  // loader, program present
    EXPECT_EQ(rig.box->program(), ProgramState::Loaded);
    EXPECT_EQ(rig.exchange(rq::driverNameRequest())[3], 'V');  // the loader's own name

    r = rig.exchange(rq::startProgramRequest());
    EXPECT_EQ(r[0], 0x00);
    EXPECT_EQ(r[3], 1);
    EXPECT_EQ(rig.exchange(rq::programStateRequest())[0], 0x80);

    BoxRig empty(R"({"box": {"program": "none"}})");
    r = empty.exchange(rq::programStateRequest());
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 4), hex("00 01 13 00"));
    EXPECT_EQ(empty.exchange(rq::startProgramRequest())[3], 0);  // nothing to start
    EXPECT_EQ(empty.box->program(), ProgramState::None);
}

TEST(VarboxCommands, ConfigurationSelectsTheEcuAndReturnsItsAnswer) {
    BoxRig rig(kVehicle);
    // The template comes with the header the caller keeps and sends back.
    Bytes t = rig.exchange(rq::readConfigRequest());
    ASSERT_EQ(t.size(), 44u);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 3), hex("80 28 80"));
    EXPECT_EQ(t[4], 0x01);

    Bytes r = rig.exchange(rq::writeConfigRequest(klineConfig(0x10)));
    EXPECT_NE(r[2], 0xA0);
    EXPECT_EQ(configAnswer(r), hex("C1 EF 8F"));
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 1);
    EXPECT_EQ(rig.box->selectedEcu(), 0);
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80"))),
              frame::build(0x20, hex("00 5A 80 41 42 43"), true));

    // A CAN ECU without an answer of its own: 0xA0; messages now go to it.
    r = rig.exchange(rq::writeConfigRequest(canConfig(1, 0x28)));
    EXPECT_EQ(r, frame::build(0xA0, {}, true));
    EXPECT_EQ(rig.box->selectedEcu(), 1);
    r = rig.exchange(rq::ecuRequest(hex("21 87")));
    const auto answer = rq::ecuAnswer(r, int(r.size()));
    EXPECT_EQ(Bytes(answer.begin(), answer.end()), hex("61 87 01"));
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80")))[2], 0x0A);

    // Nobody answers an address no ECU has: no answer, not connected.
    r = rig.exchange(rq::writeConfigRequest(klineConfig(0x33)));
    EXPECT_EQ(r, hex("00 00 0A 0A"));
    EXPECT_TRUE(configAnswer(r).empty());
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 0);
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80"))), hex("00 00 0A 0A"));
}

TEST(VarboxCommands, ConfigurationReadBackCarriesTheLastWrite) {
    BoxRig rig(kVehicle);
    rig.exchange(rq::writeConfigRequest(klineConfig(0x10)));
    // The service scripts' delay change: read, replace configuration bytes 6 and 7, write.
    Bytes t = rig.exchange(rq::readConfigRequest());
    std::array<uint8_t, 40> c{};
    std::copy(t.begin() + 3, t.begin() + 43, c.begin());
    EXPECT_EQ(c, klineConfig(0x10));
    c[6] = 0x02, c[7] = 0x58;
    rig.exchange(rq::writeConfigRequest(c));
    EXPECT_EQ(rig.box->configuration()[7], 0x58);
    // A configuration of the wrong size is refused and changes nothing.
    EXPECT_EQ(rig.exchange(rq::request(0x80, hex("01 02"))), frame::build(0x7F, hex("80"), true));
    EXPECT_EQ(rig.box->configuration()[7], 0x58);
}

TEST(VarboxCommands, ConnectionStateLayout) {
    BoxRig rig(R"({"box": {"voltage": "12.60", "driverCode": "00 00 00 01 07", "checksumFlag": 1},
                   "ecus": [{"model": "table"}]})");
    const Bytes r = rig.exchange(rq::connectionStatusRequest());
    ASSERT_EQ(r.size(), 16u);
    EXPECT_EQ(r[3], 1);  // connected to the first ECU at power-up
    EXPECT_EQ(std::string(r.begin() + 4, r.begin() + 9), "12.60");
    EXPECT_EQ(Bytes(r.begin() + 9, r.begin() + 14), hex("00 00 00 01 07"));
    EXPECT_EQ(r[14], 1);

    BoxRig trying(R"({"box": {"state": 2}})");
    EXPECT_EQ(trying.exchange(rq::connectionStatusRequest())[3], 2);
}

// An ECU that counts what the box tells it.
struct CountingEcu final : EcuModel {
    EcuReply request(std::span<const uint8_t> m, int64_t) override {
        ++requests;
        return EcuReply::answer(Bytes(m.begin(), m.end()));
    }
    void keepAlive(std::span<const uint8_t> m, int64_t atUs) override {
        keepAlives.push_back({Bytes(m.begin(), m.end()), atUs});
    }
    void disconnected() override { ++drops; }
    struct Seen {
        Bytes message;
        int64_t atUs;
    };
    int requests = 0, drops = 0;
    std::vector<Seen> keepAlives;
};

Scenario withCountingEcu(CountingEcu*& out) {
    Scenario s;
    s.box.keepAliveIntervalUs = 1000000;
    auto ecu = std::make_unique<CountingEcu>();
    out = ecu.get();
    s.ecus.push_back({"counter", {}, "counting", std::move(ecu)});
    return s;
}

TEST(VarboxCommands, KeepAliveIsStoredReturnedAndRepeatedWhileTheLineIsIdle) {
    CountingEcu* ecu = nullptr;
    BoxRig rig(withCountingEcu(ecu));
    rig.exchange(rq::keepAliveRequest(true, hex("82 10 F1 3E 01")));
    const Bytes r = rig.exchange(rq::readKeepAliveRequest());
    EXPECT_EQ(Bytes(r.begin() + 4, r.end() - 1), hex("82 10 F1 3E 01"));
    EXPECT_EQ(r[5], 0x10);  // the unit's address, which VAG modules take as their target

    const int64_t start = rig.clock.nowUs();
    rig.clock.advanceUs(3500000);
    rig.exchange(rq::ecuRequest(hex("10")));  // the box services the line before it
    ASSERT_EQ(ecu->keepAlives.size(), 3u);
    EXPECT_EQ(ecu->keepAlives[0].message, hex("82 10 F1 3E 01"));
    EXPECT_EQ(ecu->keepAlives[0].atUs, start + 1000000);
    // An ECU message counts as traffic: no keep-alive during the next second.
    rig.clock.advanceUs(900000);
    rig.exchange(rq::connectionStatusRequest());
    EXPECT_EQ(ecu->keepAlives.size(), 3u);

    // Switched off (00 with filler bytes): the message stays, the repetition stops.
    rig.exchange(rq::keepAliveRequest(false, hex("03 00 09 00")));
    EXPECT_FALSE(rig.box->keepAliveOn());
    EXPECT_EQ(rig.box->keepAliveMessage(), hex("82 10 F1 3E 01"));
    rig.clock.advanceUs(5000000);
    rig.exchange(rq::connectionStatusRequest());
    EXPECT_EQ(ecu->keepAlives.size(), 3u);
}

TEST(VarboxCommands, ResetDropsTheConnectionAndRestartsTheLoader) {
    CountingEcu* ecu = nullptr;
    BoxRig rig(withCountingEcu(ecu));
    rig.exchange(rq::writeRegisterRequest(0x10, 0x2E));
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80")))[2], 0x20);
    const Bytes r = rig.exchange(rq::resetRequest());
    EXPECT_EQ(r, frame::build(0x88, {}, true));
    EXPECT_EQ(ecu->drops, 1);
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 0);
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80"))), hex("00 00 0A 0A"));
    EXPECT_EQ(ecu->requests, 1);
    EXPECT_EQ(rig.box->registers().stored(0x10), 0x00);
    EXPECT_EQ(rig.box->program(), ProgramState::Loaded);
}

TEST(VarboxCommands, BoxHearsNothingWhileItRestarts) {
    BoxRig rig(R"({"box": {"resetBusyMs": 1000}})");
    rig.exchange(rq::resetRequest());
    EXPECT_TRUE(rig.exchange(rq::programStateRequest(), 1).empty());  // 15 × 50 ms
    rig.clock.advanceUs(1000000);
    EXPECT_EQ(rig.exchange(rq::programStateRequest(), 1)[3], 0xFF);
}

TEST(VarboxCommands, EcuMessagesAnswerNoAnswerSilenceAndDelay) {
    BoxRig rig(kVehicle);
    rig.exchange(rq::writeConfigRequest(klineConfig(0x10)));
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("14 FF 00"))), hex("00 00 0A 0A"));

    const size_t before = rig.port->written().size();
    EXPECT_TRUE(rig.exchange(rq::ecuRequest(hex("31"))).empty());
    EXPECT_EQ(rig.port->written().size() - before, 4 * 6u);  // sent 4 times, never answered
    EXPECT_EQ(rig.screen.boxes.back().text, "No response from VarBox\nRETRY?");

    const int64_t t0 = rig.clock.nowUs();
    const Bytes late = rig.exchange(rq::ecuRequest(hex("21 01")));
    EXPECT_EQ(late, frame::build(0x20, hex("00 61 01"), true));
    EXPECT_GE(rig.clock.nowUs() - t0, 400000);
    EXPECT_LT(rig.clock.nowUs() - t0, 500000);
    // The unmatched request gets the table's default: no answer.
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("22 F1 90"))), hex("00 00 0A 0A"));
    // An empty message (80 00 20) reaches the ECU as an empty request.
    EXPECT_EQ(rig.exchange(rq::request(0x20, {})), hex("00 00 0A 0A"));
}

TEST(VarboxCommands, UnknownCommandsAndBadFramesHaveDefinedOutcomes) {
    BoxRig rig(kVehicle);
    EXPECT_EQ(rig.exchange(rq::request(0x42, hex("01"))), frame::build(0x7F, hex("42"), true));
    EXPECT_EQ(rig.exchange(rq::request(0x83, {})), frame::build(0x7F, hex("83"), true));

    // A frame with a wrong check byte gets no answer; a pause drops a half-written frame.
    size_t written = 0;
    const Bytes bad = hex("80 00 82 00");
    rig.port->write(bad.data(), bad.size(), written);
    const Bytes half = hex("80 05 20 00");
    rig.port->write(half.data(), half.size(), written);
    rig.clock.advanceUs(500000);
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest(), 1)[2], 0x82);
    EXPECT_EQ(rig.box->badFrames(), 1u);

    // The loader does not know the ECU commands.
    rig.exchange(rq::resetRequest());
    EXPECT_EQ(rig.exchange(rq::readRegisterRequest(0x08)), frame::build(0x7F, hex("83"), false));
    EXPECT_EQ(rig.exchange(rq::ecuRequest(hex("1A 80"))), hex("00 00 0A 0A"));
    EXPECT_EQ(rig.exchange(rq::connectionStatusRequest())[3], 0);
}

TEST(VarboxTiming, PacingSpendsTheWireTimeOfEveryByte) {
    BoxRig rig(R"({"timing": {"pacing": true, "baud": 9600, "replyDelayMs": 2}})");
    const int64_t t0 = rig.clock.nowUs();
    const Bytes r = rig.exchange(rq::driverNameRequest());
    ASSERT_EQ(r.size(), 23u);
    // 4 request bytes in, 2 ms turnaround, 23 reply bytes out: 27 bytes of 10 bits.
    const int64_t wire = 27 * 10 * 1000000 / 9600 + 2000;
    EXPECT_GE(rig.clock.nowUs() - t0, wire);
    EXPECT_LT(rig.clock.nowUs() - t0, wire + 2000);
}

// A whole-frame write returns once the line has carried the frame, so the first read of the
// box's answer finds it: a block of 260 bytes takes 270.8 ms at 9600 baud.
TEST(VarboxTiming, DrainWaitsUntilTheLineHasCarriedTheFrame) {
    BoxRig rig(R"({"box": {"program": "none"}, "timing": {"pacing": true, "baud": 9600}})");
    std::array<uint8_t, rq::kDownloadBlockSize> data{};
    Bytes block = rq::downloadBlockRequest(data);
    block.push_back(frame::xorOf(block));
    ASSERT_EQ(block.size(), 260u);
    size_t written = 0;
    const int64_t t0 = rig.clock.nowUs();
    rig.port->write(block.data(), block.size(), written);
    EXPECT_EQ(rig.clock.nowUs(), t0);
    EXPECT_TRUE(rig.port->drain());
    EXPECT_EQ(rig.clock.nowUs() - t0, (int64_t(260) * 10 * 1000000 + 9599) / 9600);
    uint8_t b = 0;
    size_t got = 0;
    rig.port->setReadTimeoutMs(80);
    EXPECT_TRUE(rig.port->readByte(b, got));
    EXPECT_EQ(got, 1u);
    // Nothing more to carry: a second drain returns at once.
    const int64_t t1 = rig.clock.nowUs();
    rig.port->drain();
    EXPECT_EQ(rig.clock.nowUs(), t1);
}

// Whatever the host sends, the box answers with good frames or not at all, and never
// reads or writes out of bounds (the sanitizer build runs this too).
TEST(VarboxRobustness, RandomFramesAndBytesNeverBreakTheBox) {
    BoxRig rig(kVehicle);
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return uint8_t(seed >> 16);
    };
    const uint8_t commands[] = {0x0F, 0x13, 0x15, 0x1A, 0x20, 0x80, 0x81, 0x82,
                                0x83, 0x84, 0x85, 0x86, 0x88, 0x89, 0xF0, 0x06};
    for (int i = 0; i < 3000; ++i) {
        Bytes data(next() % 48);
        if (next() % 8 == 0) data.resize(40);
        for (uint8_t& b : data) b = next();
        const uint8_t c = next() % 4 ? commands[next() % sizeof commands] : next();
        Bytes f = frame::build(c, data, next() & 1);
        if (next() % 10 == 0) f.resize(next() % f.size());  // cut short
        if (next() % 10 == 0) f.back() ^= 0x40;             // bad check byte
        size_t written = 0;
        rig.port->write(f.data(), f.size(), written);
        if (next() % 5 == 0) rig.clock.advanceUs(300000);
        while (!rig.port->pending().empty()) {
            uint8_t b = 0;
            size_t got = 0;
            rig.port->readByte(b, got);
        }
    }
    EXPECT_GT(rig.box->framesReceived(), 1500u);  // cut frames merge with the next
    // Still a working box afterwards.
    rig.clock.advanceUs(1000000);
    rig.exchange(rq::resetRequest());
    EXPECT_EQ(rig.exchange(rq::programStateRequest()).size(), 5u);
}

}  // namespace
}  // namespace corvan::sim
