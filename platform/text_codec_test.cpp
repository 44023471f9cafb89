#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(TextCodec, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(TextCodec, MapsTheWindowsCharacters) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(utf8ToCp1252("€"), "\x80");
    EXPECT_EQ(cp1252ToUtf8("Espa\xF1"
                           "a"),
              "España");
    EXPECT_EQ(utf8ToCp1252("¿REINTENTAR? Diagnóstico"), "\xBFREINTENTAR? Diagn\xF3stico");
    EXPECT_EQ(cp1252ToUtf8("\xE1"), "á");
    EXPECT_EQ(cp1252ToUtf8("\xC3"), "Ã");
    EXPECT_EQ(utf8ToCp1252("Ã"), "\xC3");
    EXPECT_EQ(cp1252ToUtf8("\x93x\x94 \x99 \x9F"), "“x” ™ Ÿ");
    EXPECT_EQ(cp1252ToUtf8("\x8A\x8E\x9A\x9E"), "ŠŽšž");
}

TEST(TextCodec, UndefinedBytesBecomeC1Controls) {
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(cp1252ToUtf8("\x8D"), "\xC2\x8D");
    EXPECT_EQ(cp1252ToUtf8("\x8F"), "\xC2\x8F");
    EXPECT_EQ(cp1252ToUtf8("\x90"), "\xC2\x90");
    EXPECT_EQ(cp1252ToUtf8("\x9D"), "\xC2\x9D");
    // The other C1 controls have a Windows character in their place and no byte of their own.
    EXPECT_EQ(utf8ToCp1252("\xC2\x80"), "?");
    EXPECT_EQ(utf8ToCp1252("\xC2\x9F"), "?");
}

TEST(TextCodec, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("a✓b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("😀"), "?");
    EXPECT_EQ(utf8ToCp1252("Ω"), "?");
    EXPECT_EQ(utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");                      // never a lead byte
    EXPECT_EQ(utf8ToCp1252("\xC3"), "?");  // cut off at the end
    EXPECT_EQ(utf8ToCp1252("\xC3"
                           "A"),
              "?A");                                      // continuation missing
    EXPECT_EQ(utf8ToCp1252("\xC0\xB1"), "??");            // overlong '1'
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(utf8ToCp1252("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
    EXPECT_EQ(utf8ToCp1252("\x80\x80"), "??");            // stray continuations
    EXPECT_EQ(utf8ToCp1252(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextCodec, AsciiCaseHelpersLeaveOtherBytesAlone) {
    EXPECT_EQ(asciiUpper("Marcas.mnu ñ"), "MARCAS.MNU ñ");
    EXPECT_TRUE(equalsIgnoreCase("STORAGE CARD", "Storage Card"));
    EXPECT_FALSE(equalsIgnoreCase("Storage Card", "Storage Car"));
    EXPECT_FALSE(equalsIgnoreCase("ñ", "Ñ"));  // only ASCII letters fold
    EXPECT_FALSE(equalsIgnoreCase("[", "{"));
    EXPECT_TRUE(equalsIgnoreCase("", ""));
}

}  // namespace
}  // namespace corvan
