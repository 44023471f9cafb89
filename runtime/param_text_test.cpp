#include "runtime/param_text.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

// Two menu items: the first without "DLL=", the second with it.
const std::string kMenu =
    "#MENU\r\n"
    "<MNU\tID=\t[01]\tTEXT=[\"IDENTIFICATION\"]\r\n"
    "<MNU\tID=\t[02]\tDLL=\t[x.dll]\tTEXT=[\"FAULTS\"]\r\n"
    "#END";

TEST(GetKeyValue, KeyIsNeverTakenFromTheFollowingMenuItem) {
    const int first = findFrom(kMenu, "<MNU");
    const int second = findFrom(kMenu, "<MNU", first + 1);
    EXPECT_EQ(GetKeyValue(kMenu, "DLL=", first), "");
    EXPECT_EQ(GetKeyValue(kMenu, "DLL=", second), "x.dll");
    EXPECT_EQ(GetKeyValue(kMenu, "ID=", first), "01");
    EXPECT_EQ(GetKeyValue(kMenu, "ID=", second), "02");
    // Before the first item the next "<MNU" is the first one, so no item key is reachable.
    EXPECT_EQ(GetKeyValue(kMenu, "ID=", 0), "");
    EXPECT_EQ(findKey(kMenu, "DLL=", first), -1);
    EXPECT_EQ(findKey(kMenu, "DLL=", second), findFrom(kMenu, "DLL="));
}

TEST(GetKeyValue, BlanksAndTabsBeforeTheBracketAreSkipped) {
    EXPECT_EQ(GetKeyValue("ID=\t\t[7A]", "ID=", 0), "7A");
    EXPECT_EQ(GetKeyValue("FILE=  [a b]", "FILE=", 0), "a b");
    EXPECT_EQ(GetKeyValue("ID=[]", "ID=", 0), "");
}

TEST(GetKeyValue, WithoutFurtherItemsTheWholeRestCounts) {
    const std::string cfg = "PORT=[COM1]\r\nPATH=[\\STORAGE CARD\\CORVANDATA]\r\n";
    EXPECT_EQ(GetKeyValue(cfg, "PATH=", 0), "\\STORAGE CARD\\CORVANDATA");
}

TEST(GetKeyValue, MissingOrBrokenValuesGiveEmptyText) {
    EXPECT_EQ(GetKeyValue("A=[1]", "B=", 0), "");
    EXPECT_EQ(GetKeyValue("A=1", "A=", 0), "");
    EXPECT_EQ(GetKeyValue("A=[1", "A=", 0), "");
    EXPECT_EQ(GetKeyValue("A=[1]", "", 0), "");
    EXPECT_EQ(GetKeyValue("", "A=", 0), "");
    EXPECT_EQ(GetKeyValue("A=[1]", "A=", 5), "");
    EXPECT_EQ(GetKeyValue("A=[1]", "A=", 500), "");
    EXPECT_EQ(GetKeyValue("A=[1]", "A=", -7), "1");
}

TEST(GetKeyValue, SearchIsCaseSensitiveAndPlainSubstring) {
    EXPECT_EQ(GetKeyValue("id=[1]", "ID=", 0), "");
    // "ID=" inside a longer key is still found: the data never rely on word bounds.
    EXPECT_EQ(GetKeyValue("NAMEID=[5]", "ID=", 0), "5");
}

TEST(ReadBracket, ReadsFieldsInSequence) {
    const std::string text = "@I001[\"Part\"][1A90][TXT] [0][4]ENDDATA";
    int pos = 0;
    EXPECT_EQ(readBracket(text, pos), "\"Part\"");
    EXPECT_EQ(readBracket(text, pos), "1A90");
    EXPECT_EQ(readBracket(text, pos), "TXT");
    EXPECT_EQ(readBracket(text, pos), "0");
    EXPECT_EQ(readBracket(text, pos), "4");
    EXPECT_EQ(text.substr(pos), "ENDDATA");
    EXPECT_EQ(readBracket(text, pos), "");
    EXPECT_EQ(pos, static_cast<int>(text.size()));
}

