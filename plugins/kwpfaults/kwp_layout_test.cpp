// Reading a stored-codes reply as the data lay it out: entries, code writing, status
// rules, skipped codes, the limits, and what is quoted from the reply.
#include "plugins/kwpfaults/kwp_layout.h"

#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "runtime/hex_text.h"

namespace corvan::kwpfaults {
namespace {

using testing::hexBytes;
using testing::withCheck;

std::string item(const std::string& keys) {
    return "<MNU\r\n" + keys + "\r\n>\r\n<MNU\r\n\tLBLK=\t[9]\r\n>";
}

// The records of one pass over `frame` (a whole reply frame).
std::vector<faultcodes::TroubleCode> records(const ReaderKeys& k, const std::vector<uint8_t>& frame,
                                             bool firstPass = true, std::string_view defs = "") {
    std::vector<faultcodes::TroubleCode> out;
    const int length = static_cast<int>(frame.size());
    for (int j = 0; j < entryCount(k, frame, length); ++j)
        if (auto r = entryRecord(k, frame, length, j, firstPass, defs)) out.push_back(*r);
    return out;
}

std::vector<std::string> codesOf(const std::vector<faultcodes::TroubleCode>& r) {
    std::vector<std::string> c;
    for (const auto& t : r) c.push_back(t.code + "/" + t.kind);
    return c;
}

TEST(KwpLayout, ObdCodeFromTheWrittenLayout) {
    const ReaderKeys k =
        readReaderKeys(item("TYPEDTC=[OBDII] PINI=[2] LBLK=[3] LDTC=[2] ACTUAL=[1802FF00]"), 0);
    EXPECT_EQ(k.present, hexBytes("18 02 FF 00"));
    EXPECT_FALSE(k.secondPass);
    // Reply byte 1 = 6, bytes from 4 on: 58 01 03 00 20.
    const auto frame = withCheck("80 06 20 00 58 01 03 00 20");
    const auto r = records(k, frame);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].code, "P0300");
    EXPECT_EQ(r[0].kind, "ACTUAL");
    EXPECT_EQ(r[0].description, "AVERÍA NO IDENTIFICADA");
    // Unknown: reply byte 1 bytes from byte 4 on (the frame's check byte is the sixth).
    EXPECT_EQ(r[0].detail, "5801030020" + byteToHex(frame.back()));
    // The second pass of the same reply reports intermittent codes.
    EXPECT_EQ(records(k, frame, false)[0].kind, "FUGAZ");
}

TEST(KwpLayout, CodeWritingByTypeAndLength) {
    const auto frame = withCheck("80 06 20 00 58 01 C1 23 20");
    auto codeWith = [&](const std::string& keys) {
        return records(readReaderKeys(item(keys + " PINI=[2] LBLK=[3]"), 0), frame).at(0).code;
    };
    EXPECT_EQ(codeWith("TYPEDTC=[OBDII] LDTC=[1]"), "N0123");
    EXPECT_EQ(codeWith("TYPEDTC=[DEC] LDTC=[2]"), "49443");
    EXPECT_EQ(codeWith("TYPEDTC=[DEC] LDTC=[1]"), "0193");
    EXPECT_EQ(codeWith("TYPEDTC=[HEX] LDTC=[2]"), "C123");
    EXPECT_EQ(codeWith("LDTC=[1]"), "00C1");
}

TEST(KwpLayout, CodeBytesPastTheReplyCountAsZero) {
    const ReaderKeys k = readReaderKeys(item("TYPEDTC=[OBDII] PINI=[1] LBLK=[1] LDTC=[1]"), 0);
    // Six bytes came; what the buffer holds after them is not part of the reply.
    const auto buffer = hexBytes("80 02 20 00 58 01 FF FF");
    EXPECT_EQ(entryCode(k, buffer, 6, 5), "P0100");
    EXPECT_EQ(entryCode(k, buffer, 8, 5), "P01FF");
}

TEST(KwpLayout, StatusRulesAllOfAndAnyOf) {
    auto status = [](const char* rule, const char* byte) {
        const ReaderKeys k = readReaderKeys(
            item(std::string("PINI=[2] LBLK=[3] LDTC=[2] PACTFUG=[2] VACTFUG=[") + rule + "]"), 0);
        return records(k, withCheck(std::string("80 06 20 00 58 01 01 00 ") + byte)).at(0).kind;
    };
    EXPECT_EQ(status("A&012", "07"), "ACTUAL");
    EXPECT_EQ(status("A&012", "05"), "FUGAZ");
    EXPECT_EQ(status("A|012", "05"), "ACTUAL");
    EXPECT_EQ(status("A|012", "F8"), "FUGAZ");
    EXPECT_EQ(status("F&012", "07"), "FUGAZ");  // true means intermittent
    EXPECT_EQ(status("F|456", "60"), "FUGAZ");
    EXPECT_EQ(status("A&569", "60"), "FUGAZ");  // bit 9 is in no byte
    EXPECT_EQ(status("A&5", "20"), "ACTUAL");   // missing digits add no condition
}

