#include "sim/ecu_selector.h"

#include <gtest/gtest.h>

namespace corvan::sim {
namespace {

// Configuration bytes by frame index, as the connection set-up writes them.
struct Config {
    std::array<uint8_t, 40> bytes{};
    Config& at(size_t frameIndex, uint8_t v) {
        bytes[frameIndex - 3] = v;
        return *this;
    }
};

TEST(EcuSelector, KLineAddressPinAndInitialMessage) {
    EcuSelector s;
    s.line = EcuSelector::Line::KLine;
    s.id = 0x10;
    EXPECT_TRUE(s.matches(Config().at(3, 1).at(8, 0x10).bytes));
    EXPECT_FALSE(s.matches(Config().at(3, 1).at(8, 0x11).bytes));

    s.pin = 8;  // index 5 = 0x20, index 6 = 0
    EXPECT_TRUE(s.matches(Config().at(8, 0x10).at(5, 0x20).bytes));
    EXPECT_FALSE(s.matches(Config().at(8, 0x10).bytes));
    s.pin = 1;  // index 6 = 0xA0
    EXPECT_TRUE(s.matches(Config().at(8, 0x10).at(6, 0xA0).bytes));
    s.pin = 7;  // a pin without a code of its own
    EXPECT_TRUE(s.matches(Config().at(8, 0x10).bytes));
    EXPECT_FALSE(s.matches(Config().at(8, 0x10).at(6, 0x80).bytes));

    s.begins = {0x81, 0x10};
    EXPECT_TRUE(s.matches(Config().at(8, 0x10).at(14, 0x81).at(15, 0x10).at(16, 0xF1).bytes));
    EXPECT_FALSE(s.matches(Config().at(8, 0x10).at(14, 0x81).bytes));
}

TEST(EcuSelector, CanChannelAndIdentifiers) {
    EcuSelector s;
    s.line = EcuSelector::Line::Can;
    s.channel = 1;
    s.respCode = 0x28;
    s.acceptCode = 0x20;
    s.acceptMask = 0x00;
    const Config good = Config().at(3, 1).at(13, 0x28).at(8, 0x20);
    EXPECT_TRUE(s.matches(good.bytes));
    EXPECT_FALSE(s.matches(Config(good).at(3, 2).bytes));
    EXPECT_FALSE(s.matches(Config(good).at(13, 0x29).bytes));
    EXPECT_FALSE(s.matches(Config(good).at(8, 0x21).bytes));
    EXPECT_FALSE(s.matches(Config(good).at(7, 0xFF).bytes));
    EXPECT_EQ(s.describe(), "CAN channel 1 RESPCODE 28 ACCEPTCODE 20 ACCEPTMASK 00");
}

TEST(EcuSelector, AnyMatchesEverything) {
    EXPECT_TRUE(EcuSelector{}.matches(Config().at(3, 7).at(8, 0x99).bytes));
}

}  // namespace
}  // namespace corvan::sim
