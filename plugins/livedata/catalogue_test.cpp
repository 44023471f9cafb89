// Reading the item catalogue and the selection groups out of parameter texts, well-formed
// and broken.
#include "plugins/livedata/catalogue.h"

#include <gtest/gtest.h>

#include "plugins/livedata/selection_groups.h"

namespace corvan::livedata {
namespace {

std::vector<std::string> keys(const Catalogue& c) {
    std::vector<std::string> k;
    for (const LiveItem& i : c.items) k.push_back(i.key);
    return k;
}

std::string item(const std::string& key, const std::string& request = "2101") {
    return "@" + key + "\t[\"Item " + key + "\"]\t[" + request +
           "]\t[2]\t[CAL *1;0]\t[\"V\"]\t[]\r\n";
}

TEST(Catalogue, FieldsOfAnItem) {
    const Catalogue c = readCatalogue(
        "<MNU\r\n@D007\t[\"Battery\"]\t[@@2101@3E]\t[1,2]\t[CAL *0.1;1]\t[\"V\"]\t[x]\r\nENDDATA",
        0);
    ASSERT_EQ(c.items.size(), 1u);
    const LiveItem& i = c.items[0];
    EXPECT_EQ(i.key, "D007");
    EXPECT_EQ(i.description, "\"Battery\"");
    EXPECT_EQ(i.request, "@@2101@3E");
    EXPECT_EQ(i.position, "1,2");
    EXPECT_EQ(i.conversion, "CAL *0.1;1");
    EXPECT_EQ(i.unit, "\"V\"");
    EXPECT_EQ(i.spare, "x");
    EXPECT_EQ(i.selected, "");
    EXPECT_EQ(i.value, "");
    EXPECT_FALSE(c.truncated);
    EXPECT_EQ(itemNumber(i.key), 7);
}

TEST(Catalogue, DataMarksArePreferredAndEndDataEndsTheList) {
    // After a "@D" item the next "@D" comes, even with an "@S" item between them.
    EXPECT_EQ(keys(readCatalogue(item("D001") + item("S002") + item("D003") + "ENDDATA", 0)),
              (std::vector<std::string>{"D001", "D003"}));
    EXPECT_EQ(keys(readCatalogue(item("S001") + item("S002") + "ENDDATA", 0)),
              (std::vector<std::string>{"S001", "S002"}));
    // A mark after "ENDDATA" is not part of the catalogue.
    EXPECT_EQ(keys(readCatalogue(item("D001") + "ENDDATA\r\n" + item("D002"), 0)),
              (std::vector<std::string>{"D001"}));
    // Without "ENDDATA" the first item is the whole list.
    EXPECT_EQ(keys(readCatalogue(item("D001") + item("D002"), 0)),
              (std::vector<std::string>{"D001"}));
    // The catalogue starts at the start position.
    const std::string other = item("D900") + "ENDDATA\r\n";
    EXPECT_EQ(keys(readCatalogue(other + item("D001") + "ENDDATA", int(other.size()))),
              (std::vector<std::string>{"D001"}));
    EXPECT_TRUE(readCatalogue("#MENU\r\n<MNU\r\n\tDLL=\t[LIVEDATA.DLL]\r\n>", 0).items.empty());
}

TEST(Catalogue, MarksInsideFieldsAreText) {
    // A pre-request beginning with the byte D0 and a description quoting a mark.
    const Catalogue c =
        readCatalogue(item("D001", "@D012@2101@") +
                          "@D002\t[\"see @S003\"]\t[2101]\t[2]\t[HEX]\t[]\t[]\r\n" + "ENDDATA",
                      0);
    EXPECT_EQ(keys(c), (std::vector<std::string>{"D001", "D002"}));
}

TEST(Catalogue, KeepsTwoHundredNinetyNineItems) {
    std::string text;
    for (int n = 1; n <= 305; ++n) {
        char key[8];
        std::snprintf(key, sizeof key, "D%03d", n);
        text += item(key);
    }
    const Catalogue c = readCatalogue(text + "ENDDATA", 0);
    ASSERT_EQ(c.items.size(), 299u);
    EXPECT_EQ(c.items.back().key, "D299");
    EXPECT_TRUE(c.truncated);

    std::string exact;
    for (int n = 1; n <= 299; ++n) exact += item("D" + std::to_string(100 + n));
    EXPECT_FALSE(readCatalogue(exact + "ENDDATA", 0).truncated);
}

TEST(Catalogue, BrokenItemsNeverReadOutsideTheText) {
    for (const char* text : {"@D", "@D0", "@D001", "@D001 [desc", "@D001 [a] [b] ENDDATA @D002",
                             "@S001]]][[[", "ENDDATA@D001[x]"}) {
        const Catalogue c = readCatalogue(text, 0);
        ASSERT_EQ(c.items.size(), 1u) << text;
        EXPECT_LE(c.items[0].key.size(), 4u);
    }
    const Catalogue c = readCatalogue("@D001 [only a description] @D002 [x] [y] ENDDATA", 0);
    // The missing fields of the first item are read from the next one's brackets.
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].request, "x");
    EXPECT_EQ(readCatalogue(item("D001"), -5).items.size(), 1u);
    EXPECT_TRUE(readCatalogue(item("D001"), 1 << 30).items.empty());
    EXPECT_EQ(itemNumber("D0A1"), -1);
    EXPECT_EQ(itemNumber("D"), -1);
}

