#include "shell/menu_rows.h"

#include <gtest/gtest.h>

#include "shell/name_maps.h"
#include "shell/shell_test_support.h"

namespace corvan::shell {
namespace {

using testing::crlf;
using testing::vehicleLine;

std::vector<std::string> firstCells(const std::vector<Row>& rows, size_t column = 0) {
    std::vector<std::string> cells;
    for (const Row& r : rows) cells.push_back(r.at(column));
    return cells;
}

TEST(MenuRows, LanguageFilterKeepsPositionsAmongTheListedLines) {
    const std::string text = testing::rootMenu();
    // The first German entry stands 11th in the file and is position 1 of the page.
    const auto german = languageRows(text, "GERMAN");
    EXPECT_EQ(firstCells(german),
              (std::vector<std::string>{"DIAGNOSE", "SIMULATION", "EINSTELLUNGEN",
                                        "DIENSTPROGRAMME", "NEUIGKEITEN"}));
    EXPECT_EQ(languageRows(text, "PORTUGUESE")[2][0], "CONFIGURAÇÃO");
    // The name is looked for anywhere in the line, case-sensitively; none lists nothing.
    EXPECT_TRUE(languageRows(text, "english").empty());
    EXPECT_TRUE(languageRows(text, "").empty());
    EXPECT_EQ(languageRows("x¬A¬y ENGLISH z¬\r\n", "ENGLISH")[0][0], "A");
}

TEST(MenuRows, BrandListTakesWholeLinesAndDropsAnUnterminatedLast) {
    EXPECT_EQ(firstCells(brandRows("BMW\r\nOPEL\r\nSEAT")),
              (std::vector<std::string>{"BMW", "OPEL"}));
    EXPECT_TRUE(brandRows("").empty());
}

TEST(MenuRows, ModelMarkedWithRecordWhenAnyOfItsLinesHasOne) {
    const std::string text =
        crlf({vehicleLine("A", "S1", "V1", ""), vehicleLine("A", "S1", "V2", "R.TXT"),
              vehicleLine("A", "S2", "V3", ""), vehicleLine("B", "S1", "V1", "", "B.bmp")});
    const auto rows = modelRows(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Row{"A", "E46.bmp", "CONFICHA"}));
    EXPECT_EQ(rows[1], (Row{"B", "B.bmp", "SINFICHA"}));
}

TEST(MenuRows, ALaterRecordMarksTheLastRowAddedNotTheEntrysOwn) {
    // The device keeps only the last row it added; a brand file whose lines of one model do
    // not stand together marks the wrong model. Kept as the device does it.
    const std::string text = crlf({vehicleLine("A", "S", "V", ""), vehicleLine("B", "S", "V", ""),
                                   vehicleLine("A", "S", "W", "R.TXT")});
    const auto rows = modelRows(text);
    EXPECT_EQ(firstCells(rows, 2), (std::vector<std::string>{"SINFICHA", "CONFICHA"}));
}

TEST(MenuRows, SystemsOfOneModelWithTranslatedNames) {
    const NameMaps names = BuildNameMaps(2);
    const auto rows = systemRows(testing::bmwFile(), "SERIE 3 (E46)", names);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              (Row{"MOTOR DIESEL", "OBD16.bmp", "E46_OBD.bmp", "CONFICHA", "DIESELMOTOR"}));
    EXPECT_EQ(rows[1][4], "BREMSEN-ANTRIEBSSCHLUPFREGELUNG");
    // A key the map does not know is shown as it is; no record on any line: grey.
    EXPECT_EQ(rows[2],
              (Row{"SISTEMA NUEVO", "OBD16.bmp", "E46_OBD.bmp", "SINFICHA", "SISTEMA NUEVO"}));
    EXPECT_TRUE(systemRows(testing::bmwFile(), "SERIE 7", names).empty());
}

