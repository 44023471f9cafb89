// The live-data items of the kinds "VAG" and "VAGCAN": which answers are decoded, with which
// table, and which give "???" (the unit then stays as the item had it).
#include <gtest/gtest.h>

#include <vector>

#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vag {
namespace {

// A four-field group answer as the live data keep it: 16 bytes, 32 characters.
constexpr std::string_view kGroup =
    "0F01E7"
    "01C810"
    "050307"
    "2C0905"
    "100000"
    "03";

TEST(VagItems, GroupAnswersOfAtLeastThirtyTwoCharacters) {
    ASSERT_EQ(kGroup.size(), 32u);
    EXPECT_EQ(decodeVagItem(kGroup, 0, {}), (FieldText{"640", "RPM"}));
    EXPECT_EQ(decodeVagItem(kGroup, 2, {}), (FieldText{"09:05", "HH:MM"}));
    EXPECT_EQ(decodeVagItem(kGroup, 3, {}), (FieldText{"00000000", ""}));
    EXPECT_EQ(decodeVagItem(kGroup, 4, {}), std::nullopt);  // past the answer
    // 30 characters: the answer is not read, even with the right title.
    EXPECT_EQ(decodeVagItem(kGroup.substr(0, 30), 0, {}), std::nullopt);
    EXPECT_EQ(decodeVagItem("", 0, {}), std::nullopt);
    // Another title (a refusal 0x0A, dynamic data without its header).
    std::string refused(kGroup);
    refused.replace(4, 2, "0A");
    EXPECT_EQ(decodeVagItem(refused, 0, {}), std::nullopt);
    std::string data(kGroup);
    data.replace(4, 2, "F4");
    EXPECT_EQ(decodeVagItem(data, 0, {}), std::nullopt);
    // Lower-case digits count as 0, as everywhere in the live data: "e7" is no title.
    std::string lower(kGroup);
    lower.replace(4, 2, "e7");
    EXPECT_EQ(decodeVagItem(lower, 0, {}), std::nullopt);
    // The channel reader's text formulas are not the live data's.
    std::string text(kGroup);
    text.replace(6, 2, "3F");
    EXPECT_EQ(decodeVagItem(text, 0, {})->unit, "?: 063");
}

TEST(VagItems, DynamicGroupsDecodeWithTheirHeader) {
    const std::vector<uint8_t> header{0x09, 0x01, kTitleHeader, 128, 40, 0, 134, 2, 0};
    EXPECT_EQ(decodeVagItem("0602F4323C03", 0, header), (FieldText{"2000", "RPM"}));
    EXPECT_EQ(decodeVagItem("0602F4323C03", 1, header), (FieldText{"120", "KM/H"}));
    EXPECT_EQ(decodeVagItem("0602F4323C03", 2, header), std::nullopt);
    // A header of another title is no header: the answer must be a group answer.
    std::vector<uint8_t> notHeader = header;
    notHeader[2] = kTitleGroup;
    EXPECT_EQ(decodeVagItem("0602F4323C03", 0, notHeader), std::nullopt);
    EXPECT_EQ(decodeVagItem(kGroup, 0, notHeader), (FieldText{"640", "RPM"}));
    EXPECT_EQ(decodeVagItem("", 0, header), std::nullopt);
    // A header that describes no field still makes the group dynamic: nothing to show.
    const std::vector<uint8_t> bare{0x03, 0x01, kTitleHeader};
    EXPECT_EQ(decodeVagItem(kGroup, 0, bare), std::nullopt);
    // A header cut before its title is no header; the byte after it is never looked at.
    const uint8_t stored[] = {0x09, 0x01, kTitleHeader};
    EXPECT_EQ(decodeVagItem(kGroup, 0, std::span(stored, 2)), (FieldText{"640", "RPM"}));
}

TEST(VagItems, CanAnswersGetOneByteInFront) {
    // The CAN unit's fields start at byte 2; the title is not looked at.
    constexpr std::string_view kCan =
        "01FF"
        "01C810"
        "050307"
        "2C0905"
        "25003A"
        "0000";
    ASSERT_EQ(kCan.size(), 32u);
    EXPECT_EQ(decodeVagCanItem(kCan, 0), (FieldText{"640", "RPM"}));
    EXPECT_EQ(decodeVagCanItem(kCan, 1), (FieldText{"-28", "ºC"}));
    EXPECT_EQ(decodeVagCanItem(kCan, 3), (FieldText{"FRENO", ""}));  // text code 0x003A
    EXPECT_EQ(decodeVagCanItem(kCan.substr(0, 30), 0), std::nullopt);
    EXPECT_EQ(decodeVagCanItem("", 0), std::nullopt);
    EXPECT_EQ(decodeVagCanItem(kCan, 4), std::nullopt);
}

}  // namespace
}  // namespace corvan::vag