TEST(ReadBracket, UnbalancedOrOutOfRangeStopsAtTheEnd) {
    int pos = -3;
    EXPECT_EQ(readBracket("[a][b", pos), "a");
    EXPECT_EQ(readBracket("[a][b", pos), "");
    EXPECT_EQ(pos, 5);
    pos = 99;
    EXPECT_EQ(readBracket("[a]", pos), "");
    EXPECT_EQ(pos, 3);
    pos = 0;
    EXPECT_EQ(readBracket("no fields", pos), "");
}

TEST(Sections, SectionEndsAtTheNextMarkAtALineStart) {
    const std::string text =
        "#CONFIGURATION\r\nDLL=[boxstart.dll] NOTE=[a#b]\r\n#MENU\r\n<MNU ID=[1]\r\n#END";
    EXPECT_EQ(sectionText(text, "#CONFIGURATION"),
              "#CONFIGURATION\r\nDLL=[boxstart.dll] NOTE=[a#b]\r\n");
    EXPECT_EQ(sectionText(text, "#MENU"), "#MENU\r\n<MNU ID=[1]\r\n");
    EXPECT_EQ(sectionText(text, "#END"), "#END");
    EXPECT_EQ(sectionText(text, "#AUTORUN"), "");
    EXPECT_EQ(findAll(text, "<MNU"), std::vector<int>{findFrom(text, "<MNU")});
    EXPECT_TRUE(findAll(text, "<MNU", 0, 10).empty());
}

TEST(Quotes, QuotesAndEndsAreRemoved) {
    EXPECT_EQ(stripQuotes("\"FAULTS\""), "FAULTS");
    EXPECT_EQ(stripQuotes("\"\""), "");
    EXPECT_EQ(stripQuotes("\""), "");
    EXPECT_EQ(stripQuotes("plain"), "plain");
    EXPECT_EQ(dropEnds("\"Part\""), "Part");
    EXPECT_EQ(dropEnds("x"), "");
    EXPECT_EQ(dropEnds(""), "");
    // Whole characters, also where they take several bytes.
    EXPECT_EQ(dropEnds("ºC"), "");
    EXPECT_EQ(dropEnds("«Presión»"), "Presión");
    EXPECT_EQ(dropEnds("\"Señal\""), "Señal");
}

TEST(HexText, OnlyDigitsAndUpperCaseLettersCount) {
    EXPECT_EQ(hexDigitValue('7'), 7);
    EXPECT_EQ(hexDigitValue('F'), 15);
    EXPECT_EQ(hexDigitValue('f'), 0);
    EXPECT_EQ(hexDigitValue('G'), 0);
    EXPECT_EQ(hexToBytes("1A2b"), (std::vector<uint8_t>{0x1A, 0x20}));
    EXPECT_EQ(hexToBytes("FF0"), (std::vector<uint8_t>{0xFF}));
    EXPECT_EQ(hexByteAt("A", 0), 0xA0);
    EXPECT_EQ(hexByteAt("A", 4), 0x00);
    // ECU requests of the data: a lone last character pairs with 0, and the count is bounded.
    EXPECT_EQ(hexToBytesPaired("7a1", 99), (std::vector<uint8_t>{0x70, 0x10}));
    EXPECT_EQ(hexToBytesPaired("", 99), std::vector<uint8_t>{});
    EXPECT_EQ(hexToBytesPaired(std::string(250, 'F'), 99), std::vector<uint8_t>(99, 0xFF));
    const std::vector<uint8_t> bytes{0x00, 0x0A, 0xFF};
    EXPECT_EQ(bytesToHex(bytes), "000AFF");
    EXPECT_EQ(hexToBytes(bytesToHex(bytes)), bytes);
}

}  // namespace
}  // namespace corvan
