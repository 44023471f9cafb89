// The stored "\dtc\" files: what the writer makes, the library reads back in place, and
// what a damaged file or a mistake in a readable source gives.
#include "engine/dtcbase/dtc_file.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/dtcbase/dtc_source.h"
#include "engine/dtcbase/dtcbase_entry.h"
#include "platform/library_loader.h"

namespace corvan::dtc {
namespace {

std::vector<uint8_t> stored(std::string_view text) {
    auto s = encodeStoredFile(text);
    EXPECT_TRUE(s.has_value());
    return s.value_or(std::vector<uint8_t>{});
}

TEST(StoredFile, RoundTripInPlaceWithEveryByteValue) {
    std::string text = "[P0100][\"Caudal\xEDmetro\"][\"\"][1]\r\n";
    for (int b = 1; b < 256; ++b) text += static_cast<char>(b);
    auto file = stored(text);
    ASSERT_EQ(file.size(), text.size() + kHeaderSize);
    // Scrambled: the text is not readable in the file.
    EXPECT_EQ(std::string(file.begin(), file.end()).find("P0100"), std::string::npos);
    const auto length = decodeInPlace(file);
    ASSERT_TRUE(length.has_value());
    EXPECT_EQ(*length, text.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + text.size()), text);
    EXPECT_EQ(file[text.size()], 0);
    // The empty text is a file too.
    auto empty = stored("");
    EXPECT_EQ(decodeInPlace(empty), 0u);
    EXPECT_EQ(empty[0], 0);
}

TEST(StoredFile, DamagedFilesAreRejectedAndLeftAsTheyWere) {
    const std::vector<uint8_t> good = stored("[P0100][\"Mass air flow\"][\"Connector\"][]");
    auto expectRejected = [](std::vector<uint8_t> file, const char* what) {
        const std::vector<uint8_t> before = file;
        EXPECT_FALSE(decodeInPlace(file).has_value()) << what;
        EXPECT_EQ(file, before) << what;
    };
    for (size_t i = 0; i < good.size(); ++i) {
        auto flipped = good;
        flipped[i] ^= 0x01;
        expectRejected(flipped, "one bit changed");
    }
    expectRejected({good.begin(), good.end() - 1}, "cut short");
    auto longer = good;
    longer.push_back('x');
    expectRejected(longer, "one byte more");
    expectRejected({good.begin(), good.begin() + 5}, "header only");
    expectRejected({}, "empty");
    const std::string plain = "[P0100][\"readable text, never stored\"][\"\"][]";
    expectRejected({plain.begin(), plain.end()}, "plain text");
    EXPECT_FALSE(encodeStoredFile(std::string("a\0b", 3)).has_value());
}

TEST(StoredFile, LibraryEntryDecodesInPlace) {
    DlopenLoader loader;
    std::string error;
    auto library = loader.load(CORVAN_DTCBASE_PLUGIN, &error);
    ASSERT_TRUE(library) << error;
    const auto entry = reinterpret_cast<DtcBaseEntry>(library->symbol("dll"));
    ASSERT_NE(entry, nullptr);
    auto file = stored("[00017][\"Fuel pump relay\"][ACT017.htm]");
    EXPECT_NE(entry(file.data(), static_cast<int32_t>(file.size())), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(file.data()),
                 "[00017][\"Fuel pump relay\"][ACT017.htm]");
    auto again = stored("x");
    again.back() ^= 0x40;
    EXPECT_EQ(entry(again.data(), static_cast<int32_t>(again.size())), 0);
    EXPECT_EQ(entry(nullptr, 10), 0);
    EXPECT_EQ(entry(again.data(), -1), 0);
}

TEST(ReadableSource, EntriesAreCheckedLineByLine) {
    const CompiledSource codes = compileSource(
        "\xEF\xBB\xBF# engine unit\n"
        "[P0100][\"Caudalímetro\"][\"Conector\"][1]\r\n"
        "\n"
        "   [N0123][\"Bus\"] [\"\"] []\n",
        SourceKind::TroubleCodes);
    ASSERT_EQ(codes.error, "");
    EXPECT_EQ(codes.entries, 2);
    EXPECT_EQ(codes.text,
              "[P0100][\"Caudal\xEDmetro\"][\"Conector\"][1]\r\n[N0123][\"Bus\"] [\"\"] []\r\n");

    const struct {
        const char* source;
        SourceKind kind;
        const char* error;
    } bad[] = {
        {"[P0100][\"a\"][\"b\"]", SourceKind::TroubleCodes,
         "line 1: expected 4 bracketed fields, found 3"},
        {"#\n[P0100][\"a\"][\"b\"][1][2]", SourceKind::TroubleCodes,
         "line 2: expected 4 bracketed fields, found 5"},
        {"[P0100][a][\"b\"][1]", SourceKind::TroubleCodes,
         "line 1: the description must be quoted"},
        {"[P0100][\"a\"][b][1]", SourceKind::TroubleCodes, "line 1: the detail must be quoted"},
        {"[P0100][\"a][\"b\"][1]", SourceKind::TroubleCodes,
         "line 1: a quoted field does not end with \"]"},
        {"[P0100][\"a\"][\"b\"][1", SourceKind::TroubleCodes, "line 1: a \"[\" is not closed"},
        {"P0100[\"a\"][\"b\"][1]", SourceKind::TroubleCodes, "line 1: text outside brackets"},
        {"[P0100][\"a\"][\"b\"][1]\n[P0100][\"c\"][\"d\"][2]", SourceKind::TroubleCodes,
         "line 2: code P0100 twice"},
        {"[P0100][\"€ ok, Ω not\"][\"\"][]", SourceKind::TroubleCodes,
         "line 1: a character the terminal's code page does not have"},
        {"[1195][\"End\"][DOC.htm]", SourceKind::Actuators,
         "line 1: an actuator code is five decimal digits"},
        {"[01195][\"End\"][\"DOC.htm\"]", SourceKind::Actuators,
         "line 1: the help document is written without quotes"},
    };
    for (const auto& b : bad) {
        const CompiledSource c = compileSource(b.source, b.kind);
        EXPECT_EQ(c.error, b.error) << b.source;
        EXPECT_EQ(c.text, "") << b.source;
    }
}

}  // namespace
}  // namespace corvan::dtc