TEST(SelectionGroups, NamesKeysAndSeparators) {
    const std::string text =
        "<MNU\r\nSELECT=\r\n\t[\"Engine\"]\t[D001]\t[D002]\r\n@\t[\"Temperatures\"]\t[D004]"
        "\r\n@\t[\"Empty\"]\r\nENDSELECT\r\n" +
        item("D001") + "ENDDATA";
    const std::vector<SelectionGroup> g = readSelectionGroups(text, 0);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].name, "Engine");
    EXPECT_EQ(g[0].keys, (std::vector<std::string>{"D001", "D002"}));
    EXPECT_EQ(g[1].name, "Temperatures");
    EXPECT_EQ(g[1].keys, (std::vector<std::string>{"D004"}));
    EXPECT_EQ(g[2].name, "Empty");
    EXPECT_TRUE(g[2].keys.empty());  // the item's fields after "@D001" are no keys
    EXPECT_TRUE(readSelectionGroups(item("D001"), 0).empty());
    // Searched from the start position only.
    EXPECT_TRUE(readSelectionGroups(text, 20).empty());
}

TEST(SelectionGroups, LimitsAndBrokenBlocks) {
    // An empty key ends the group's list; a missing "ENDSELECT" leaves the first group only.
    auto g = readSelectionGroups("SELECT=[\"A\"][D001][][D002]@[\"B\"][D003]ENDSELECT", 0);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].keys, (std::vector<std::string>{"D001"}));
    // Keys end at "ENDSELECT" even when no '@' follows.
    g = readSelectionGroups("SELECT=[\"A\"][D001]ENDSELECT [D002]", 0);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].keys, (std::vector<std::string>{"D001"}));
    g = readSelectionGroups("SELECT=[\"A\"][D001]@[\"B\"][D003]", 0);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].keys, (std::vector<std::string>{"D001"}));

    std::string many = "SELECT=[\"BIG\"]";
    for (int i = 0; i < 250; ++i) many += "[D" + std::to_string(100 + i) + "]";
    for (int i = 0; i < 30; ++i) many += "@[\"G" + std::to_string(i) + "\"][D001]";
    g = readSelectionGroups(many + "ENDSELECT", 0);
    ASSERT_EQ(g.size(), kMaxGroups);
    EXPECT_EQ(g[0].keys.size(), kMaxGroupKeys);
    EXPECT_EQ(g[1].name, "G0");

    for (const char* text : {"SELECT=", "SELECT=[", "SELECT=[\"A\"", "SELECT=@@@ENDSELECT",
                             "SELECT=[\"A\"]@ENDSELECT[x]", "ENDSELECT SELECT=[]"})
        EXPECT_LE(readSelectionGroups(text, 0).size(), 1u) << text;
}

}  // namespace
}  // namespace corvan::livedata
