#include "plugins/identify/id_records.h"

#include <gtest/gtest.h>

namespace corvan::identify {
namespace {

TEST(IdRecords, ReadsFiveFieldsPerRecordUpToEnddata) {
    const std::string text =
        "<MNU\r\n\tDLL=\t[IDENTIFY.DLL]\r\n"
        "@I000\t[\"Key bytes\"]\t[INITIAL_ID]\t[1]\t[2]\t[HEX]\r\n"
        "@I001\t[\"Part number\"]\t[1A80]\t[2]\t[11]\t[ASCII]\r\n"
        "ENDDATA\r\n>\r\n<MNU\r\n@I002\t[\"Other item\"]\t[2187]\t[0]\t[1]\t[HEX]\r\nENDDATA\r\n>";
    const auto records = readIdRecords(text, 0);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].id, "I000");
    EXPECT_EQ(records[0].description, "\"Key bytes\"");
    EXPECT_EQ(records[0].label(), "Key bytes");
    EXPECT_EQ(records[0].request, "INITIAL_ID");
    EXPECT_EQ(records[1].request, "1A80");
    EXPECT_EQ(records[1].start, "2");
    EXPECT_EQ(records[1].count, "11");
    EXPECT_EQ(records[1].format, "ASCII");
    // From the second item's entry only its own record is read.
    const auto second = readIdRecords(text, static_cast<int>(text.rfind("<MNU")));
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].id, "I002");
}

TEST(IdRecords, AtMostThirtyAndWithoutEnddataToTheEnd) {
    std::string text;
    for (int i = 0; i < 35; ++i)
        text += "@I" + std::to_string(100 + i) + "[\"d\"][01][0][1][HEX]\n";
    const auto records = readIdRecords(text, 0);
    ASSERT_EQ(records.size(), 30u);
    EXPECT_EQ(records.back().id, "I129");
}

TEST(IdRecords, MalformedRecordsNeverReadPastTheText) {
    for (const char* text : {"@I", "@I0", "@I000[\"d\"", "@I000[a][b", "@I000[a]]]][[[",
                             "@I000 no brackets at all @I001", "ENDDATA @I000[a][b][c][d][e]"}) {
        const auto records = readIdRecords(text, 0);
        EXPECT_LE(records.size(), 2u) << text;
    }
    EXPECT_TRUE(readIdRecords("ENDDATA @I000[a][b][c][d][e]", 0).empty());
    EXPECT_EQ(readIdRecords("@I", 0).at(0).id, "I");
    // A record missing a bracket takes its fields from beyond "ENDDATA"; the block still
    // ends there.
    const auto cut = readIdRecords("@I000[a][b][c]\nENDDATA\n@I001[e][f][g][h][i]", 0);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].count, "e");
    EXPECT_TRUE(readIdRecords("@I000[a]", 99).empty());
    EXPECT_TRUE(readIdRecords("@I000[a]", -5).size() == 1u);
}

TEST(RequestTable, DistinctRequestsInOrderOfFirstAppearance) {
    std::vector<IdRecord> records(4);
    records[0].request = "1A80";
    records[1].request = "1A8C";
    records[2].request = "1A80";
    records[3].request = "1a80";  // another text: another request
    RequestTable table(records);
    EXPECT_EQ(table.size(), 3u);
    ASSERT_NE(table.reply("1A80"), nullptr);
    EXPECT_EQ(*table.reply("1A80"), "");
    *table.reply("1A80") = "5A80";
    EXPECT_EQ(*table.reply("1A80"), "5A80");
    EXPECT_EQ(table.reply("2187"), nullptr);
}

}  // namespace
}  // namespace corvan::identify
