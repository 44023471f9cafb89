// The KW1281 unit behind the box, driven through the runtime's exchange as the VAG
// functions drive it: identification groups, coding, login, adaptation channels and the
// box's keep-alive repetition.
#include "sim/kw1281_unit.h"

#include <gtest/gtest.h>

#include "runtime/commands.h"
#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using testing::BoxRig;
using testing::Bytes;
using testing::hex;

std::string vehicle(const std::string& unit, const std::string& box = "") {
    return R"({"box": {)" + box + R"("driverName": "KWP2000"},
               "ecus": [{"name": "kombi", "select": {"line": "kline", "id": "17"},
                         "model": "kw1281", "config": {)" +
           unit + "}}]}";
}

const std::string kUnit = R"("delayMs": 20,
    "identification": [["1J0920826A  ", "KOMBI+WEGFAH", "RSP VDO V01 "], ["WVWZZZ1JZ3W0"]],
    "coding": 1234, "workshopCode": 5678, "loginCode": 11111,
    "channels": [{"channel": 9, "value": 500, "text": 294, "locked": true, "max": 1000},
                 {"channel": 30, "value": 7}, {"channel": 40, "value": 1, "readable": false}])";

class Kw1281Test : public ::testing::Test {
  protected:
    explicit Kw1281Test(const std::string& json = vehicle(kUnit)) : rig(json) {}
    Kw1281Unit& unit() { return *dynamic_cast<Kw1281Unit*>(rig.box->ecu(0)); }
    // The unit's answer (from reply byte 4 on) to a message; empty when the box said none.
    Bytes ask(const Bytes& message) {
        const Bytes r = rig.exchange(cmd::ecuRequest(message));
        if (r.size() < 5 || r[2] != 0x20) return {};
        return Bytes(r.begin() + 4, r.end() - 1);
    }
    uint8_t title(const Bytes& message) {
        const Bytes a = ask(message);
        return a.size() > 2 ? a[2] : 0xFF;
    }
    Bytes kwp(const std::string& service) {
        const Bytes s = hex(service);
        Bytes m{static_cast<uint8_t>(0x80 | s.size()), 0x17, 0xF1};
        m.insert(m.end(), s.begin(), s.end());
        const Bytes a = ask(m);
        return a.size() > 3 ? Bytes(a.begin() + 3, a.end()) : Bytes{};
    }
    BoxRig rig;
    const Bytes identify = hex("03 00 00 00"), acknowledge = hex("03 00 09 00");
};

TEST_F(Kw1281Test, IdentificationGroupsWithTheMoreBitAndTheCodingBlock) {
    const Bytes first = ask(identify);
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(first[0], 0x0F);  // counter, title, 12 characters and the end byte
    EXPECT_EQ(first[2], 0xF6);
    EXPECT_EQ(first[3], '1' | 0x80);  // another group follows
    EXPECT_EQ(title(acknowledge), 0xF6);
    EXPECT_EQ(title(acknowledge), 0xF6);
    // The fourth block: 00, coding × 2, workshop code.
    const Bytes coding = ask(acknowledge);
    EXPECT_EQ(Bytes(coding.begin() + 2, coding.end()), hex("F6 00 09 A4 16 2E 03"));
    EXPECT_EQ(title(acknowledge), 0x09);  // the group has ended
    EXPECT_EQ(title(acknowledge), 0x09);
    const Bytes second = ask(identify);
    ASSERT_GE(second.size(), 4u);
    EXPECT_EQ(second[3], 'W');  // the last group: no bit
    EXPECT_EQ(title(acknowledge), 0x09);
    EXPECT_EQ(ask(identify)[3], '1' | 0x80);  // and the first one again
}

TEST_F(Kw1281Test, CodingBlockChangesTheCodingOrIsRefused) {
    // 07 00 10, coding 4321 doubled, workshop code 00 42.
    EXPECT_EQ(title(hex("07 00 10 21 C2 00 42")), 0x09);
    EXPECT_EQ(unit().coding(), 4321);
    EXPECT_EQ(unit().workshopCode(), 0x42);
    // The identification gives the new coding from then on.
    ask(identify);
    ask(acknowledge);
    ask(acknowledge);
    const Bytes fourth = ask(acknowledge);
    EXPECT_EQ(Bytes(fourth.begin() + 2, fourth.end()), hex("F6 00 21 C2 00 42 03"));
    // A block too short to carry a coding is refused and changes nothing.
    EXPECT_EQ(title(hex("05 00 10 01 02")), 0x0A);
    EXPECT_EQ(unit().coding(), 4321);
    EXPECT_EQ(unit().codingBlocks(), 1);
}

// A part answering group reads (title 29) sees every block first, keep-alives included.
struct GroupPart final : Kw1281Part {
    std::optional<Kw1281Block> answer(std::span<const uint8_t> block, int64_t) override {
        ++seen;
        if (block.size() < 4 || block[2] != 0x29) return std::nullopt;
        return Kw1281Block{0xE7, {0x01, 0x64, block[3]}};
    }
    int seen = 0;
};

TEST_F(Kw1281Test, PartsAnswerTheirOwnBlocksAndLeaveTheRest) {
    auto part = std::make_unique<GroupPart>();
    GroupPart& groups = *part;
    unit().addPart(std::move(part));
    // The counter runs over both sides: the host's block 1, the answer 2.
    EXPECT_EQ(ask(hex("04 00 29 07")), hex("06 02 E7 01 64 07 03"));
    EXPECT_EQ(title(hex("03 00 29")), 0x0A);  // too short for the part: the unit refuses
    EXPECT_EQ(title(identify), 0xF6);         // the unit's own services still answer
    unit().keepAlive(acknowledge, 0);
    EXPECT_EQ(groups.seen, 4);
}

TEST(Kw1281Refusing, UnitThatRefusesCoding) {
    BoxRig rig(vehicle(R"("coding": 10, "refuseCoding": true)"));
    const Bytes r = rig.exchange(cmd::ecuRequest(hex("07 00 10 00 14 00 01")));
    ASSERT_GE(r.size(), 7u);
    EXPECT_EQ(r[6], 0x0A);
    EXPECT_EQ(dynamic_cast<Kw1281Unit*>(rig.box->ecu(0))->coding(), 10);
}

TEST_F(Kw1281Test, LoginUnlocksTheChannelsAndThreeFailuresLockTheUnit) {
    const std::string start = "31 B8 01 03", select9 = "31 B9 01 03 09";
    EXPECT_EQ(kwp(start), hex("71 B8 01 03"));
    EXPECT_EQ(kwp(select9), hex("71 B9 01 03 09"));
    EXPECT_EQ(kwp("31 B9 01 03 01 F4"), hex("7F 31 33"));  // locked
    EXPECT_EQ(title(hex("08 00 2B 00 01 00 16 2E")), 0x0A);
    EXPECT_EQ(title(hex("08 00 2B 2B 67 00 16 2E")), 0x09);  // 11111
    EXPECT_TRUE(unit().loggedIn());
    EXPECT_EQ(kwp("31 B9 01 03 01 F4"), hex("71 B9 01 03 01 F4"));

    // A new session forgets the login (the end-of-session block ends it, unanswered);
    // three wrong codes and the right one is refused too.
    EXPECT_TRUE(ask(hex("03 00 06 00")).empty());
    EXPECT_FALSE(unit().loggedIn());
    EXPECT_TRUE(ask(hex("04 00 29 01")).empty());  // the line stays closed
    std::array<uint8_t, 40> config{};
    EXPECT_TRUE(unit().connect(config, 0).connected);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(title(hex("08 00 2B 00 01 00 16 2E")), 0x0A);
    EXPECT_EQ(title(hex("08 00 2B 2B 67 00 16 2E")), 0x0A);
    EXPECT_FALSE(unit().loggedIn());
}

TEST_F(Kw1281Test, ReadTestAndSaveAChannel) {
    EXPECT_EQ(kwp("31 BA 01 03"), hex("7F 31 22"));  // no routine yet
    kwp("31 B8 01 03");
    // Before a channel is chosen the read answers zeros.
    EXPECT_EQ(kwp("31 BA 01 03"), hex("71 BA 01 03 00 00 00 00 00 00 00 00"));
    kwp("31 B9 01 03 1E");
    EXPECT_EQ(kwp("31 BA 01 03"), hex("71 BA 01 03 1E 00 00 07 00 00 00 00"));
    // A save needs the same value tested first.
    EXPECT_EQ(kwp("31 BB 01 03 00 08 01 02 03 04 05 06"), hex("7F 31 22"));
    EXPECT_EQ(kwp("31 B9 01 03 00 08"), hex("71 B9 01 03 00 08"));
    EXPECT_EQ(kwp("31 BA 01 03"), hex("71 BA 01 03 1E 00 00 08 00 00 00 00"));
    EXPECT_EQ(kwp("31 BB 01 03 00 08 01 02 03 04 05 06"), hex("71 BB 01 03"));
    EXPECT_EQ(unit().adaptation().channel(30)->value, 8);
    EXPECT_EQ(unit().adaptation().savedBy(), (std::array<uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(kwp("32 B8 01 03"), hex("72 B8 01 03"));
    EXPECT_FALSE(unit().adaptation().running());

    // Unknown and unreadable channels are refused; a value text comes with "%".
    kwp("31 B8 01 03");
    EXPECT_EQ(kwp("31 B9 01 03 29"), hex("7F 31 31"));
    EXPECT_EQ(kwp("31 B9 01 03 28"), hex("7F 31 31"));
    kwp("31 B9 01 03 09");
    EXPECT_EQ(kwp("31 BA 01 03"), hex("71 BA 01 03 09 00 01 F4 00 25 01 26"));
    // Channel 0 puts every channel back.
    kwp("31 B9 01 03 00");
    EXPECT_EQ(kwp("31 BB 01 03 00 00 00 00 00 00 00 00"), hex("71 BB 01 03"));
    EXPECT_EQ(unit().adaptation().channel(30)->value, 7);
}

TEST(Kw1281Address, KwpMessagesToAnotherAddressGoUnanswered) {
    BoxRig rig(vehicle(R"("kwpAddress": "17")"));
    Bytes r = rig.exchange(cmd::ecuRequest(hex("84 17 F1 31 B8 01 03")));
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(Bytes(r.begin(), r.end() - 1), hex("80 08 20 00 84 F1 17 71 B8 01 03"));
    r = rig.exchange(cmd::ecuRequest(hex("84 01 F1 31 B8 01 03")));
    EXPECT_EQ(r, hex("00 00 0A 0A"));
}

// The box repeating the acknowledge block while the unit gives a group takes blocks away.
TEST(Kw1281KeepAlive, RepetitionInTheMiddleOfAGroupLosesBlocks) {
    BoxRig rig(vehicle(kUnit, R"("keepAlive": "03 00 09 00", "keepAliveIntervalMs": 10, )"));
    auto& unit = *dynamic_cast<Kw1281Unit*>(rig.box->ecu(0));
    rig.exchange(cmd::keepAliveRequest(true, hex("03 00 09 00")));
    rig.exchange(cmd::ecuRequest(hex("03 00 00 00")));
    rig.clock.advanceUs(50000);
    const Bytes next = rig.exchange(cmd::ecuRequest(hex("03 00 09 00")));
    EXPECT_GT(unit.keepAlivesSeen(), 0u);
    EXPECT_EQ(unit.blocksLostToKeepAlive(), 3u);
    ASSERT_GE(next.size(), 7u);
    EXPECT_EQ(next[6], 0x09);  // the rest of the group went to the keep-alive

    // Switched off, nothing is lost.
    BoxRig quiet(vehicle(kUnit, R"("keepAlive": "03 00 09 00", "keepAliveIntervalMs": 10, )"));
    auto& still = *dynamic_cast<Kw1281Unit*>(quiet.box->ecu(0));
    quiet.exchange(cmd::ecuRequest(hex("03 00 00 00")));
    quiet.clock.advanceUs(50000);
    EXPECT_EQ(quiet.exchange(cmd::ecuRequest(hex("03 00 09 00")))[7], 'K');
    EXPECT_EQ(still.blocksLostToKeepAlive(), 0u);
}

TEST(Kw1281Config, MistakesNameTheirPlace) {
    for (const auto& [unit, place] : std::vector<std::pair<std::string, std::string>>{
             {R"("codeing": 1)", "/ecus/0/config/codeing"},
             {R"("coding": 40000)", "/ecus/0/config/coding"},
             {R"("channels": [{"channel": 2}, {"channel": 2}])",
              "/ecus/0/config/channels/1/channel"},
             {R"("channels": [{"value": 2}])", "/ecus/0/config/channels/0"},
             {R"("identification": [["x", 3]])", "/ecus/0/config/identification/0/1"},
             {R"("kwpAddress": "1717")", "/ecus/0/config/kwpAddress"},
         }) {
        const LoadResult r = loadScenarioText(vehicle(unit), "t.json");
        EXPECT_FALSE(r.ok()) << unit;
        EXPECT_NE(r.error.find(place), std::string::npos) << r.error;
    }
}

}  // namespace
}  // namespace corvan::sim
