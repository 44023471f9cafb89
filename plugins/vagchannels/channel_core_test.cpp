// The channel reader's pure parts: the frames it sends, the group descriptions it reads
// from the record, and the rows it makes of the unit's answers.
#include <gtest/gtest.h>

#include "plugins/vagchannels/channel_descriptions.h"
#include "plugins/vagchannels/channel_frames.h"
#include "plugins/vagchannels/channel_rows.h"
#include "runtime/hex_text.h"

namespace corvan::vagchannels {
namespace {

Bytes hex(std::string_view spaced) {
    std::string compact;
    for (char c : spaced)
        if (c != ' ') compact.push_back(c);
    return hexToBytes(compact);
}

TEST(ChannelFrames, GroupReadsAndKeepAliveMessagesFromTheTemplate) {
    const Bytes block = blockTemplate("04002900");
    EXPECT_TRUE(readsGroupsWithTitle29(block));
    const Bytes g7 = groupBlock(block, 7);
    EXPECT_EQ(readGroupFrame(g7), hex("80 05 20 00 04 00 29 07"));
    EXPECT_EQ(maintenanceStopFrame(g7), hex("80 05 86 00 04 00 29 07"));
    EXPECT_EQ(maintenanceStartFrame(g7), hex("80 05 86 01 04 00 29 07"));
    EXPECT_EQ(acknowledgeFrame(), hex("80 05 20 00 03 00 09 00"));
    EXPECT_EQ(group0ReadFrame(true), hex("80 04 20 00 03 00 12"));
    EXPECT_EQ(group0ReadFrame(false), hex("80 04 20 00 03 00 11"));
    EXPECT_EQ(group0MaintenanceFrame(true), hex("80 05 86 01 03 00 12 00"));
    EXPECT_EQ(group0MaintenanceFrame(false), hex("80 05 86 01 03 00 11 00"));
    EXPECT_EQ(queryMaintenanceFrame(), hex("80 00 85"));

    // A longer template keeps its further bytes; the group always goes into byte 3.
    const Bytes other = blockTemplate("05002100AA");
    EXPECT_FALSE(readsGroupsWithTitle29(other));
    EXPECT_EQ(readGroupFrame(groupBlock(other, 255)), hex("80 06 20 00 05 00 21 FF AA"));
    // A record without a usable template still gives the group its place.
    EXPECT_EQ(blockTemplate(""), hex("00 00 00 00"));
    EXPECT_EQ(readGroupFrame(groupBlock(blockTemplate("0400"), 1)), hex("80 05 20 00 04 00 00 01"));
    EXPECT_EQ(blockTemplate(std::string(600, 'A')).size(), 254u);
    // A block cut before its title has none; the byte after it is not looked at.
    const uint8_t stored[] = {0x04, 0x00, 0x29};
    EXPECT_FALSE(readsGroupsWithTitle29(std::span(stored, 2)));
}

TEST(ChannelFrames, TheBoxOwnKeepAliveMessageIsHandedBack) {
    // The box repeats 03 00 09 00: its reply 80 05 85 01 03 00 09 00 and the check byte.
    const Bytes reply = hex("80 05 85 01 03 00 09 00 0B");
    EXPECT_EQ(restoreFrame(reply, int(reply.size())), hex("80 05 86 01 03 00 09 00"));
    const Bytes kwp = hex("80 06 85 01 82 10 F1 3E 01 B9");
    EXPECT_EQ(restoreFrame(kwp, int(kwp.size())), hex("80 06 86 01 82 10 F1 3E 01"));
    // No reply, the box's "no answer", a refusal, or a reply without data: an acknowledge.
    const Bytes acknowledge = hex("80 05 86 01 03 00 09 00");
    EXPECT_EQ(restoreFrame(reply, 0), acknowledge);
    const Bytes noAnswer = hex("00 00 0A 0A");
    EXPECT_EQ(restoreFrame(noAnswer, 4), acknowledge);
    const Bytes refused = hex("80 01 7F 85 7B");
    EXPECT_EQ(restoreFrame(refused, 5), acknowledge);
    const Bytes empty = hex("80 00 85 05");
    EXPECT_EQ(restoreFrame(empty, 4), acknowledge);
    // A box repeating nothing: its repetition is switched on again with no message.
    const Bytes nothing = hex("80 01 85 00 04");
    EXPECT_EQ(restoreFrame(nothing, 5), hex("80 01 86 01"));
}

TEST(ChannelDescriptionsTest, GroupsOfTheRecordFromTheStartPosition) {
    const std::string other = "@D001\t[\"Other unit\"]\t[\"\"]\t[\"\"]\t[\"\"]\r\nENDDATA\r\n";
    const std::string mine =
        "<MNU FRAME=[04002900]\r\n"
        "@D000\t[\"Speed\"]\t[\"Load\"]\t[\"3\"]\t[\"4\"]\t[\"5\"]\t[\"6\"]\t[\"7\"]\t[\"8\"]"
        "\t[\"9\"]\t[\"Ten\"]\r\n"
        "@D001\t[\"Engine speed\"]\t[\"Coolant\"]\t[\"Time\"]\t[\"Bits\"]\r\n"
        "@D0x2\t[\"Bad mark\"]\t[\"\"]\t[\"\"]\t[\"\"]\r\n"
        "@D300\t[\"Beyond\"]\t[\"\"]\t[\"\"]\t[\"\"]\r\n"
        "@D255\t[\"Last\"]\t[\"B\"]\t[\"C\"]\t[\"D\"]\t[\"not a field\"]\r\n"
        "ENDDATA\r\n@D002\t[\"After the end\"]\t[\"\"]\t[\"\"]\t[\"\"]\r\n";
    const ChannelDescriptions d = readChannelDescriptions(other + mine, int(other.size()));
    EXPECT_EQ(d.text(0, 0), "Speed");
    EXPECT_EQ(d.text(0, 9), "Ten");
    EXPECT_EQ(d.text(1, 0), "Engine speed");
    EXPECT_EQ(d.text(1, 3), "Bits");
    EXPECT_EQ(d.text(1, 4), "");
    EXPECT_EQ(d.text(255, 3), "D");
    EXPECT_EQ(d.text(255, 4), "");
    EXPECT_EQ(d.text(2, 0), "");
    EXPECT_EQ(d.text(-1, 0), "");
    EXPECT_EQ(d.text(256, 0), "");

    // Without an end mark the groups run to the end of the text; a cut-off record leaves
    // the missing texts empty.
    const ChannelDescriptions open =
        readChannelDescriptions("@D003[\"a\"][\"b\"][\"c\"][\"d\"]@D004[\"e\"][\"f", 0);
    EXPECT_EQ(open.text(3, 3), "d");
    EXPECT_EQ(open.text(4, 0), "e");
    EXPECT_EQ(open.text(4, 1), "");
    // Only digits make a group number ("1/5" is none, though it would read as 95).
    EXPECT_EQ(readChannelDescriptions("@D1/5[\"x\"]", 0).text(95, 0), "");
    EXPECT_EQ(readChannelDescriptions("", 0).text(0, 0), "");
    EXPECT_EQ(readChannelDescriptions("@D", 0).text(0, 0), "");
}

TEST(ChannelDescriptionsTest, AtMost256MarksAndTextsOnlyInTheirGroup) {
    // Groups 1 to 255, then 0: 256 marks; a 257th mark for group 1 is not read.
    std::string text;
    for (int g = 1; g <= 255; ++g) {
        char mark[8];
        std::snprintf(mark, sizeof mark, "@D%03d", g);
        text += std::string(mark) + "[\"first\"][\"\"][\"\"][\"\"]\r\n";
    }
    text += "@D000[\"zero\"][][][][][][][][][]\r\n@D001[\"again\"][][][]\r\n";
    const ChannelDescriptions d = readChannelDescriptions(text, 0);
    EXPECT_EQ(d.text(255, 0), "first");
    EXPECT_EQ(d.text(0, 0), "zero");
    EXPECT_EQ(d.text(1, 0), "first");

    ChannelDescriptions own;
    own.set(1, 10, "beyond");
    own.set(1, -1, "before");
    own.set(256, 0, "none");
    EXPECT_EQ(own.text(2, 0), "");
    EXPECT_EQ(own.text(0, 9), "");
    EXPECT_EQ(own.text(1, 9), "");
}

ChannelDescriptions descriptions() {
    ChannelDescriptions d;
    d.set(1, 0, "Engine speed");
    d.set(1, 1, "Coolant");
    for (int i = 0; i < 10; ++i) d.set(0, i, "Raw " + std::to_string(i + 1));
    return d;
}

std::vector<std::string> column(const ChannelRows& rows, std::string ChannelRow::*member) {
    std::vector<std::string> out;
    for (const ChannelRow& r : rows) out.push_back(r.*member);
    return out;
}

using Texts = std::vector<std::string>;

TEST(ChannelRowsTest, FieldsOfAGroupAnswer) {
    const Bytes four = hex("0F 01 E7 01 C8 10 05 03 07 2C 09 05 25 00 3A 03");
    const ChannelRows rows = groupRows(1, four, {}, descriptions());
    EXPECT_EQ(rows[0], (ChannelRow{"1", "Engine speed", "640", "RPM"}));
    EXPECT_EQ(rows[1], (ChannelRow{"2", "Coolant", "-28", "ºC"}));
    EXPECT_EQ(rows[2], (ChannelRow{"3", "", "09:05", "HH:MM"}));
    EXPECT_EQ(rows[3], (ChannelRow{"4", "", "FRENO", ""}));
    EXPECT_EQ(column(rows, &ChannelRow::field),
              (Texts{"1", "2", "3", "4", "", "", "", "", "", ""}));

    // The block length counts the fields: 9 is two.
    const Bytes two = hex("09 01 E7 01 C8 10 05 03 07 03");
    EXPECT_EQ(column(groupRows(1, two, {}, descriptions()), &ChannelRow::value),
              (Texts{"640", "-28", "", "", "", "", "", "", "", ""}));
    // A length claiming more fields than came: the missing ones are "???"; beyond four the
    // field numbers are blanks.
    const Bytes claims = hex("1B 01 E7 01 C8 10 05 03 07 2C 09 05 25 00 3A 01 C8 10 03");
    const ChannelRows many = groupRows(1, claims, {}, descriptions());
    EXPECT_EQ(column(many, &ChannelRow::field),
              (Texts{"1", "2", "3", "4", " ", " ", " ", " ", "", ""}));
    EXPECT_EQ(column(many, &ChannelRow::value),
              (Texts{"640", "-28", "09:05", "FRENO", "640", "???", "???", "???", "", ""}));
    // A length below three fields' worth shows none.
    EXPECT_EQ(groupRows(1, hex("02 01 E7 01 C8 10"), {}, descriptions()), ChannelRows{});
    // A formula-63 first field: one row of text.
    const Bytes text = hex("08 01 E7 3F 31 2E 39 4C 03");
    EXPECT_EQ(column(groupRows(1, text, {}, descriptions()), &ChannelRow::value),
              (Texts{"1.9L", "", "", "", "", "", "", "", "", ""}));
    // Another title: four fields, whatever the length says.
    const Bytes f4 = hex("03 01 F4 01 C8 10");
    EXPECT_EQ(column(groupRows(1, f4, {}, descriptions()), &ChannelRow::value),
              (Texts{"640", "???", "???", "???", "", "", "", "", "", ""}));
}

TEST(ChannelRowsTest, DynamicGroupsDecodeWithTheHeaderOfTheirSetUp) {
    const Bytes header = hex("09 01 02 80 28 00 86 02 00 03");
    const Bytes data = hex("06 03 F4 32 3C 03");
    const ChannelRows rows = groupRows(1, data, header, descriptions());
    EXPECT_EQ(rows[0], (ChannelRow{"1", "Engine speed", "2000", "RPM"}));
    EXPECT_EQ(rows[1], (ChannelRow{"2", "Coolant", "120", "KM/H"}));
    // Four rows for a data block; fields the header lacks are "???".
    EXPECT_EQ(column(rows, &ChannelRow::value),
              (Texts{"2000", "120", "???", "???", "", "", "", "", "", ""}));
    // A first value of 63 is a value, not a text.
    EXPECT_EQ(groupRows(1, hex("06 03 F4 3F 3C 03"), header, descriptions())[1].value, "120");
    // A header without descriptors: dynamic all the same, nothing to show.
    const Bytes bare = hex("03 01 02");
    EXPECT_EQ(groupRows(1, data, bare, descriptions())[0].value, "???");
    // A header cut before its title, or an answer cut before its first field, is read no
    // further than it goes.
    const uint8_t storedHeader[] = {0x09, 0x01, 0x02, 0x80, 0x28, 0x00};
    EXPECT_EQ(groupRows(1, data, std::span(storedHeader, 2), descriptions())[0].unit, "?: 050");
    const uint8_t storedAnswer[] = {0x0F, 0x01, 0xE7, 0x3F, 0x41};
    EXPECT_EQ(
        column(groupRows(1, std::span(storedAnswer, 3), {}, descriptions()), &ChannelRow::value),
        (Texts{"???", "???", "???", "???", "", "", "", "", "", ""}));
    // A header of another title: the fixed table.
    const Bytes notHeader = hex("09 01 E7 80 28 00 86 02 00 03");
    EXPECT_EQ(groupRows(1, data, notHeader, descriptions())[0].unit, "?: 050");
}

TEST(ChannelRowsTest, GroupZeroAndAnswersThatSayNothing) {
    const Bytes raw = hex("0D 01 F4 00 01 02 0A 63 64 C8 FF 07 08 03");
    const ChannelRows rows = groupRows(0, raw, {}, descriptions());
    EXPECT_EQ(column(rows, &ChannelRow::value),
              (Texts{"000", "001", "002", "010", "099", "100", "200", "255", "007", "008"}));
    EXPECT_EQ(rows[9], (ChannelRow{"10", "Raw 10", "008", ""}));
    EXPECT_EQ(groupRows(0, hex("05 01 F4 2A 2B"), {}, descriptions())[2].value, "???");

    ChannelRows refused;
    refused[0].value = "NO DISPONIBLE";
    EXPECT_EQ(groupRows(1, hex("03 05 0A 03"), {}, descriptions()), refused);
    EXPECT_EQ(groupRows(0, hex("03 05 0A 03"), {}, descriptions()), refused);
    EXPECT_EQ(groupRows(1, {}, {}, descriptions()), refused);
    EXPECT_EQ(groupRows(1, hex("0F 01"), {}, descriptions()), refused);
    EXPECT_EQ(column(initialRows(), &ChannelRow::field),
              (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

TEST(ChannelRowsTest, GroupNumberFromTheFieldAndItsSteps) {
    EXPECT_EQ(groupFromText("0"), 0);
    EXPECT_EQ(groupFromText("17"), 17);
    EXPECT_EQ(groupFromText("007"), 7);
    EXPECT_EQ(groupFromText("12a"), 12);
    EXPECT_EQ(groupFromText("abc"), 0);
    EXPECT_EQ(groupFromText(""), 0);
    EXPECT_EQ(groupFromText("-5"), 0);
    EXPECT_EQ(groupFromText("256"), 255);
    EXPECT_EQ(groupFromText("99999999999999999999"), 255);
    EXPECT_EQ(nextGroup(254), 255);
    EXPECT_EQ(nextGroup(255), 0);
    EXPECT_EQ(previousGroup(1), 0);
    EXPECT_EQ(previousGroup(0), 255);
}

}  // namespace
}  // namespace corvan::vagchannels
