#include "sim/hex_pattern.h"

#include <gtest/gtest.h>

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(HexBytes, AcceptsBlanksOrNoneAndEitherCase) {
    EXPECT_EQ(parseHexBytes("1A 80", nullptr), (Bytes{0x1A, 0x80}));
    EXPECT_EQ(parseHexBytes("1a80ff", nullptr), (Bytes{0x1A, 0x80, 0xFF}));
    EXPECT_EQ(parseHexBytes("", nullptr), Bytes{});
}

TEST(HexBytes, NamesTheBadCharacter) {
    std::string error;
    EXPECT_FALSE(parseHexBytes("1A 8G", &error));
    EXPECT_NE(error.find("character 5"), std::string::npos) << error;
    EXPECT_FALSE(parseHexBytes("1A 8", &error));
    EXPECT_NE(error.find("lone hex digit"), std::string::npos) << error;
    EXPECT_FALSE(parseHexBytes("1A ??", &error));  // wildcards only in patterns
}

TEST(BytePattern, WildcardsAndTail) {
    auto p = BytePattern::parse("1A ??", nullptr);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->matches(Bytes{0x1A, 0x9B}));
    EXPECT_FALSE(p->matches(Bytes{0x1A}));
    EXPECT_FALSE(p->matches(Bytes{0x1A, 0x9B, 0x00}));
    EXPECT_FALSE(p->matches(Bytes{0x1B, 0x9B}));

    auto tail = BytePattern::parse("21 *", nullptr);
    ASSERT_TRUE(tail);
    EXPECT_TRUE(tail->matches(Bytes{0x21}));
    EXPECT_TRUE(tail->matches(Bytes{0x21, 0x01, 0x02}));
    EXPECT_FALSE(tail->matches(Bytes{}));

    std::string error;
    EXPECT_FALSE(BytePattern::parse("* 21", &error));
    EXPECT_NE(error.find("last"), std::string::npos);
}

TEST(BytePattern, FillCopiesTheSourceAtWildcards) {
    auto p = BytePattern::parse("5A ?? 31 ??", nullptr);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->fill(Bytes{0x1A, 0x9B}), (Bytes{0x5A, 0x9B, 0x31, 0x00}));
    auto negative = BytePattern::parse("7F $0 11 $1", nullptr);
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->fill(Bytes{0x31, 0x05}), (Bytes{0x7F, 0x31, 0x11, 0x05}));
}

TEST(FormatHex, UpperCaseWithBlanks) {
    EXPECT_EQ(formatHex(Bytes{0x0a, 0xff, 0x00}), "0A FF 00");
    EXPECT_EQ(formatHex(Bytes{}), "");
}

}  // namespace
}  // namespace corvan::sim
