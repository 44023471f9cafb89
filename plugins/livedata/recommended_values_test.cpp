// Finding the recommended-values file, reading its tables, and telling a value outside its
// range.
#include "plugins/livedata/recommended_values.h"

#include <gtest/gtest.h>

namespace corvan::livedata {
namespace {

const std::string kExtended =
    "#EXTENDED_INFORMATION\r\n\tFILE=\t[\\DATA\\engine.dat]\r\n#MENU\r\n<MNU\r\n";

TEST(RecommendedFile, NameFromTheItemOrFromTheParameterFile) {
    EXPECT_EQ(recommendedFileName(kExtended + "\tVRF=\t[edc16.vrf]\r\n", 0), "EDC16.VRF");
    // An empty name: the parameter file's own name, ".DAT" turned into ".VRF".
    EXPECT_EQ(recommendedFileName(kExtended + "\tVRF=\t[]\r\n", 0), "ENGINE.VRF");
    EXPECT_EQ(recommendedFileName("\tVRF=\t[]\r\n", 0), "");  // no extended information
    // "FILE=" counts only before the first menu item of the extended information.
    EXPECT_EQ(recommendedFileName(
                  "#EXTENDED_INFORMATION\r\n<MNU\r\n\tFILE=\t[x.dat]\r\n\tVRF=\t[]\r\n", 0),
              "");
    EXPECT_EQ(recommendedFileName(kExtended, 0), std::nullopt);
    const std::string text = "\tVRF=\t[a.vrf]\r\n" + kExtended;
    EXPECT_EQ(recommendedFileName(text, 5), std::nullopt);  // searched from the start position
    EXPECT_EQ(recommendedFileName("VRF=[x.dat.dat]", 0), "X.VRF.VRF");
    EXPECT_EQ(recommendedDevicePath("STORAGE CARD\\CORVANDATA", "ENGINE.VRF"),
              "STORAGE CARD\\CORVANDATA\\VRF\\ENGINE.VRF");
}

TEST(RecommendedFile, TwoTablesEachEndedByEndData) {
    const RecommendedTables t = parseRecommendedValues(
        "\"IDLE\"\r\n@D001\t[780-880]\r\n@D007\t[12.5-14.5]\r\nENDDATA\r\n"
        "\"2500 RPM\"\r\n@D001\t[2450-2550]\r\nENDDATA\r\n");
    EXPECT_EQ(t.names, (std::vector<std::string>{"IDLE", "2500 RPM"}));
    EXPECT_FALSE(t.badFormat);
    EXPECT_EQ(t.text(0, 7), "12.5-14.5");
    EXPECT_EQ(t.text(0, 1), "780-880");
    EXPECT_EQ(t.text(1, 1), "2450-2550");
    EXPECT_EQ(t.text(1, 7), "");  // only in the first table
    EXPECT_EQ(t.text(2, 1), "");
    EXPECT_EQ(t.text(-1, 1), "");
    EXPECT_EQ(t.text(0, 300), "");
}

TEST(RecommendedFile, MissingEndDataAndBrokenEntries) {
    // The first table runs on into the second, whose name is not offered.
    RecommendedTables t = parseRecommendedValues(
        "\"A\" @D001 [1-2] \"B\" @D002 [3-4] ENDDATA \"C\" @D003 [5-6] ENDDATA");
    EXPECT_EQ(t.names, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(t.text(0, 2), "3-4");
    EXPECT_EQ(t.text(1, 3), "5-6");
    // Without any "ENDDATA" each table keeps its first entry only.
    t = parseRecommendedValues("\"A\" @D001 [1-2] @D002 [x] \"B\" @S003 [5-6] @S004 [y]");
    EXPECT_EQ(t.names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(t.text(0, 1), "1-2");
    EXPECT_EQ(t.text(0, 2), "");
    EXPECT_EQ(t.text(1, 3), "5-6");
    EXPECT_EQ(t.text(1, 4), "");
    // A name without entries is a format error; the tables before it stay.
    t = parseRecommendedValues("\"A\" @D001 [1-2] ENDDATA \"B\" ENDDATA");
    EXPECT_TRUE(t.badFormat);
    EXPECT_EQ(t.text(0, 1), "1-2");
    // Item numbers of 300 and more end their table unstored.
    t = parseRecommendedValues(
        "\"A\" @D299 [a] @D300 [b] @D001 [c] ENDDATA \"B\" @D002 [d] ENDDATA");
    EXPECT_EQ(t.text(0, 299), "a");
    EXPECT_EQ(parseRecommendedValues("\"A\" @D000 [zero] ENDDATA").text(0, 0), "zero");
    EXPECT_EQ(t.text(0, 1), "");
    EXPECT_EQ(t.names.size(), 2u);
    EXPECT_EQ(t.text(1, 2), "d");

    std::string many;
    for (int i = 0; i < 25; ++i) many += "\"T" + std::to_string(i) + "\" @D001 [x] ENDDATA ";
    EXPECT_EQ(parseRecommendedValues(many).names.size(), kMaxTables);

    for (const char* junk : {"\"", "\"A", "\"A\" @D", "\"A\" @D0", "@D001[", "\"\"\"\"", "x"})
        EXPECT_LE(parseRecommendedValues(junk).names.size(), 2u) << junk;
}

TEST(RangeCheck, NumbersAgainstLowHigh) {
    struct Case {
        const char* value;
        const char* range;
        RangeCheck expected;
    };
    const Case cases[] = {
        {"13.9", "12.5-14.5", RangeCheck::Inside},
        {"12.5", "12.5-14.5", RangeCheck::Inside},
        {"14.5", "12.5-14.5", RangeCheck::Inside},
        {"-", "0-9", RangeCheck::Unknown},
        {"14.6", "12.5-14.5", RangeCheck::Above},
        {"3", "12.5-14.5", RangeCheck::Below},
        {"-12", "-10-5", RangeCheck::Below},
        {"-7", "-10--5", RangeCheck::Inside},
        {"-3", "-10--5", RangeCheck::Above},
        {"850", "780 - 880 rpm", RangeCheck::Inside},
        {"13.0", "12,5-14,5", RangeCheck::Inside},
        {"ON", "12.5-14.5", RangeCheck::Unknown},
        {"0A1B", "0-9", RangeCheck::Unknown},
        {"???", "0-9", RangeCheck::Unknown},
        {"5", "", RangeCheck::Unknown},
        {"5", "OK", RangeCheck::Unknown},
        {"5", "10-1", RangeCheck::Unknown},
        {"5", "7", RangeCheck::Unknown},
        {"inf", "0-9", RangeCheck::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkRange(c.value, c.range), c.expected) << c.value << " in " << c.range;
}

}  // namespace
}  // namespace corvan::livedata
