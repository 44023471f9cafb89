// The KW1281 unit behind the simulated box, driven through the runtime's own exchange: the
// blocks it answers, its values moving on the clock, the dynamic groups' header and data,
// and what the box's keep-alive message does to its session.
#include "sim/kw1281_unit.h"

#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
using testing::hex;

std::string scenario(const std::string& config) {
    return R"({"box": {"keepAliveIntervalMs": 1000},
               "ecus": [{"name": "engine", "select": {"line": "kline", "id": "01"},
                         "model": "kw1281", "config": )" +
           config + "}]}";
}

const std::string kUnit = R"({"delayMs": 20, "measuring": {"groups": [
    {"group": 0, "values": [1, 2, 3, 4, 5, 6, 7, 8, 9, {"from": 100, "to": 200, "periodMs": 2000}]},
    {"group": 1, "fields": [{"formula": 1, "a": 200, "b": {"from": 10, "to": 30, "periodMs": 4000}},
                            {"formula": 5, "a": 10, "b": 135}]},
    {"group": 2, "dynamic": [{"formula": 128, "factor": 40, "u": 50},
                             {"formula": 139, "factor": 10, "extra": "00 0A 14 1E 28 32 3C 46 50 5A 64 6E 78 82 8C 96 A0", "u": 255}]},
    {"group": 3, "raw": "E7 3F 54 44 49"}]}})";

// The unit's answer to one host block: the ECU bytes of the box's reply (empty: the box
// said the unit did not answer).
Bytes ask(BoxRig& rig, const Bytes& block) {
    const Bytes reply = rig.exchange(cmd::ecuRequest(block));
    const auto answer = cmd::ecuAnswer(reply, int(reply.size()));
    return Bytes(answer.begin(), answer.end());
}

Kw1281Unit& unit(BoxRig& rig) {
    return *dynamic_cast<Kw1281Unit*>(rig.box->ecu(0));
}

TEST(Kw1281Unit, GroupAnswersWithValuesMovingOnTheClock) {
    BoxRig rig(scenario(kUnit));
    // Two fields: length 9 (counter, title, 2 x 3 bytes, end byte), then the bytes.
    const Bytes first = ask(rig, hex("04 00 29 01"));
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(first[0], 0x09);
    EXPECT_EQ(first[2], 0xE7);
    EXPECT_EQ(Bytes(first.begin() + 3, first.end()), hex("01 C8 0A 05 0A 87 03"));
    // A quarter period on, b is half-way up; half a period on, at the top. The block
    // counter goes on.
    const auto advanceTo = [&](int64_t phaseUs) {
        rig.clock.advanceUs((phaseUs - rig.clock.nowUs() % 4000000 + 4000000) % 4000000);
    };
    advanceTo(1000000);
    const Bytes quarter = ask(rig, hex("04 00 29 01"));
    EXPECT_GE(quarter[5], 19);
    EXPECT_LE(quarter[5], 21);
    EXPECT_NE(quarter[1], first[1]);
    advanceTo(2000000);
    EXPECT_GE(ask(rig, hex("04 00 29 01"))[5], 29);

    // The other family's group read answers the same way; a group the unit lacks is refused.
    EXPECT_EQ(ask(rig, hex("04 00 21 01"))[2], 0xE7);
    const Bytes refused = ask(rig, hex("04 00 29 07"));
    EXPECT_EQ(refused.size(), 4u);
    EXPECT_EQ(refused[2], 0x0A);
    EXPECT_EQ(ask(rig, hex("03 00 55"))[2], 0x0A);  // a block the unit does not know
    // The raw group answers with exactly its bytes.
    Bytes raw = ask(rig, hex("04 00 29 03"));
    ASSERT_EQ(raw.size(), 8u);
    raw[1] = 0;  // the counter
    EXPECT_EQ(raw, (Bytes{0x07, 0x00, 0xE7, 0x3F, 'T', 'D', 'I', 0x03}));
}

