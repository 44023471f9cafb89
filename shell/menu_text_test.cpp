#include "shell/menu_text.h"

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace corvan::shell {
namespace {

TEST(MenuText, ScramblingIsXorOfTheSingleByteText) {
    const std::string text = "1¬SIMULAÇÃO¬PORTUGUESE\r\n";
    const std::string file = scrambleMenu(text);
    ASSERT_EQ(file.size(), 24u);  // one byte per character on the device
    EXPECT_EQ(static_cast<unsigned char>(file[0]), '1' ^ 0x9E);
    EXPECT_EQ(static_cast<unsigned char>(file[1]), 0xAC ^ 0x9E);  // "¬"
    EXPECT_EQ(static_cast<unsigned char>(file[8]), 0xC7 ^ 0x9E);  // "Ç"
    EXPECT_EQ(descrambleMenu(file), text);

    // Every byte value survives the round trip, the five undefined Windows-1252 ones too.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(scrambleMenu(descrambleMenu(all)), all);
}

TEST(MenuText, DescramblingGivesTheTextOfEachByteWhereverItStands) {
    // The bytes of a file taken one at a time: XOR with the key, then the single-byte text.
    const auto oneByOne = [](std::string_view file) {
        std::string text;
        for (const char c : file)
            text += cp1252ToUtf8(std::string(1, static_cast<char>(c ^ kMenuKey)));
        return text;
    };
    // Plain runs of every length around eight bytes, broken by characters of two and three
    // UTF-8 bytes (é, €) and controls, at every offset; and every byte value once.
    std::string plain = "ABCDEFGHIJKLMNOPQRS";
    for (size_t run = 0; run <= plain.size(); ++run)
        for (const std::string odd : {"é", "€", "¬", "\r\n", "\x01", "\x7f"}) {
            const std::string file = scrambleMenu(plain.substr(0, run) + odd + plain.substr(run));
            EXPECT_EQ(descrambleMenu(file), oneByOne(file)) << run << " " << odd;
        }
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(descrambleMenu(all), oneByOne(all));
    EXPECT_EQ(descrambleMenu(all + all.substr(0, 13)), oneByOne(all + all.substr(0, 13)));
    EXPECT_EQ(descrambleMenu(""), "");
}

TEST(MenuText, OnlyTextFollowedByCrLfIsALine) {
    EXPECT_EQ(menuLines("A\r\nB\r\nC"), (std::vector<std::string_view>{"A", "B"}));
    EXPECT_EQ(menuLines("A\r\n\r\nB\r\n"), (std::vector<std::string_view>{"A", "", "B"}));
    // A bare line feed or carriage return does not end a line.
    EXPECT_EQ(menuLines("A\nB\rC\r\n"), (std::vector<std::string_view>{"A\nB\rC"}));
    EXPECT_TRUE(menuLines("").empty());
    EXPECT_TRUE(menuLines("no line end at all").empty());
}

TEST(MenuText, FieldsBetweenSeparators) {
    const std::string line = "X¬SERIE 3¬MOTOR DIESEL¬EDC16¬¬¬E46.bmp¬OBD16.bmp¬E46_OBD.bmp";
    EXPECT_EQ(menuField(line, 0), "X");
    EXPECT_EQ(menuField(line, 1), "SERIE 3");
    EXPECT_EQ(menuField(line, 4), "");
    EXPECT_EQ(menuField(line, 8), "E46_OBD.bmp");
    EXPECT_EQ(menuField(line, 9), "");
    EXPECT_EQ(menuField(line, -1), "");
    // Short lines and lines without separators: the missing fields are empty.
    EXPECT_EQ(menuField("BMW", 0), "BMW");
    EXPECT_EQ(menuField("BMW", 1), "");
    EXPECT_EQ(menuField("A¬B", 2), "");
    EXPECT_EQ(menuField("A¬", 1), "");
    // The connection picture runs to the end of the line, separators included.
    EXPECT_EQ(menuFieldToEnd("0¬1¬2¬3¬4¬5¬6¬7¬a.bmp¬rest", 8), "a.bmp¬rest");
    EXPECT_EQ(fieldKey("E46"), "¬E46¬");
}

}  // namespace
}  // namespace corvan::shell