TEST(KwpLayout, IgnoredCodesAndTheEntryLimit) {
    const ReaderKeys k = readReaderKeys(item("IGNORE=[0000] PINI=[2] LBLK=[3] LDTC=[2]"), 0);
    const auto r = records(k, withCheck("80 0C 20 00 58 03 00 00 20 01 00 20 00 00 20"));
    EXPECT_EQ(codesOf(r), (std::vector<std::string>{"0100/ACTUAL"}));

    // A reply announcing 40 entries gives 30 records.
    std::string many = "58 28";
    for (int i = 0; i < 40; ++i) many += " 01 " + byteToHex(uint8_t(i + 1)) + " 20";
    const auto frame = withCheck("80 7B 20 00 " + many);
    ASSERT_EQ(frame[1], 2 + 120 + 1);
    EXPECT_EQ(records(k, frame).size(), 30u);
}

TEST(KwpLayout, TypeWordsWhenTheLayoutIsNotWritten) {
    const auto frame = withCheck("80 06 20 00 58 01 01 02 E0");
    EXPECT_EQ(codesOf(records(readReaderKeys(item("TYPE=[KWP2000] PINI=[2]"), 0), frame)),
              (std::vector<std::string>{"0102/ACTUAL"}));
    EXPECT_EQ(codesOf(records(readReaderKeys(item("TYPE=[OBDII] TYPEDTC=[OBDII]"), 0),
                              withCheck("80 06 20 00 43 01 33 00 00"))),
              (std::vector<std::string>{"P0133/ACTUAL", "P0000/ACTUAL"}));
    for (const char* keys :
         {"TYPE=[KWP2001]", "", "PINI=[2] LBLK=[0] LDTC=[2]", "PINI=[-9] LBLK=[3] LDTC=[2]"})
        EXPECT_TRUE(records(readReaderKeys(item(keys), 0), frame).empty()) << keys;
    // Keys are never taken from the next menu item.
    EXPECT_EQ(readReaderKeys(item("PINI=[2] LDTC=[2]"), 0).layout.has_value(), false);
}

TEST(KwpLayout, OkByteAndEraseRequests) {
    const auto ok = withCheck("80 03 20 00 58 00");
    EXPECT_TRUE(okByteMatches(readReaderKeys(item("POK=[0] VALOK=[58]"), 0), ok, 7));
    EXPECT_FALSE(okByteMatches(readReaderKeys(item("POK=[0] VALOK=[7F]"), 0), ok, 7));
    EXPECT_FALSE(okByteMatches(readReaderKeys(item("POK=[0] VALOK=[58]"), 0), ok, 0));
    EXPECT_FALSE(okByteMatches(readReaderKeys(item("POK=[-5] VALOK=[58]"), 0), ok, 7));
    EXPECT_FALSE(okByteMatches(readReaderKeys(item("POK=[900] VALOK=[00]"), 0), ok, 7));
    EXPECT_TRUE(okByteMatches(readReaderKeys(item("VALOK=[7F]"), 0), ok, 7));
    // "POK=" without "VALOK=": the OK value 0 at index 0.
    EXPECT_FALSE(okByteMatches(readReaderKeys(item("POK=[1]"), 0), ok, 7));

    EXPECT_TRUE(erasesCodes(hexBytes("14 FF 00")));
    EXPECT_TRUE(erasesCodes(hexBytes("C4 10 FA 14 FF 00")));
    EXPECT_TRUE(erasesCodes(hexBytes("04")));
    EXPECT_TRUE(erasesCodes(hexBytes("81 10 F1 14")));  // headed, the service alone
    EXPECT_FALSE(erasesCodes(hexBytes("18 02 FF 00")));
    EXPECT_FALSE(erasesCodes(hexBytes("C4 10 FA 18 02 FF 00")));
}

TEST(KwpLayout, KnownCodesQuoteTheirFrameWithinTheReply) {
    const ReaderKeys k = readReaderKeys(item("TYPEDTC=[OBDII] PINI=[5] LBLK=[3] LDTC=[2]"), 0);
    const std::string defs = "[P0100][\"Mass air flow\"][\"Connector\"][7]";
    // A headed answer (format, tester, unit, 58, count, entries) with its KWP check byte.
    const auto frame = withCheck("80 0D 20 00 88 F1 10 58 02 01 00 E0 00 00 E0 A4");
    const auto r = records(k, frame, true, defs);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].description, "Mass air flow");
    EXPECT_EQ(r[0].extra, "7");
    EXPECT_EQ(r[0].detail, "Connector@FRAME=88F11058020100E00000E0A4");
    // A format byte announcing far more than came: the frame stops at the reply's data.
    const auto cut = withCheck("80 07 20 00 BF F1 10 58 01 00");
    const ReaderKeys k2 = readReaderKeys(item("TYPEDTC=[OBDII] PINI=[4] LBLK=[2] LDTC=[2]"), 0);
    EXPECT_EQ(records(k2, cut, true, defs).at(0).detail, "Connector@FRAME=BFF110580100");
}

}  // namespace
}  // namespace corvan::kwpfaults
