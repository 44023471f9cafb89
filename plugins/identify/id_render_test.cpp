#include "plugins/identify/id_render.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvan::identify {
namespace {

TEST(IdentificationRequest, FrameOfTheRequestText) {
    EXPECT_EQ(identificationRequest("1A80"),
              (std::vector<uint8_t>{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80}));
    EXPECT_EQ(identificationRequest(""), (std::vector<uint8_t>{0x80, 0x00, 0x20}));
    // Characters other than 0-9 and A-F count as 0.
    EXPECT_EQ(identificationRequest("1a"), (std::vector<uint8_t>{0x80, 0x02, 0x20, 0x00, 0x10}));
}

TEST(ReplyText, BytesFromIndexFourCountedByTheLowLengthByte) {
    const std::vector<uint8_t> reply{0x80, 0x05, 0x20, 0x00, 0x11, 0x22, 0x33, 0x44, 0xDF};
    EXPECT_EQ(replyText(reply, 9), "11223344");
    EXPECT_EQ(replyText(reply, 0), "");
    const std::vector<uint8_t> noAnswer{0x00, 0x00, 0x0A, 0x0A};
    EXPECT_EQ(replyText(noAnswer, 4), "");
    // Only the low length byte counts; the reading stays inside the buffer.
    std::vector<uint8_t> long_(12, 0x41);
    long_[0] = 0x81;
    long_[1] = 0xFF;
    long_[2] = 0x20;
    EXPECT_EQ(replyText(long_, 12), "4141414141414141");
}

TEST(RenderValue, FormatsOfTheReplyExample) {
    const std::string raw = "11223344";
    EXPECT_EQ(renderValue(raw, "1", "2", "HEX"), "2233");
    EXPECT_EQ(renderValue(raw, "1", "2", "!HEX"), "2233");
    EXPECT_EQ(renderValue(raw, "0", "2", "!HEX2DEC"), "8721");
    EXPECT_EQ(renderValue(raw, "0", "2", "HEX2DEC"), "4386");
    EXPECT_EQ(renderValue(raw, "0", "1", "DEC"), "17");
    EXPECT_EQ(renderValue(raw, "3", "2", "HEX"), "???");  // needs 10 characters, has 8
    EXPECT_EQ(renderValue(raw, "2", "2", "HEX"), "3344");
    EXPECT_EQ(renderValue(raw, "0", "1", "BIN"), "???");
    EXPECT_EQ(renderValue(raw, "0", "1", "hex"), "???");
    EXPECT_EQ(renderValue(raw, "0", "1", ""), "???");
}

TEST(RenderValue, AsciiAndItsReverse) {
    EXPECT_EQ(renderValue("414243", "0", "3", "ASCII"), "ABC");
    EXPECT_EQ(renderValue("414243", "0", "3", "!ASCII"), "CBA");
    // Bytes above 0x7F are Windows-1252 characters; zero bytes of padding show nothing.
    EXPECT_EQ(renderValue("41E9800000", "0", "5", "ASCII"), "Aé€");
    EXPECT_EQ(renderValue("41E980", "0", "3", "!ASCII"), "€éA");
}

TEST(RenderValue, DecimalPiecesKeepTwoDigitsUnlessThreeAreNeeded) {
    EXPECT_EQ(renderValue("052AC8", "0", "3", "DEC"), "0542200");
    EXPECT_EQ(renderValue("052AC8", "0", "3", "!DEC"), "2004205");
    EXPECT_EQ(renderValue("00", "0", "1", "DEC"), "00");
}

TEST(RenderValue, HexToDecimalInDoublePrecision) {
    EXPECT_EQ(renderValue("FFFFFFFF", "0", "4", "HEX2DEC"), "4294967295");
    EXPECT_EQ(renderValue("0100", "0", "2", "!HEX2DEC"), "1");
    // Beyond 2^53 the sum in double precision loses its last digits.
    EXPECT_EQ(renderValue("FFFFFFFFFFFFFFFF", "0", "8", "HEX2DEC"), "18446744073709551616");
    EXPECT_EQ(renderValue("", "0", "0", "HEX2DEC"), "0");
}

TEST(RenderValue, MalformedNumbersAndTextsGiveQuestionMarksOrZeros) {
    EXPECT_EQ(renderValue("1122", "-1", "1", "HEX"), "???");
    EXPECT_EQ(renderValue("1122", "0", "-1", "HEX"), "???");
    EXPECT_EQ(renderValue("1122", "x", "1", "HEX"), "11");  // no digits: 0
    EXPECT_EQ(renderValue("1122", " 1", "1", "HEX"), "22");
    EXPECT_EQ(renderValue("1122", "99999999999999999999", "1", "HEX"), "???");
    EXPECT_EQ(renderValue("1122", "0", "99999999999999999999", "DEC"), "???");
    EXPECT_EQ(renderValue("zz", "0", "1", "DEC"), "00");  // non-hex digits count as 0
    EXPECT_EQ(renderValue("1122", "0", "0", "ASCII"), "");
    // An answer taken from the connection set-up may hold anything.
    EXPECT_EQ(renderValue("ERROR 9!", "1", "2", "HEX"), "ROR ");
    std::string huge(2000, 'F');
    EXPECT_EQ(renderValue(huge, "0", "1000", "HEX2DEC"), "???");
}

}  // namespace
}  // namespace corvan::identify
