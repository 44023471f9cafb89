// The journal's menu item: only when the configuration asks for it, last in the menu, read
// back by the menu as any item of the data.
#include "plugins/funcmenu/journal_item.h"

#include <gtest/gtest.h>

#include "plugins/funcmenu/menu_text.h"

namespace corvan::funcmenu {
namespace {

TEST(JournalItem, OnlyAnExplicitOnInTheConfigurationAsksForIt) {
    EXPECT_TRUE(journalItemWanted("PATH=[X]\r\nWRITE_JOURNAL=[ON]\r\n"));
    EXPECT_TRUE(journalItemWanted("WRITE_JOURNAL=[yes]"));
    EXPECT_TRUE(journalItemWanted("WRITE_JOURNAL=[1]"));
    EXPECT_FALSE(journalItemWanted("WRITE_JOURNAL=[OFF]"));
    EXPECT_FALSE(journalItemWanted("WRITE_JOURNAL=[]"));
    EXPECT_FALSE(journalItemWanted("PATH=[X]\r\nPORT=[SIM]\r\n"));
}

TEST(JournalItem, ComesLastInTheMenuAndTheBlocksAfterItStay) {
    const std::string text =
        "#CONFIGURATION\r\n\tDLL=\t[BOXSTART.DLL]\r\n#MENU\r\n<MNU\r\n\tID=\t[M01]\r\n"
        "\tTEXT=\t[\"Coding\"]\r\n\tDLL=\t[VAGCODING.DLL]\r\n>\r\n#END\r\n#ADITIONAL_ID\r\n"
        "\tID=\t[0102]\n\r#END";
    const std::string with = withJournalItem(text, 2);
    const auto items = readMenuItems(with, "STORAGE CARD\\CORVANDATA", 2);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].dll, "VAGCODING.DLL");
    EXPECT_EQ(items[1].dll, "JOURNAL.DLL");
    EXPECT_EQ(items[1].text, "Schreibprotokoll");
    EXPECT_EQ(items[1].id, "JOURNAL");
    EXPECT_EQ(with.substr(with.find("#END")), text.substr(text.find("#END")));
    EXPECT_EQ(withJournalItem("no menu here", 1), "no menu here");
}

}  // namespace
}  // namespace corvan::funcmenu
