// The configuration the box's driver gets for one ECU, byte by byte.
#include "plugins/boxstart/connection_config.h"

#include <gtest/gtest.h>

#include "plugins/boxstart/box_texts.h"
#include "plugins/boxstart/boxstart_test_support.h"

namespace corvan::boxstart {
namespace {

using testing::Bytes;

// The box's template as it comes: 80 28 80, forty data bytes (byte 4 marked), no check byte.
Bytes templateFrame() {
    Bytes f(3 + 40, 0xEE);
    f[0] = 0x80, f[1] = 0x28, f[2] = 0x80;
    f[4] = 0x02;
    return f;
}

Bytes filled(const testing::Keys& keys, int pin) {
    Bytes f = templateFrame();
    fillConfigFrame(f, readConnectionKeys(testing::section(keys)), pin);
    return f;
}

TEST(MatchAdapter, WholePlugTakesTheWholePinText) {
    const AdapterMatch m = MatchAdapter("KLIA", "7", "KLIA");
    EXPECT_EQ(m.index, 0);
    EXPECT_EQ(m.pin, 7);
}

TEST(MatchAdapter, ListEntryGivesThePinAtTheSamePlace) {
    const AdapterMatch m = MatchAdapter("OBDII,MB", "7,8", "MB");
    EXPECT_EQ(m.index, 1);
    EXPECT_EQ(m.pin, 8);
    EXPECT_EQ(MatchAdapter("OBDII,MB", "7,8", "OBDII").pin, 7);
}

TEST(MatchAdapter, LastEqualEntryWins) {
    const AdapterMatch m = MatchAdapter("MB,OBDII,MB", "1,6,12", "MB");
    EXPECT_EQ(m.index, 2);
    EXPECT_EQ(m.pin, 12);
}

TEST(MatchAdapter, NamesMustBeEqualNotContained) {
    EXPECT_EQ(MatchAdapter("OBDII,KLIA", "7,7", "MB").index, -1);
    EXPECT_EQ(MatchAdapter("OBDII", "7", "OBD").index, -1);
    EXPECT_EQ(MatchAdapter("", "", "KLIA").index, -1);
}

TEST(MatchAdapter, MissingPinEntryGivesPinZero) {
    const AdapterMatch m = MatchAdapter("OBDII,MB", "7", "MB");
    EXPECT_EQ(m.index, 1);
    EXPECT_EQ(m.pin, 0);
}

TEST(DecimalValue, ReadsLeadingDigitsOnly) {
    EXPECT_EQ(decimalValue("300"), 300);
    EXPECT_EQ(decimalValue(" 12ms"), 12);
    EXPECT_EQ(decimalValue("-5"), -5);
    EXPECT_EQ(decimalValue(""), 0);
    EXPECT_EQ(decimalValue("x1"), 0);
    EXPECT_EQ(decimalValue("99999999999999999999999"), 1'000'000'000);
}

TEST(ConfigFrame, KLineFields) {
    const Bytes f = filled(testing::kLineKeys(), 7);
    const Bytes expected = {0x80, 0x28, 0x80, 0x01, 0x02, 0x00, 0x00, 0x28,
                            0x10, 0x01, 0x2C, 0x00, 0x05, 0x01, 0x81, 0xEE};
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 16), expected);
}

TEST(ConfigFrame, KLinePinBytes) {
    auto pins = [](int pin) {
        const Bytes f = filled(testing::kLineKeys(), pin);
        return std::pair<int, int>(f[5], f[6]);
    };
    EXPECT_EQ(pins(8), std::make_pair(0x20, 0x00));
    EXPECT_EQ(pins(1), std::make_pair(0x00, 0xA0));
    EXPECT_EQ(pins(6), std::make_pair(0x00, 0x20));
    EXPECT_EQ(pins(12), std::make_pair(0x00, 0x80));
    EXPECT_EQ(pins(7), std::make_pair(0x00, 0x00));
}

TEST(ConfigFrame, TimesUse255ForTheHighByte) {
    // 300 = 1 x 255 + 45, but the low byte is taken modulo 256: 0x2C.
    Bytes f = filled(testing::with(testing::kLineKeys(), "TFRAME", "300"), 7);
    EXPECT_EQ(f[9], 1);
    EXPECT_EQ(f[10], 0x2C);
    f = filled(testing::with(testing::kLineKeys(), "TBYTE", "510"), 7);
    EXPECT_EQ(f[11], 2);
    EXPECT_EQ(f[12], 0xFE);
}

TEST(ConfigFrame, SccTakesOnlyItsFirstDigitAndBadDigitsCountZero) {
    Bytes f = filled(testing::with(testing::kLineKeys(), "SCC", "B7"), 7);
    EXPECT_EQ(f[13], 0x0B);
    f = filled(testing::with(testing::with(testing::kLineKeys(), "ID", "1a"), "BRG", "G8"), 7);
    EXPECT_EQ(f[8], 0x10);  // lower-case 'a' counts 0
    EXPECT_EQ(f[7], 0x08);
}

TEST(ConfigFrame, CanFields) {
    const Bytes f = filled(testing::canKeys(), 0);
    const Bytes expected = {0x80, 0x28, 0x80, 0x01, 0x02, 0x01, 0x1C, 0x00, 0x20,
                            0x00, 0x64, 0x01, 0xF4, 0x28, 0x10, 0x81, 0xEE};
    EXPECT_EQ(Bytes(f.begin(), f.begin() + 17), expected);
}

TEST(ConfigFrame, ChannelKeyWithoutValueStillMeansCan) {
    const ConnectionKeys k =
        readConnectionKeys(testing::section(testing::with(testing::canKeys(), "CHANNEL", "")));
    EXPECT_TRUE(k.can);
    Bytes f = templateFrame();
    fillConfigFrame(f, k, 0);
    EXPECT_EQ(f[kChannelIndex], 208);
    EXPECT_FALSE(readConnectionKeys(testing::section(testing::kLineKeys())).can);
}

TEST(ConfigFrame, NeverWritesPastTheFrameItsHeaderAnnounces) {
    // A template of 8 data bytes and an initial message far too long for 40 bytes.
    const testing::Keys keys = testing::with(testing::kLineKeys(), "BEG", std::string(200, 'A'));
    Bytes small = {0x80, 0x08, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x77, 0x77};
    fillConfigFrame(small, readConnectionKeys(testing::section(keys)), 7);
    EXPECT_EQ(small[10], 0x2C);  // the last data byte
    EXPECT_EQ(small[11], 0x77);
    EXPECT_EQ(small[12], 0x77);
    Bytes full = filled(keys, 7);
    EXPECT_EQ(full.size(), 43u);
    EXPECT_EQ(full[42], 0xAA);
    Bytes tiny = {0x80, 0x00};
    fillConfigFrame(tiny, readConnectionKeys(testing::section(keys)), 7);
    EXPECT_EQ(tiny, (Bytes{0x80, 0x00}));
}

TEST(MaintenanceFrame, EmptyMntSwitchesTheKeepAliveOff) {
    EXPECT_EQ(maintenanceRequest(""), (Bytes{0x80, 0x05, 0x86, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST(MaintenanceFrame, MntBytesAreHandedToTheBox) {
    EXPECT_EQ(maintenanceRequest("3E01"), (Bytes{0x80, 0x03, 0x86, 0x01, 0x3E, 0x01}));
}

TEST(EcuAnswerText, BytesFromIndexFourAsHex) {
    const Bytes reply = {0x80, 0x04, 0x80, 0x00, 0xC1, 0xEF, 0x8F, 0x00};
    EXPECT_EQ(ecuAnswerText(reply, 8), "C1EF8F");
}

TEST(EcuAnswerText, CountUses255PerHighByte) {
    // L = 0x101 = 257 data bytes, but the count is 1 x 255 + 1 - 1 = 255.
    Bytes reply(257 + 4, 0x11);
    reply[0] = 0x81, reply[1] = 0x01, reply[2] = 0x80;
    EXPECT_EQ(ecuAnswerText(reply, int(reply.size())).size(), 255u * 2);
}

TEST(EcuAnswerText, ShortRepliesGiveEmptyText) {
    EXPECT_EQ(ecuAnswerText(Bytes{0x00, 0x00, 0x0A, 0x0A}, 4), "");
    EXPECT_EQ(ecuAnswerText(Bytes{0x80, 0x01, 0x80, 0x00, 0x81}, 5), "");
    EXPECT_EQ(ecuAnswerText(Bytes{0x80, 0x09, 0x80}, 3), "");
}

TEST(FillIn, ReplacesMarkersInOrderAndKeepsValuesLiteral) {
    EXPECT_EQ(fillIn("Connection attempts: %i from %i", {"1", "2"}),
              "Connection attempts: 1 from 2");
    EXPECT_EQ(fillIn("ERROR: can´t open %s DRIVER", {"a%sb"}), "ERROR: can´t open a%sb DRIVER");
    EXPECT_EQ(fillIn("%s and %s", {"x"}), "x and ");
    EXPECT_EQ(fillIn("100%", {}), "100%");
}

}  // namespace
}  // namespace corvan::boxstart
