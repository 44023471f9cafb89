#include "platform/config_text.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(ConfigText, ValueBetweenTheFirstBracketsAfterTheKey) {
    const std::string text = "PATH=[A\\B] note [x]\r\nX=[1]PORT= COM2 [COM1]\r\nLANGUAGE=[]";
    EXPECT_EQ(configValue(text, "PATH="), "A\\B");
    EXPECT_EQ(configValue(text, "PORT="), "COM1");
    EXPECT_EQ(configValue(text, "LANGUAGE="), "");
    EXPECT_EQ(configValue(text, "OTHER="), "");
    // Brackets are searched from the key on, each on its own: a missing one, or a "]"
    // before the "[", gives an empty value.
    EXPECT_EQ(configValue("PATH=[open", "PATH="), "");
    EXPECT_EQ(configValue("PATH=close]", "PATH="), "");
    EXPECT_EQ(configValue("PATH=]x[", "PATH="), "");
    EXPECT_EQ(configValue("PORT=]COM1[", "PORT="), "");
    EXPECT_EQ(configValue("[PATH=x]", "PATH="), "");
    EXPECT_EQ(configValue("PATH=[a]PATH=[b]", "PATH="), "a");
}

TEST(ConfigText, LanguageIndexSkipsTheSpareSlots) {
    EXPECT_EQ(languageIndexOf("SPANISH"), 0);
    EXPECT_EQ(languageIndexOf("ENGLISH"), 1);
    EXPECT_EQ(languageIndexOf("GERMAN"), 2);
    EXPECT_EQ(languageIndexOf("PORTUGUESE"), 5);
    EXPECT_EQ(languageIndexOf("english"), 0);
    EXPECT_EQ(languageIndexOf("FRENCH"), 0);
    EXPECT_EQ(languageIndexOf(""), 0);
}

}  // namespace
}  // namespace corvan