TEST(MenuRows, VariantsOfOneSystem) {
    const NameMaps names = BuildNameMaps(1);
    const auto rows = variantRows(testing::bmwFile(), "SERIE 3 (E46)", "FRENADO", names);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (Row{"DSC - CONTROL DE ESTABILIDAD MK60", "CONFICHA",
                            "DSC - STABILITY CONTROL MK60"}));
    EXPECT_EQ(rows[1][1], "CONFICHA");  // a document is a record too
    const auto diesel = variantRows(testing::bmwFile(), "SERIE 3 (E46)", "MOTOR DIESEL", names);
    EXPECT_EQ(firstCells(diesel, 1), (std::vector<std::string>{"CONFICHA", "SINFICHA"}));
    const auto airbag = variantRows(testing::bmwFile(), "SERIE 5 (E39)", "AIRBAG", names);
    EXPECT_EQ(airbag[0][2], "MRS - MULTIPLE RESTRAINT SYSTEM III");
}

TEST(MenuRows, RecordOfTheLastMatchingLine) {
    const std::string text =
        crlf({vehicleLine("A", "S", "V", "FIRST.TXT"), vehicleLine("A", "S", "W", "OTHER.TXT"),
              vehicleLine("A", "S", "V", "SECOND.TXT")});
    EXPECT_EQ(recordOf(text, "A", "S", "V"), "SECOND.TXT");
    // The last match wins even when it has no record.
    EXPECT_EQ(recordOf(text + crlf({vehicleLine("A", "S", "V", "")}), "A", "S", "V"), "");
    // The keys count as whole fields anywhere in the line; the brand plays no part.
    EXPECT_EQ(recordOf(crlf({"X¬S¬V¬A¬R.TXT"}), "A", "S", "V"), "R.TXT");
    EXPECT_EQ(recordOf(crlf({vehicleLine("AB", "S", "V", "R.TXT")}), "A", "S", "V"), "");
    EXPECT_EQ(recordOf(text, "A", "S", "X"), "");
}

TEST(MenuRows, MalformedVehicleLinesGiveEmptyCellsNotACrash) {
    const NameMaps names = BuildNameMaps(1);
    const std::string text =
        crlf({"no separators at all", "", "X¬ONLY MODEL", "X¬M¬S", "X¬M¬S¬V¬R.TXT"}) +
        "X¬M¬S¬LAST¬R.TXT";
    const auto models = modelRows(text);
    ASSERT_EQ(models.size(), 3u);
    EXPECT_EQ(models[0], (Row{"", "", "SINFICHA"}));
    EXPECT_EQ(models[1], (Row{"ONLY MODEL", "", "SINFICHA"}));
    EXPECT_EQ(models[2], (Row{"M", "", "CONFICHA"}));
    const auto systems = systemRows(text, "M", names);
    ASSERT_EQ(systems.size(), 1u);
    EXPECT_EQ(systems[0], (Row{"S", "", "", "CONFICHA", "S"}));
    // "X¬M¬S" ends in the system without a separator after it: not a line of that system.
    const auto variants = variantRows(text, "M", "S", names);
    ASSERT_EQ(variants.size(), 1u);
    EXPECT_EQ(variants[0], (Row{"V", "CONFICHA", "V"}));
}

TEST(MenuRows, AnEmptyKeyCountsAsListedOnceTwoKeysAre) {
    // The device's running list "¬A¬¬B¬" holds "¬¬": an empty model after two others is
    // taken for one already listed.
    const auto late = modelRows(crlf({"X¬A", "X¬B", "X¬"}));
    EXPECT_EQ(firstCells(late), (std::vector<std::string>{"A", "B"}));
    const auto early = modelRows(crlf({"X¬A", "X¬", "X¬B", "X¬"}));
    EXPECT_EQ(firstCells(early), (std::vector<std::string>{"A", "", "B"}));
}

TEST(MenuRows, EveryParsedLineIsFollowedByAPump) {
    int pumps = 0;
    const AfterLine count = [&] { ++pumps; };
    const std::string text = testing::bmwFile();
    modelRows(text, count);
    EXPECT_EQ(pumps, 6);
    systemRows(text, "SERIE 5 (E39)", BuildNameMaps(0), count);
    EXPECT_EQ(pumps, 12);  // every line, those of other models too
}

}  // namespace
}  // namespace corvan::shell