TEST(Kw1281Unit, GroupZeroHasTenRawValues) {
    BoxRig rig(scenario(kUnit));
    for (const char* read : {"03 00 12", "03 00 11 00", "04 00 29 00"}) {
        SCOPED_TRACE(read);
        const Bytes a = ask(rig, hex(read));
        ASSERT_EQ(a.size(), 14u);
        EXPECT_EQ(a[0], 0x0D);
        EXPECT_EQ(a[2], 0xF4);
        EXPECT_EQ(Bytes(a.begin() + 3, a.begin() + 12), hex("01 02 03 04 05 06 07 08 09"));
        EXPECT_GE(a[12], 100);
    }
}

TEST(Kw1281Unit, DynamicGroupSendsItsHeaderAfterEachAcknowledge) {
    BoxRig rig(scenario(kUnit));
    const Bytes header = ask(rig, hex("04 00 29 02"));
    EXPECT_EQ(header[2], 0x02);
    // Two descriptors: 80 28 00, then 8B 0A 11 and the 17 table bytes.
    EXPECT_EQ(header[0], 3 + 3 + 3 + 17);
    EXPECT_EQ(Bytes(header.begin() + 3, header.begin() + 9), hex("80 28 00 8B 0A 11"));
    const Bytes data = ask(rig, hex("04 00 29 02"));
    EXPECT_EQ(Bytes(data.begin() + 2, data.end()), hex("F4 32 FF 03"));
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0xF4);
    // The acknowledge starts the group over; so does reading another group.
    const Bytes ack = ask(rig, hex("03 00 09 00"));
    EXPECT_EQ(Bytes(ack.begin() + 2, ack.end()), hex("09 03"));
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0x02);
    ask(rig, hex("04 00 29 01"));
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0x02);
    EXPECT_EQ(unit(rig).measuring().headersSent(), 3);
    EXPECT_EQ(unit(rig).measuring().dataBlocksSent(), 2);
}

TEST(Kw1281Unit, TheBoxKeepAliveMessageActsOnTheGroups) {
    BoxRig rig(scenario(kUnit));
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0x02);
    // The box repeats the group read: the unit keeps sending data.
    rig.exchange(cmd::keepAliveRequest(true, hex("04 00 29 02")));
    rig.clock.advanceUs(2500000);
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0xF4);
    EXPECT_EQ(unit(rig).keepAlivesSeen(), 2);
    // The box repeats an acknowledge: the next read gets the header again.
    rig.exchange(cmd::keepAliveRequest(true, hex("03 00 09 00")));
    rig.clock.advanceUs(1500000);
    EXPECT_EQ(ask(rig, hex("04 00 29 02"))[2], 0x02);
}

TEST(Kw1281Unit, SessionDropsWithoutBlocksAndEndsOnRequest) {
    BoxRig rig(scenario(R"({"sessionTimeoutMs": 1500, "measuring": {"groups": [
        {"group": 1, "fields": [{"formula": 1, "a": 1, "b": 5}]}]}})"));
    // The box's keep-alive holds the session across a long pause.
    rig.exchange(cmd::keepAliveRequest(true, hex("03 00 09 00")));
    rig.clock.advanceUs(10000000);
    EXPECT_EQ(ask(rig, hex("04 00 29 01"))[2], 0xE7);
    // Without it the unit drops the line: the box then says it does not answer.
    rig.exchange(cmd::keepAliveRequest(false, hex("04 00 29 01")));
    rig.clock.advanceUs(1600000);
    EXPECT_TRUE(ask(rig, hex("04 00 29 01")).empty());
    EXPECT_FALSE(unit(rig).sessionOpen());

    // Connecting again opens a new session; the end-of-session block closes it.
    BoxRig fresh(scenario(R"({"measuring": {"groups": [
        {"group": 1, "fields": [{"formula": 1, "a": 1, "b": 5}]}]}})"));
    fresh.clock.advanceUs(100000000);  // no time-out: the session lasts
    EXPECT_EQ(ask(fresh, hex("04 00 29 01"))[2], 0xE7);
    EXPECT_TRUE(ask(fresh, hex("03 00 06")).empty());
    EXPECT_TRUE(ask(fresh, hex("04 00 29 01")).empty());
    std::array<uint8_t, 40> config{};
    EXPECT_TRUE(unit(fresh).connect(config, fresh.clock.nowUs()).connected);
    EXPECT_TRUE(unit(fresh).sessionOpen());
    // The counter starts over: the host's first block counted 1, the unit's answer 2.
    std::vector<uint8_t> counters;
    for (int i = 0; i < 3; ++i) counters.push_back(ask(fresh, hex("04 00 29 01"))[1]);
    EXPECT_EQ(counters, (Bytes{2, 4, 6}));
}

