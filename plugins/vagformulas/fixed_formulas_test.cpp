// Every row of the fixed table against values worked out by hand (the arithmetic is in the
// comment of each case), the corners the units really produce, and group answers that are
// too short or claim more than they hold.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <vector>

#include "plugins/vagformulas/formula_texts.h"
#include "plugins/vagformulas/vag_formulas.h"

namespace corvan::vag {
namespace {

struct Case {
    int formula, a, b;
    const char* value;
    const char* unit;
};

// clang-format off
const Case kRows[] = {
    {0, 12, 250, "12 250", "----"},
    {1, 200, 16, "640", "RPM"},             // 3200 div 5
    {1, 7, 9, "12", "RPM"},                 // 63 div 5
    {2, 250, 203, "101", "%"},              // 50750 div 500
    {3, 100, 57, "11.4", ">º"},             // 0.002 * 5700
    {4, 100, 57, "122.0", "ºn.OT"},         // 127 - (57 div 10 = 5)
    {5, 3, 7, "-28", "ºC"},                 // (21 div 10) - 30: the product is cut first
    {5, 20, 99, "-2", "ºC"},                // 198 - 200
    {6, 123, 45, "5.5", "V"},               // 5.535
    {7, 250, 37, "92", "KM/H"},             // 9250 div 100
    {8, 13, 7, "9", "-----"},               // 91 div 10
    {9, 10, 200, "14.2", ">º"},             // (3.9216 - 2.5) * 10
    {11, 100, 200, "0.71", ">º"},           // 1 - (0.015686 - 0.0128) * 100
    {12, 200, 201, "40.2", "Ohm"},
    {13, 201, 99, "9.9", "mm"},             // 9.9495
    {14, 255, 201, "256", "bar"},           // 51255 div 200
    {15, 37, 51, "18.9", "ms"},             // 18.87
    {16, 240, 60, "00110000", ""},          // 0xF0 AND 0x3C = 0x30
    {16, 255, 129, "10000001", ""},
    {17, 65, 66, "AB", "-----"},
    {18, 255, 99, "1009", "mBar"},          // 25245 div 25
    {19, 33, 77, "25.4", "L"},              // 25.41
    {20, 100, 50, "-60.6", "%"},            // (0.3937 - 1) * 100
    {21, 9, 251, "2.3", "V"},               // 2.259
    {22, 31, 200, "6.2", "ms"},
    {23, 255, 255, "253", "%"},             // 65025 div 257
    {24, 255, 7, "1", "A"},                 // 1785 div 1000
    {25, 200, 10, "15.3", "g/s"},           // 1.0989 + 14.2
    {26, 80, 20, "-60", "ºC"},
    {27, 4, 200, "2.9", "ºV.OT"},           // (2 - 1.275) * 4
    {28, 200, 20, "-180", "-----"},
    {30, 100, 100, "831.3", "ºkw"},         // 831.255195
    {31, 255, 255, "25", "-----"},          // 65025 div 2570
    {31, 252, 255, "25", "-----"},          // 64260 div 2570 (div 2571 would be 24)
    {32, 0, 127, "127", "-----"},
    {32, 0, 128, "-128", "-----"},
    {32, 5, 255, "-1", "-----"},
    {33, 255, 255, "65025", "-----"},
    {34, 10, 60, "-6.6", "ºkw"},            // (0.5882 - 1.25) * 10
    {35, 99, 99, "98.0", "l/h"},            // 98.01
    {36, 1, 2, "2580", "KM"},               // 258 * 10
    {36, 255, 255, "655350", "KM"},
    {38, 201, 99, "9.9", "ºkw"},
    {39, 100, 51, "20.0", "mg/h"},          // 5100 / 255
    {40, 20, 57, "115", "A"},               // 5 + 510 - 400
    {40, 1, 0, "-374", "A"},                // -374.5, cut toward zero
    {41, 2, 3, "513", "A/h"},
    {42, 0, 99, "-391", "Ohm"},             // 9 - 400
    {43, 1, 2, "25.7", "V"},                // 0.1 * 257
    {44, 9, 5, "09:05", "HH:MM"},
    {44, 23, 59, "23:59", "HH:MM"},
    {45, 12, 34, "40.8", "l/h"},
    {47, 1, 100, "-28.0", "ms"},            // 100 - 128
    {48, 1, 1, "256", "-----"},
    {49, 40, 41, "41.0", "mg/h"},
    {51, 100, 200, "28.2", "mg/h"},         // (0.7843 - 0.502) * 100
    {52, 7, 149, "7.0", "Nm"},              // (2 - 1) * 7
    {52, 7, 49, "-7.0", "Nm"},              // (0 - 1) * 7
    {54, 3, 4, "769", "-----"},
    {55, 255, 201, "256", "s"},
    {56, 1, 2, "257", "WSC"},
    {57, 0, 0, "6553", "WSC"},
    {60, 3, 57, "12", "s"},                 // 7.68 + 5
    {62, 100, 100, "2557", "s"},            // 10000 / 3.91 = 2557.5
    {64, 100, 155, "255.0", "Ohm"},
    {65, 3, 126, "4.3", "mm"},              // 1.266 - 3 * (0 - 1)
    {65, 3, 254, "-1.7", "mm"},             // 1.266 - 3 * (2 - 1)
    {66, 100, 100, "19.5", "V"},            // 10000 / 512
    {67, 1, 3, "647.5", "º"},
    {68, 10, 100, "361", "1/s"},            // 13.5 + 347.6
    {69, 1, 10, "92", "bar"},               // 92.975
    {70, 1, 10, "51.1", "m/s2"},            // 49.15 + 1.92
    {71, 20, 30, "600", "cm"},
    {72, 100, 200, "0.2", "V"},             // 6.24 - 6
    {73, 37, 51, "18.9", "ohm"},
    {74, 12, 34, "40.8", "Mon"},
    {75, 20, 30, "600", ""},
    {76, 3, 7, "21", "kohm"},
    {77, 16, 150, "3.0", "V"},              // 2 + 1
    {78, 0, 100, "181.0", "1/s"},
    {79, 9, 42, "42", "Canal"},
    {80, 10, 250, "27.6", "kOhm"},          // 25.6 + 2
    {81, 2, 50, "24.4", "º"},               // 22.4 + 2
    {82, 10, 250, "26.0", "m/s2"},          // 24 + 2
    {83, 1, 199, "3.6", "Bar"},             // 2.56 + 1
    {84, 0, 128, "-12.45", "m/s2"},         // 0 - 12.45
    {84, 0, 200, "-5.45", "m/s2"},          // (72 div 10 = 7) - 12.45
    {84, 0, 127, "12.32", "m/s2"},          // 0.097 * 127 = 12.319
    {86, 12, 34, "40.8", "A"},
    {87, 10, 33, "16.5", "º/s"},
    {88, 37, 51, "18.9", "kOhm"},
    {89, 1, 2, "258", "H"},
    {90, 12, 34, "40.8", "kg"},
    {91, 10, 33, "16.5", "º/s"},
    {92, 20, 30, "600", "km"},
    {94, 10, 33, "16.5", "Nm"},
};
// clang-format on

TEST(FixedFormulas, EveryRowOfTheTable) {
    for (const Case& c : kRows) {
        SCOPED_TRACE(::testing::Message()
                     << "formula " << c.formula << " a " << c.a << " b " << c.b);
        EXPECT_EQ(fixedFormula(c.formula, uint8_t(c.a), uint8_t(c.b)),
                  (FieldText{c.value, c.unit}));
    }
}

TEST(FixedFormulas, FormulasWithoutARowShowTheRawField) {
    std::set<int> rows;
    for (const Case& c : kRows) rows.insert(c.formula);
    rows.insert(37);  // the text code, below
    for (int f = 0; f < 256; ++f) {
        if (rows.count(f)) continue;
        SCOPED_TRACE(f);
        char unit[16];
        std::snprintf(unit, sizeof unit, "?: %03d", f);
        EXPECT_EQ(fixedFormula(f, 0x0A, 0xFF), (FieldText{"Factor: 0A, Valor: FF", unit}));
    }
    EXPECT_EQ(fixedFormula(10, 0, 7).unit, "?: 010");
    EXPECT_EQ(fixedFormula(29, 1, 2).value, "Factor: 01, Valor: 02");
}

TEST(FixedFormulas, TextCodes) {
    EXPECT_EQ(fixedFormula(37, 0, 1), (FieldText{"ADPAPTACION ACTIVA", ""}));
    EXPECT_EQ(fixedFormula(37, 0, 102).value, "AIRBAG ACOMPAÑANTE");
    EXPECT_EQ(fixedFormula(37, 1, 0).value, "MEN VOL >");               // code 256
    EXPECT_EQ(fixedFormula(37, 2, 57).value, "VOZ ON");                 // code 569
    EXPECT_EQ(fixedFormula(37, 2, 58), (FieldText{"", ""}));            // code 570
    EXPECT_EQ(fixedFormula(37, 2, 59), (FieldText{"?Text: 571", ""}));  // beyond the shown codes
    EXPECT_EQ(fixedFormula(37, 255, 255).value, "?Text: 65535");
    // The table holds 572 texts; the last one exists though formula 37 never shows it.
    EXPECT_EQ(formulaText(571), "----------");
    EXPECT_EQ(formulaText(0), "");
    EXPECT_EQ(formulaText(255), "TUBERIA");
    EXPECT_EQ(formulaText(572), "");
    EXPECT_EQ(formulaText(-1), "");
}

TEST(FixedFormulas, CharacterFields) {
    // Bytes above 127 are the units' Windows-1252 characters; a zero byte ends the text.
    EXPECT_EQ(fixedFormula(17, 0xD1, 0x4F).value, "ÑO");
    EXPECT_EQ(fixedFormula(17, 0x41, 0x00).value, "A");
    EXPECT_EQ(fixedFormula(17, 0x00, 0x41).value, "");
}

// A group answer: length, counter, title, then formula, a and b per field, then the end.
std::vector<uint8_t> group(std::initializer_list<uint8_t> fields) {
    std::vector<uint8_t> block{uint8_t(3 + fields.size()), 0x01, kTitleGroup};
    block.insert(block.end(), fields);
    block.push_back(0x03);
    return block;
}

TEST(FixedFormulas, FieldsOfAGroupAnswer) {
    const auto block = group({1, 200, 16, 5, 3, 7, 44, 9, 5, 16, 240, 60});
    EXPECT_EQ(decodeFixedField(block, 0, FormulaSet::LiveData), (FieldText{"640", "RPM"}));
    EXPECT_EQ(decodeFixedField(block, 1, FormulaSet::LiveData), (FieldText{"-28", "ºC"}));
    EXPECT_EQ(decodeFixedField(block, 2, FormulaSet::Channels), (FieldText{"09:05", "HH:MM"}));
    EXPECT_EQ(decodeFixedField(block, 3, FormulaSet::LiveData), (FieldText{"00110000", ""}));
    // Beyond the answer, or before it: nothing is read.
    EXPECT_EQ(decodeFixedField(block, 4, FormulaSet::LiveData), std::nullopt);
    EXPECT_EQ(decodeFixedField(block, -1, FormulaSet::LiveData), std::nullopt);
    EXPECT_EQ(decodeFixedField(block, 1 << 30, FormulaSet::LiveData), std::nullopt);
    // A field cut off by the end of the answer.
    const std::vector<uint8_t> cut(block.begin(), block.begin() + 5);
    EXPECT_EQ(decodeFixedField(cut, 0, FormulaSet::LiveData), std::nullopt);
    const std::vector<uint8_t> whole(block.begin(), block.begin() + 6);
    EXPECT_EQ(decodeFixedField(whole, 0, FormulaSet::LiveData), (FieldText{"640", "RPM"}));
    EXPECT_EQ(decodeFixedField({}, 0, FormulaSet::Channels), std::nullopt);
}

TEST(FixedFormulas, TextFormulasOfTheChannelReader) {
    // Formula 63: the block's bytes from byte 4, as many as the block length less 4.
    const std::vector<uint8_t> text{0x08, 0x01, 0xE7, 0x3F, 'T', 'D', 'I', ' ', 0x03};
    EXPECT_EQ(decodeFixedField(text, 0, FormulaSet::Channels), (FieldText{"TDI ", ""}));
    // The live data show the raw field instead.
    EXPECT_EQ(decodeFixedField(text, 0, FormulaSet::LiveData),
              (FieldText{"Factor: 54, Valor: 44", "?: 063"}));
    // A block length claiming more than arrived stops at the end of the answer.
    const std::vector<uint8_t> claims{0xFF, 0x01, 0xE7, 0x3F, 'A', 'B'};
    EXPECT_EQ(decodeFixedField(claims, 0, FormulaSet::Channels)->value, "AB");
    const std::vector<uint8_t> tiny{0x03, 0x01, 0xE7, 0x3F, 'A', 'B'};
    EXPECT_EQ(decodeFixedField(tiny, 0, FormulaSet::Channels)->value, "");

    // Formula 95: byte 4 counts the characters that start at byte 7.
    const std::vector<uint8_t> counted{0x0C, 0x01, 0xE7, 0x5F, 0x03, 0x00,
                                       0x00, 'A',  'B',  'C',  'D',  0x03};
    EXPECT_EQ(decodeFixedField(counted, 0, FormulaSet::Channels), (FieldText{"ABC", ""}));
    EXPECT_EQ(decodeFixedField(counted, 0, FormulaSet::LiveData)->unit, "?: 095");
    std::vector<uint8_t> overlong = counted;
    overlong[4] = 200;  // more than the answer holds
    EXPECT_EQ(decodeFixedField(overlong, 0, FormulaSet::Channels)->value, "ABCD\x03");
    const std::vector<uint8_t> noText{0x06, 0x01, 0xE7, 0x5F, 0x05, 0x00, 0x00};
    EXPECT_EQ(decodeFixedField(noText, 0, FormulaSet::Channels)->value, "");
}

}  // namespace
}  // namespace corvan::vag
