#include "runtime/text_table.h"

#include <gtest/gtest.h>

#include "runtime/result_text.h"

namespace corvan {
namespace {

TEST(PickText, StandardFallback) {
    const TextTable noPortugueseNoGerman{"ES", "EN", "", "ES", "EN", ""};
    EXPECT_EQ(PickText(noPortugueseNoGerman, 5), "ES");
    EXPECT_EQ(PickText(noPortugueseNoGerman, 2), "EN");
    EXPECT_EQ(PickText(noPortugueseNoGerman, 9), "EN");
    EXPECT_EQ(PickText(noPortugueseNoGerman, -1), "EN");
    const TextTable spareEmpty{"ES", "EN", "DE", "", "", "PT"};
    EXPECT_EQ(PickText(spareEmpty, 3), "ES");
    EXPECT_EQ(PickText(spareEmpty, 4), "EN");
    EXPECT_EQ(PickText(spareEmpty, 5), "PT");
    const TextTable spanishOnly{"ES", "", "", "", "", ""};
    EXPECT_EQ(PickText(spanishOnly, 2), "ES");
    EXPECT_EQ(PickText(spanishOnly, 7), "ES");
}

TEST(PickText, LiveDataFallbackPrefersEnglish) {
    const TextTable t{"ES", "EN", "", "", "", ""};
    EXPECT_EQ(pickTextLiveData(t, 5), "EN");
    EXPECT_EQ(pickTextLiveData(t, 3), "EN");
    EXPECT_EQ(PickText(t, 5), "ES");
    const TextTable spanishOnly{"ES", "", "", "", "", ""};
    EXPECT_EQ(pickTextLiveData(spanishOnly, 5), "ES");
    EXPECT_EQ(pickTextLiveData(t, 42), "EN");
}

TEST(ResultText, RecordsFollowTheHeadWithoutSeparators) {
    ResultText r("[IDN]");
    r.record("i003", "VER", "2.1").record("i004", "HW", "");
    EXPECT_EQ(r.text(), "[IDN]@i003|VER|2.1|@i004|HW||");
    EXPECT_EQ(parseResultRecords(r.text()),
              (std::vector<ResultRecord>{{"i003", "VER", "2.1"}, {"i004", "HW", ""}}));
    EXPECT_TRUE(parseResultRecords("[DEL]@OK").empty());
    EXPECT_EQ(parseResultRecords("@a|b|c|@d|e").size(), 1u);
}

}  // namespace
}  // namespace corvan
