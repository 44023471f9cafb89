#include "plugins/mbservice/script_text.h"

#include <gtest/gtest.h>

namespace corvan::mbservice {
namespace {

TEST(ScriptText, ScriptBeginsAfterTheBraceOfTheEntry) {
    const std::string text = "<MNU A #INTERPRETE {X(); <MNU B #INTERPRETE {Y();";
    EXPECT_EQ(scriptBegin(text, 0), text.find('{') + 1);
    EXPECT_EQ(scriptBegin(text, static_cast<int>(text.find("<MNU", 1))), text.rfind('{') + 1);
    EXPECT_FALSE(scriptBegin(text, static_cast<int>(text.rfind('#')) + 1));
    EXPECT_FALSE(scriptBegin("{X();", 0));             // no mark
    EXPECT_FALSE(scriptBegin("#INTERPRETE X();", 0));  // no brace
    EXPECT_FALSE(scriptBegin(text, 1 << 30));
}

TEST(ScriptText, FetchCutsAtEachSemicolonAndDropsLowCharacters) {
    const std::string text = "A();\r\n\t12 B(x);C";
    auto first = fetchStatement(text, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->statement, "A()");
    auto second = fetchStatement(text, first->next);
    ASSERT_TRUE(second);
    EXPECT_EQ(dropLeading(second->statement), "B(x)");
    EXPECT_FALSE(fetchStatement(text, second->next));  // "C" has no ";"
    EXPECT_FALSE(fetchStatement(text, text.size() + 5));
    // Everything up to '@' (0x40) goes, 'A' (0x41) stays; bytes above 0x7F are text.
    EXPECT_EQ(dropLeading(" !09@:?AB"), "AB");
    EXPECT_EQ(dropLeading("\xC3\xA9X"), "\xC3\xA9X");
    EXPECT_EQ(dropLeading("  \r\n"), "");
}

TEST(ScriptText, NameArgumentQuotesAndOperands) {
    EXPECT_EQ(Statement("EXIT").name(), "");  // no "(": no name
    EXPECT_EQ(Statement("EXIT()").name(), "EXIT");
    EXPECT_EQ(Statement("EXIT()").argument(), "");
    const Statement jmp("JMP(L1) ");  // a blank before the ";"
    EXPECT_EQ(jmp.argument(), "L1) ");
    EXPECT_EQ(Statement("JMP(L1)").argument(), "L1");
    const Statement shown("SHOWMSG(\"Reset, please wait\")");
    EXPECT_EQ(shown.argument(), "\"Reset, please wait\"");
    EXPECT_EQ(shown.quotedArgument(), "Reset, please wait");
    // A quote anywhere trims both ends, even when the argument is not quoted.
    EXPECT_EQ(Statement("SND(12\"34)").quotedArgument(), "2\"3");
    EXPECT_EQ(Statement("SND(\")").quotedArgument(), "");
    EXPECT_EQ(Statement("SND(\"\")").quotedArgument(), "");
    EXPECT_EQ(Statement("X(").argument(), "");
    EXPECT_EQ(Statement("X()").argument(), "");
    const Statement cmp("CMP(COUNT, 0x05,junk)");
    EXPECT_EQ(cmp.operand(0), "COUNT");
    EXPECT_EQ(cmp.operand(1), " 0x05");
    EXPECT_EQ(cmp.operand(2), "junk");
    EXPECT_EQ(cmp.operand(3), "");
}

TEST(ScriptText, ConditionalValueAndTheEmbeddedStatementWithThePlusCut) {
    Conditional c = splitConditional("CASE(2)+JMP(X)");
    EXPECT_EQ(c.value, "2");
    EXPECT_EQ(c.embedded, "JMP(X)");
    c = splitConditional("IFRCV(0x7B),JMP(OK)");  // any separator character
    EXPECT_EQ(c.value, "0x7B");
    EXPECT_EQ(c.embedded, "JMP(OK)");
    // With a "+" the embedded statement keeps (length - index of the first "+") characters:
    // 23 - 16 = 7 here, so the nested conditional loses its own embedded statement.
    c = splitConditional("IFRCV(1),CASE(2)+JMP(X)");
    EXPECT_EQ(c.embedded, "CASE(2)");
    c = splitConditional("IFRCV(1)+CASE(2)+JMP(X)");  // "+" first: the whole rest
    EXPECT_EQ(c.embedded, "CASE(2)+JMP(X)");
    c = splitConditional("IFCOUNT(+5)+OUTPUT(\"x\")");
    EXPECT_EQ(c.value, "+5");
    EXPECT_EQ(c.embedded, "OUTPUT(\"x\")");
    c = splitConditional("CASE(2");  // no ")"
    EXPECT_EQ(c.value, "");
    EXPECT_EQ(c.embedded, "");
    EXPECT_EQ(splitConditional("CASE(2)").embedded, "");
}

TEST(ScriptText, ValuesAreHexBytesOrDecimal) {
    EXPECT_EQ(readValue("0x5"), 0x50);
    EXPECT_EQ(readValue("0x1f"), 0x10);  // lower-case digits count as 0
    EXPECT_EQ(readValue("0xFF"), 0xFF);
    EXPECT_EQ(readValue("0x1234"), 0x12);
    EXPECT_EQ(readValue(" 0x12"), 0x01);  // always the characters at index 2 and 3
    EXPECT_EQ(readValue("  -42kg"), -42);
    EXPECT_EQ(readValue("+7"), 7);
    EXPECT_EQ(readValue("abc"), 0);
    EXPECT_EQ(readValue("300"), 300);
    EXPECT_EQ(readDecimal("99999999999"), 2147483647);
    EXPECT_EQ(readDecimal("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(formatByte(0x0A), "0x0A");
}

TEST(ScriptText, ByteTextsTakeAnOddLastDigitAsHigh) {
    EXPECT_EQ(hexBytesPadded("3101"), (std::vector<uint8_t>{0x31, 0x01}));
    EXPECT_EQ(hexBytesPadded("310"), (std::vector<uint8_t>{0x31, 0x00}));
    EXPECT_EQ(hexBytesPadded("31F"), (std::vector<uint8_t>{0x31, 0xF0}));
    EXPECT_EQ(hexBytesPadded("1g"), (std::vector<uint8_t>{0x10}));
    EXPECT_TRUE(hexBytesPadded("").empty());
}

TEST(ScriptText, LabelsMatchFromTheStartOfTheText) {
    const std::string text = "LABEL(CHECKED);LABEL(CHECK);LABEL(B );";
    EXPECT_EQ(findLabel(text, "CHECK"), 0u);  // the beginning of a longer label matches
    EXPECT_EQ(findLabel(text, "CHECK)"), 15u);
    EXPECT_EQ(findLabel(text, "B )"), 28u);
    EXPECT_FALSE(findLabel(text, "L1)"));
}

TEST(ScriptText, ChoiceRowsAndTheirWidth) {
    EXPECT_EQ(choiceRows("A\\B\\C"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(choiceRows("\\\\"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(choiceRows("no rows").empty());
    EXPECT_EQ(choiceColumnWidth({std::string(26, 'x')}), 390);
    EXPECT_EQ(choiceColumnWidth({std::string(25, 'x'), "short"}), 280);  // 375 < 380
    EXPECT_EQ(choiceColumnWidth({"short", std::string(40, 'x')}), 600);
    // Characters, not bytes: 26 accented letters are 52 bytes.
    std::string accented;
    for (int i = 0; i < 26; ++i) accented += "\xC3\x89";
    EXPECT_EQ(choiceColumnWidth({accented}), 390);
    EXPECT_EQ(choiceColumnWidth({}), 280);
}

}  // namespace
}  // namespace corvan::mbservice
