#include "plugins/mbservice/script_frames.h"

#include <gtest/gtest.h>

namespace corvan::mbservice {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ScriptFrames, RequestsAsTheBoxExpectsThem) {
    EXPECT_EQ(sendRequest(Bytes{0x31, 0x01}), (Bytes{0x80, 0x03, 0x20, 0x00, 0x31, 0x01}));
    EXPECT_EQ(sendRequest(Bytes{}), (Bytes{0x80, 0x00, 0x20}));
    EXPECT_EQ(closingRequest(Bytes{}), (Bytes{0x80, 0x01, 0x20, 0x00}));
    EXPECT_EQ(closingRequest(Bytes{0x82}), (Bytes{0x80, 0x02, 0x20, 0x00, 0x82}));
    EXPECT_EQ(keepAliveOnRequest(Bytes{0x3E}), (Bytes{0x80, 0x02, 0x86, 0x01, 0x3E}));
    EXPECT_EQ(keepAliveOffRequest(), (Bytes{0x80, 0x05, 0x86, 0x00, 0x03, 0x00, 0x09, 0x00}));
    // The longest message still fits the count byte.
    const Bytes longest(kMaxMessageBytes, 0xAA);
    EXPECT_EQ(sendRequest(longest)[1], 0xFF);
}

TEST(ScriptFrames, OnlyMessagesThatWriteOrStartARoutineCountAsChanges) {
    EXPECT_EQ(changingKind(Bytes{0x31, 0x01}), "service");
    EXPECT_EQ(changingKind(Bytes{0x3B, 0x03, 0x00}), "service");
    EXPECT_EQ(changingKind(Bytes{0x2E, 0xF1}), "service");
    EXPECT_EQ(changingKind(Bytes{0x14, 0xFF, 0x00}), "erase");
    EXPECT_EQ(changingKind(Bytes{0x27, 0x02, 0x12}), "login");  // the key
    EXPECT_EQ(changingKind(Bytes{0x27, 0x01}), "");             // the seed request
    EXPECT_EQ(changingKind(Bytes{0x27}), "");
    for (uint8_t reading : {0x21, 0x22, 0x18, 0x1A, 0x10, 0x3E})
        EXPECT_EQ(changingKind(Bytes{reading, 0x01}), "") << int(reading);
    EXPECT_EQ(changingKind(Bytes{}), "");
}

TEST(ScriptFrames, DelayReplacesConfigurationBytesSixAndSevenOnly) {
    std::array<uint8_t, kConfigBytes> config;
    for (size_t i = 0; i < config.size(); ++i) config[i] = static_cast<uint8_t>(0xA0 + i);
    auto out = withDelay(config, 300);
    for (size_t i = 0; i < config.size(); ++i) {
        if (i == 6 || i == 7) continue;
        EXPECT_EQ(out[i], config[i]) << i;
    }
    EXPECT_EQ(out[6], 0x01);
    EXPECT_EQ(out[7], 0x2C);
    out = withDelay(config, 70000);  // 273 / 256 keeps its low 8 bits
    EXPECT_EQ(out[6], 0x11);
    EXPECT_EQ(out[7], 0x70);
    out = withDelay(config, -1);
    EXPECT_EQ(out[6], 0x00);
    EXPECT_EQ(out[7], 0xFF);
}

TEST(ScriptFrames, FrameCharactersReplaceInPlaceAndExtendWithZeroBytes) {
    std::string frame = "3101";
    EXPECT_TRUE(writeFrameChars(frame, 2, "7F"));
    EXPECT_EQ(frame, "317F");
    EXPECT_TRUE(writeFrameChars(frame, 8, "AB"));  // beyond the end: 00 bytes first
    EXPECT_EQ(frame, "317F0000AB");
    EXPECT_TRUE(writeFrameChars(frame, 9, "CD"));
    EXPECT_EQ(frame, "317F0000ACD");
    std::string empty;
    EXPECT_TRUE(writeFrameChars(empty, 4, "1234"));
    EXPECT_EQ(empty, "00001234");
    // Never past the longest message the frame can be sent as.
    std::string full;
    EXPECT_TRUE(writeFrameChars(full, kMaxFrameChars - 2, "FF"));
    EXPECT_EQ(full.size(), kMaxFrameChars);
    EXPECT_FALSE(writeFrameChars(full, kMaxFrameChars - 1, "FF"));
    EXPECT_FALSE(writeFrameChars(full, size_t(1) << 40, "FF"));
    EXPECT_EQ(full.size(), kMaxFrameChars);
}

TEST(ScriptFrames, EveryCodeEntryType) {
    EXPECT_EQ(encodeEntry("TYPE_1", "12AF").chars, "12AF");
    EXPECT_EQ(encodeEntry("TYPE_1", "09").chars, "09");
    EXPECT_TRUE(encodeEntry("TYPE_1", "12AG").bad);
    EXPECT_TRUE(encodeEntry("TYPE_1", "12af").bad);
    EXPECT_EQ(encodeEntry("TYPE_2", "12345").chars, "3039");
    EXPECT_EQ(encodeEntry("TYPE_2", "7").chars, "0007");
    EXPECT_EQ(encodeEntry("TYPE_2", "99999").chars, "869F");  // low 16 bits of 0x1869F
    EXPECT_EQ(encodeEntry("TYPE_3", "19AZ7").chars, "01090A23");
    EXPECT_EQ(encodeEntry("TYPE_3", "12").chars, "0102");
    EXPECT_EQ(encodeEntry("TYPE_3", "0").chars, "00");
    EXPECT_EQ(encodeEntry("TYPE_4", "AB1").chars, "414231");
    EXPECT_EQ(encodeEntry("TYPE_4", "\xC3\x91").chars, "D1");  // one character, one byte
    EXPECT_EQ(encodeEntry("TYPE_5", "1193046").chars, "123456");
    EXPECT_EQ(encodeEntry("TYPE_5", "16777217").chars, "000001");
    EXPECT_EQ(encodeEntry("TYPE_9", "1234").chars, "");
    EXPECT_FALSE(encodeEntry("TYPE_9", "xyz").bad);
    EXPECT_EQ(entryWidth("TYPE_1", 6), 6u);
    EXPECT_EQ(entryWidth("TYPE_2", 9), 4u);
    EXPECT_EQ(entryWidth("TYPE_3", 9), 8u);
    EXPECT_EQ(entryWidth("TYPE_4", 5), 10u);
    EXPECT_EQ(entryWidth("TYPE_5", 8), 6u);
    EXPECT_EQ(entryWidth("other", 8), 0u);
}

}  // namespace
}  // namespace corvan::mbservice