TEST(Kw1281Unit, MovingBytesRunUpAndDown) {
    const MovingByte m{10, 30, 4000};
    EXPECT_EQ(m.at(0), 10);
    EXPECT_EQ(m.at(1000), 20);
    EXPECT_EQ(m.at(2000), 30);
    EXPECT_EQ(m.at(3000), 20);
    EXPECT_EQ(m.at(4000), 10);
    EXPECT_EQ(m.at(-1000), 20);
    const MovingByte down{200, 100, 1000};
    EXPECT_EQ(down.at(500), 100);
    EXPECT_EQ((MovingByte{7, 7, 0}).at(123456), 7);
    EXPECT_EQ((MovingByte{10, 30, 1}).at(0), 10);  // too short a period to move
}

TEST(Kw1281Unit, ConfigMistakesNameTheirPlace) {
    struct Bad {
        const char* config;
        const char* place;
        const char* message;
    };
    const Bad bad[] = {
        {R"({"measuring": {"groups": [{"group": 256, "raw": "E7"}]}})",
         "/ecus/0/config/measuring/groups/0/group", "outside"},
        {R"({"measuring": {"groups": [{"group": 1}]}})", "/ecus/0/config/measuring/groups/0",
         "exactly one of"},
        {R"({"measuring": {"groups": [{"group": 1, "raw": "E7"}, {"group": 1, "raw": "E7"}]}})",
         "/ecus/0/config/measuring/groups/1/group", "given twice"},
        {R"({"measuring": {"groups": [{"group": 1, "fields": [{"formula": 1, "a": 300, "b": 1}]}]}})",
         "/ecus/0/config/measuring/groups/0/fields/0/a", "outside 0..255"},
        {R"({"measuring": {"groups": [{"group": 1, "fields": [{"formula": 1, "a": {"from": 1}, "b": 1}]}]}})",
         "/ecus/0/config/measuring/groups/0/fields/0/a", "\"from\" and \"to\""},
        {R"({"measuring": {"groups": [{"group": 1, "dynamic": [{"formula": 128, "factor": 1}]}]}})",
         "/ecus/0/config/measuring/groups/0/dynamic/0", "missing \"u\""},
        {R"({"measuring": {"groups": [{"group": 1, "fields": []}]}})",
         "/ecus/0/config/measuring/groups/0/fields", "at least one field"},
        {R"({"sessionTimeout": 5})", "/ecus/0/config/sessionTimeout", "unknown key"},
        {R"({"connect": {"reply": "XY"}})", "/ecus/0/config/connect/reply", "bad hex digit"},
        {R"({"measuring": {"groups": [{"group": 1, "dynamic": [{"formula": 128, "factor": 1, "u": 1, "table": "00"}]}]}})",
         "/ecus/0/config/measuring/groups/0/dynamic/0/table", "unknown key"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.config);
        const LoadResult r = loadScenarioText(scenario(b.config), "t.json");
        ASSERT_FALSE(r.ok());
        EXPECT_NE(r.error.find(std::string("t.json: ") + b.place + ":"), std::string::npos)
            << r.error;
        EXPECT_NE(r.error.find(b.message), std::string::npos) << r.error;
    }
    // Values may run down to 0; a session without time-out is written as 0.
    EXPECT_TRUE(loadScenarioText(scenario(R"({"sessionTimeoutMs": 0, "measuring": {"groups": [
        {"group": 1, "fields": [{"formula": 1, "a": 1, "b": {"from": 9, "to": 0}}]}]}})"),
                                 "t.json")
                    .ok());
    // A group whose answer would not fit one block.
    std::string many = R"({"measuring": {"groups": [{"group": 1, "fields": [)";
    for (int i = 0; i < 85; ++i)
        many += std::string(i ? "," : "") + R"({"formula": 1, "a": 1, "b": 1})";
    EXPECT_FALSE(loadScenarioText(scenario(many + "]}]}}"), "t.json").ok());
}

}  // namespace
}  // namespace corvan::sim
