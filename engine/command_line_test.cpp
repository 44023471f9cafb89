#include "engine/command_line.h"

#include <gtest/gtest.h>

namespace corvan::engine {
namespace {

EngineCommand parsed(std::string_view line) {
    std::string error;
    auto c = parseEngineCommand(line, &error);
    EXPECT_TRUE(c.has_value()) << line << ": " << error;
    return c.value_or(EngineCommand{});
}

TEST(EngineCommandLine, TheThreeFormsOfTheShell) {
    const auto exe = parsed("/EDC16_KWP.TXT /VW GOLF ENGINE TDI /EXE");
    EXPECT_EQ(exe.record, "EDC16_KWP.TXT");
    EXPECT_EQ(exe.selection, "VW GOLF ENGINE TDI");
    EXPECT_EQ(exe.mode, "EXE");

    const auto reload = parsed("/EDC16_KWP.TXT /VW GOLF ENGINE TDI /EXE /LOADDRIVER");
    EXPECT_EQ(reload.selection, "VW GOLF ENGINE TDI");
    EXPECT_EQ(reload.mode, "EXE@");

    const auto demo = parsed("/EDC16_KWP.TXT /VW GOLF ENGINE TDI /DEMO=1");
    EXPECT_EQ(demo.selection, "VW GOLF ENGINE TDI");
    EXPECT_EQ(demo.mode, "DEMO");
    EXPECT_EQ(demo.demoValue, "1");
}

TEST(EngineCommandLine, NamesKeepTheirBlanksAndSlashes) {
    // Model "GOLF IV / BORA" and variant "1.9 TDI 110 CV": only the record ends at " /".
    const auto c = parsed("/ABS_CAN.TXT /VOLKSWAGEN GOLF IV / BORA ABS  ESP 1.9 TDI 110 CV /EXE");
    EXPECT_EQ(c.record, "ABS_CAN.TXT");
    EXPECT_EQ(c.selection, "VOLKSWAGEN GOLF IV / BORA ABS  ESP 1.9 TDI 110 CV");
    EXPECT_EQ(c.mode, "EXE");
    // A demo value is taken from the last " /DEMO=" whatever stands before it.
    const auto d = parsed("/R.TXT /A /DEMO=X B /DEMO=2");
    EXPECT_EQ(d.selection, "A /DEMO=X B");
    EXPECT_EQ(d.demoValue, "2");
}

TEST(EngineCommandLine, EmptyRecordAndEmptyNames) {
    // The last matching vehicle line had no record: the line begins "/" " /".
    const auto c = parsed("/ /VW GOLF ENGINE TDI /EXE");
    EXPECT_EQ(c.record, "");
    EXPECT_EQ(c.selection, "VW GOLF ENGINE TDI");
    // Four empty names still leave their three blanks.
    EXPECT_EQ(parsed("/R.TXT /    /EXE").selection, "   ");
    // Nothing between the record and the mode.
    const auto bare = parsed("/R.TXT /EXE /LOADDRIVER");
    EXPECT_EQ(bare.record, "R.TXT");
    EXPECT_EQ(bare.selection, "");
    EXPECT_EQ(bare.mode, "EXE@");
}

TEST(EngineCommandLine, TextsThatAreNotACommandLineAreRefused) {
    for (const char* line : {"", "EDC16.TXT /A B C D /EXE", "/EDC16.TXT", "/EDC16.TXT /A B C D",
                             "/EDC16.TXT /A B C D /EXE2", "/EDC16.TXT /A B C D /exe"}) {
        std::string error;
        EXPECT_FALSE(parseEngineCommand(line, &error).has_value()) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(EngineCommandLine, SplitArgumentsJoinBackToTheShellsText) {
    const std::string line = "/EDC16_KWP.TXT /VW GOLF ENGINE TDI /EXE /LOADDRIVER";
    EXPECT_EQ(joinArguments({line}), line);
    EXPECT_EQ(
        joinArguments({"/EDC16_KWP.TXT", "/VW", "GOLF", "ENGINE", "TDI", "/EXE", "/LOADDRIVER"}),
        line);
    EXPECT_EQ(parsed(joinArguments({"/EDC16_KWP.TXT", "/VW", "GOLF", "/DEMO=1"})).selection,
              "VW GOLF");
}

}  // namespace
}  // namespace corvan::engine
