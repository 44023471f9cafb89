#include "plugins/funcmenu/menu_text.h"

#include <gtest/gtest.h>

namespace corvan::funcmenu {
namespace {

std::string item(int n, const std::string& keys) {
    return "<MNU\r\n\tID=\t[M" + std::to_string(n) + "]\r\n" + keys + ">\r\n";
}

TEST(MenuItems, ReadsTheKeysOfEachItemFromItsOwnEntry) {
    const std::string text =
        "#CONFIGURATION\r\n\tDLL=\t[BOXSTART.DLL]\r\n\tEND=\t[82]\r\n#MENU\r\n" +
        item(0,
             "\tREPORT=\t[IDN]\r\n\tTEXT=\t[\"Identification\"]\r\n\tDLL=\t[IDENTIFY.DLL]\r\n"
             "\tINFO=\t[IDENT.HTM]\r\n") +
        item(1, "\tTEXT=\t[\"Console\"]\r\n\tMSG=\t[\"Careful\"]\r\n\tDLL=\t[LINKIO.DLL]\r\n") +
        "#END\r\n";
    const auto items = readMenuItems(text, "STORAGE CARD\\CORVANDATA", 2);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].position, static_cast<int>(text.find("<MNU")));
    EXPECT_EQ(items[0].id, "M0");
    EXPECT_EQ(items[0].report, "IDN");
    EXPECT_EQ(items[0].text, "Identification");
    EXPECT_EQ(items[0].dll, "IDENTIFY.DLL");
    EXPECT_EQ(items[0].info, "IDENT.HTM");
    EXPECT_EQ(itemMessage(items[0]), "");
    EXPECT_EQ(items[1].text, "Console");
    EXPECT_EQ(items[1].report, "");  // not taken from anywhere else
    EXPECT_EQ(items[1].info, "STORAGE CARD\\CORVANDATA\\INF\\2\\NOINFO.htm");
    EXPECT_EQ(itemMessage(items[1]), "Careful");

    const auto keys = readConfiguration(text);
    EXPECT_EQ(keys.dll, "BOXSTART.DLL");
    EXPECT_EQ(keys.end, "82");
}

TEST(MenuItems, MissingDllBelongsToNoOtherItem) {
    const std::string text = "#MENU\r\n" + item(0, "\tTEXT=\t[\"A\"]\r\n") +
                             item(1, "\tTEXT=\t[\"B\"]\r\n\tDLL=\t[B.DLL]\r\n") + "#END";
    const auto items = readMenuItems(text, "", 1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].dll, "");
    EXPECT_EQ(items[1].dll, "B.DLL");
}

TEST(MenuItems, OnlyItemsBetweenMenuAndEndAndAtMostThirty) {
    std::string text = item(90, "\tTEXT=\t[\"before the menu\"]\r\n") + "#MENU\r\n";
    for (int i = 0; i < 31; ++i) text += item(i, "\tTEXT=\t[\"F" + std::to_string(i) + "\"]\r\n");
    text += "#END\r\n" + item(91, "\tTEXT=\t[\"after the end\"]\r\n");
    const auto items = readMenuItems(text, "", 1);
    ASSERT_EQ(items.size(), 30u);
    EXPECT_EQ(items.front().text, "F0");
    EXPECT_EQ(items.back().text, "F29");

    EXPECT_TRUE(readMenuItems(item(0, "\tTEXT=\t[\"x\"]\r\n"), "", 1).empty());  // no "#MENU"
    EXPECT_EQ(readMenuItems("#MENU\r\n" + item(0, ""), "", 1).size(), 1u);       // no "#END"
}

TEST(MenuItems, MessageQuotesAreRemovedAndAnEmptyQuotedMessageIsABlank) {
    MenuItem m;
    m.message = "\"\"";
    EXPECT_EQ(itemMessage(m), " ");
    m.message = "\"Switch the ignition on\"";
    EXPECT_EQ(itemMessage(m), "Switch the ignition on");
}

TEST(MenuText, AdditionalIdBlockByteForByte) {
    EXPECT_EQ(additionalIdBlock("7A"), "#ADITIONAL_ID\r\n\tID=\t[7A]\n\r#END");
    EXPECT_EQ(additionalIdBlock(""), "#ADITIONAL_ID\r\n\tID=\t[]\n\r#END");
}

TEST(MenuText, ClosingRequestIsAnEcuMessageOfTheEndBytes) {
    EXPECT_EQ(closingRequest("82"), (std::vector<uint8_t>{0x80, 0x02, 0x20, 0x00, 0x82}));
    EXPECT_EQ(closingRequest("1A80"), (std::vector<uint8_t>{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80}));
    EXPECT_TRUE(closingRequest("").empty());
    EXPECT_TRUE(closingRequest("8").empty());  // half a byte is no byte
}

TEST(MenuText, ConfigurationKeysWithoutTheSection) {
    // Without "#CONFIGURATION" the lookup starts at the text's beginning and stops at the
    // first item, so an item's "DLL=" is never taken for the configuration plug-in.
    const std::string text = "#MENU\r\n" + item(0, "\tDLL=\t[IDENTIFY.DLL]\r\n") + "#END";
    EXPECT_EQ(readConfiguration(text).dll, "");
    EXPECT_EQ(autorunPosition(text), -1);
    EXPECT_EQ(autorunPosition("#CONFIGURATION\r\n#AUTORUN\r\n\tDLL=\t[A.DLL]"), 16);
}

TEST(MenuText, OneTrailingAtIsRemoved) {
    EXPECT_EQ(withoutTrailingAt("EXE@"), "EXE");
    EXPECT_EQ(withoutTrailingAt("EXE@@"), "EXE@");
    EXPECT_EQ(withoutTrailingAt("DEMO"), "DEMO");
    EXPECT_EQ(withoutTrailingAt(""), "");
}

}  // namespace
}  // namespace corvan::funcmenu
