// The generic conversions, case by case. Every expected text is worked out here from the
// catalogue's rules, not taken from the code.
#include "plugins/livedata/value_decoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace corvan::livedata {
namespace {

std::string format(const char* f, float x) {
    char out[64];
    std::snprintf(out, sizeof out, f, static_cast<double>(x));
    return out;
}

struct CalCase {
    const char* conversion;
    int raw;
    std::string expected;
};

TEST(CalConversion, ArithmeticLeftToRightInSinglePrecision) {
    const CalCase cases[] = {
        {"CAL +1*2;0", 3, "8"},          // (3 + 1) * 2, not 3 + 1 * 2
        {"CAL *0.5-40;1", 100, "10.0"},  // 100 * 0.5 - 40
        {"CAL *2+10/4;2", 5, "5.00"},    // ((5 * 2) + 10) / 4
        {"CAL 5*2;0", 7, "14"},          // no operator first: "5" is skipped
        {"CAL  *3;0", 7, "21"},          // the blank is skipped like any other character
        {"CAL !+40;0", 10, "30"},        // -10 + 40
        {"CAL !7*2;0", 4, "-8"},         // the text after '!' is skipped: -4 * 2
        {"CAL ;0", 42, "42"},            // no expression: the raw value
        {"CAL *0.25;0", 3201, "800"},    // 800.25 shown without decimals
        {"CAL *1;7", 5, "5.000"},        // decimals character above 2: three decimals
        {"CAL *1;2", 5, "5.00"},
        {"CAL *1;x", 5, "5"},        // not a digit: no decimals
        {"CAL *2", 5, "10.00"},      // no ';': the whole rest, and '2' as decimals
        {"CAL", 9, "9"},             // nothing after the kind
        {"CAL *abc;1", 5, "0.0"},    // unreadable number: 0
        {"CAL *;0", 5, "0"},         // empty operand: 0
        {"CAL %3&4*2;0", 5, "10"},   // unknown operators are skipped with their operand
        {"CAL *1e2;0", 3, "300"},    // the number reading takes an exponent
        {"CAL * 2;0", 3, "6"},       // ... and skips blanks before the number
        {"CAL *0.5.5;1", 8, "4.0"},  // a second point ends the number
        {"CAL -300;0", 44, "-256"},
        // Single precision: the product is rounded to a float before it is printed.
        {"CAL *100000;0", 65535, format("%.0f", 65535.0f * 100000.0f)},
        {"CAL *0.1*3;3", 1, format("%.3f", 3.0f * (0.1f * 1.0f))},
    };
    for (const CalCase& c : cases)
        EXPECT_EQ(calText(c.conversion, c.raw), c.expected) << c.conversion << " on " << c.raw;
}

TEST(CalConversion, SignedFormChoosesByTheByteBoundary) {
    const CalCase cases[] = {
        {"CAL #*1|-256;0", 200, "-56"},   // 200 - 256
        {"CAL #*1|-256;0", 127, "127"},   // expression A up to 127
        {"CAL #*1|-256;0", 128, "-128"},  // expression B from 128
        {"CAL #*1|-256;0", 255, "-1"},
        {"CAL #*0.5|-256*0.5;1", 129, "-63.5"},  // (129 - 256) * 0.5
        {"CAL #*2;0", 100, "200"},               // no '|': A runs to the ';'
        {"CAL #*2;0", 200, "200"},               // ... and B is empty
        {"CAL #|;0", 7, "7"},
    };
    for (const CalCase& c : cases)
        EXPECT_EQ(calText(c.conversion, c.raw), c.expected) << c.conversion << " on " << c.raw;
}

TEST(CalConversion, DivisionByZeroPrintsWhatTheFormatterPrints) {
    // Worked out at run time, as the terminal's processor divides.
    volatile float zero = 0.0f, five = 5.0f;
    EXPECT_EQ(calText("CAL /0;0", 5), format("%.0f", five / zero));
    EXPECT_EQ(calText("CAL /0;1", 0), format("%.1f", zero / zero));
}

TEST(LogConversion, BitStateTexts) {
    const std::string unit = "\"ON\"/\"OFF\"";
    EXPECT_EQ(logText("LOG 7", unit, 0x80), "OFF");  // bit 7 set: the second text
    EXPECT_EQ(logText("LOG 7", unit, 0x7F), "ON");
    EXPECT_EQ(logText("LOG 0", unit, 0x01), "OFF");
    EXPECT_EQ(logText("LOG 0", unit, 0xFE), "ON");
    EXPECT_EQ(logText("LOG 9", unit, 0x0200), "OFF");  // 16-bit values have bits 8 and 9
    EXPECT_EQ(logText("LOG x", unit, 0x01), "OFF");    // not a digit: bit 0
    EXPECT_EQ(logText("LOG 3", "\"Open\"/\"Closed\"", 0x08), "Closed");
    // Texts cut by position around the '/': malformed units give short or empty texts.
    EXPECT_EQ(logText("LOG 0", "/", 0), "");
    EXPECT_EQ(logText("LOG 0", "/", 1), "");
    EXPECT_EQ(logText("LOG 0", "ON/OFF", 0), "");
    EXPECT_EQ(logText("LOG 0", "ON/OFF", 1), "F");
    EXPECT_EQ(logText("LOG 0", "\"ON\" \"OFF\"", 1), "???");  // no '/'
}

TEST(TableConversion, EntriesByIndex) {
    const std::string text = "X=[1]\r\nGEARS={\"N\",\"1st\",\"2nd\"}\r\nEMPTY={}\r\nOPEN={a,b";
    EXPECT_EQ(tableEntry(text, "GEARS", 0), "N");
    EXPECT_EQ(tableEntry(text, "GEARS", 2), "2nd");  // the third entry
    EXPECT_EQ(tableEntry(text, "GEARS", 3), "???");  // past the end
    EXPECT_EQ(tableEntry(text, "GEARS", -1), "???");
    EXPECT_EQ(tableEntry(text, "EMPTY", 0), "");  // "{}" holds one empty entry
    EXPECT_EQ(tableEntry(text, "EMPTY", 1), "???");
    EXPECT_EQ(tableEntry(text, "OPEN", 0), "???");  // no '}'
    EXPECT_EQ(tableEntry(text, "MISSING", 0), "???");
    EXPECT_EQ(tableEntry(text, "", 0), "???");
    EXPECT_EQ(tableEntry("T=", "T", 0), "???");  // a name without entries
}

TEST(RawValue, BytePositionsInsideTheAnswer) {
    EXPECT_EQ(rawValue("001234", "3"), std::nullopt);  // 3 bytes: index 3 is outside
    EXPECT_EQ(rawValue("00123456", "3"), 0x56);
    EXPECT_EQ(rawValue("001234", "1,2"), 0x12 * 256 + 0x34);
    EXPECT_EQ(rawValue("001234", "2,1"), 0x34 * 256 + 0x12);
    EXPECT_EQ(rawValue("001234", "1,3"), std::nullopt);
    EXPECT_EQ(rawValue("001234", " 2"), 0x34);
    EXPECT_EQ(rawValue("00ab", "1"), 0);              // lower-case digits count as 0
    EXPECT_EQ(rawValue("00123", "2"), std::nullopt);  // a lone last digit is no byte
    for (const char* bad : {"-1", "abc", "", ",", "1,", "99999999999999999999"})
        EXPECT_EQ(rawValue("001234", bad), std::nullopt) << bad;
}

TEST(GenericDecoding, KindsAndFailures) {
    const std::string text = "GEARS={N,1st,2nd}";
    const std::string unit = "\"ON\"/\"OFF\"";
    EXPECT_EQ(decodeGeneric("6101800F", "2", "CAL *0.5;1", "\"V\"", text), "64.0");
    EXPECT_EQ(decodeGeneric("6101800F", "2", "LOG 7", unit, text), "OFF");
    EXPECT_EQ(decodeGeneric("61010200", "2", "TBL GEARS", "", text), "2nd");
    EXPECT_EQ(decodeGeneric("61010300", "2", "TBL GEARS", "", text), "???");
    // Any other kind shows the answer itself, once the position lies inside it.
    EXPECT_EQ(decodeGeneric("6101800F", "0", "HEX", "", text), "6101800F");
    EXPECT_EQ(decodeGeneric("6101800F", "0", "", "", text), "6101800F");
    EXPECT_EQ(decodeGeneric("6101800F", "4", "HEX", "", text), "???");
    EXPECT_EQ(decodeGeneric("", "0", "CAL *1;0", "", text), "???");
    EXPECT_EQ(decodeGeneric("6101", "5", "CAL *1;0", "", text), "???");
}

}  // namespace
}  // namespace corvan::livedata
