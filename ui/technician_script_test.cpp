#include "ui/technician_script.h"

#include <gtest/gtest.h>

namespace corvan::ui {
namespace {

ScriptRule only(std::string_view text) {
    const ScriptParseResult r = parseTechnicianScript(text);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.script.rules.size(), 1u);
    return r.script.rules.empty() ? ScriptRule{} : r.script.rules[0];
}

std::string errorOf(std::string_view text) {
    return parseTechnicianScript(text).error;
}

TEST(TechnicianScriptParse, ReadsEveryActionKind) {
    ScriptRule r = only("answer \"RETRY?\" yes");
    EXPECT_EQ(r.action.kind, ActionKind::Answer);
    EXPECT_EQ(r.action.text, "RETRY?");
    EXPECT_EQ(r.action.answer, Answer::Yes);

    r = only("press \"SELECT\"");
    EXPECT_EQ(r.action.kind, ActionKind::Press);
    EXPECT_EQ(r.action.text, "SELECT");
    EXPECT_FALSE(r.action.byId);
    r = only("press #2");
    EXPECT_TRUE(r.action.byId);
    EXPECT_EQ(r.action.id, 2);

    r = only("tap \"LIVE DATA\" in #100");
    EXPECT_EQ(r.action.kind, ActionKind::Tap);
    EXPECT_EQ(r.action.text, "LIVE DATA");
    EXPECT_EQ(r.action.id, 100);
    r = only("doubletap row 3");
    EXPECT_EQ(r.action.kind, ActionKind::DoubleTap);
    EXPECT_EQ(r.action.row, 3);
    EXPECT_FALSE(r.action.byId);

    r = only("type \"12345\" into #11");
    EXPECT_EQ(r.action.kind, ActionKind::Type);
    EXPECT_EQ(r.action.text, "12345");
    EXPECT_EQ(r.action.id, 11);

    EXPECT_EQ(only("check #12").action.kind, ActionKind::Check);
    EXPECT_EQ(only("uncheck #12").action.kind, ActionKind::Uncheck);

    r = only("choose \"ISO 9141\" in #15");
    EXPECT_EQ(r.action.kind, ActionKind::Choose);
    EXPECT_TRUE(r.action.byId);
    r = only("choose \"Rear\"");
    EXPECT_FALSE(r.action.byId);
    r = only("choose #14");
    EXPECT_TRUE(r.action.text.empty());

    EXPECT_EQ(only("hold control").action.kind, ActionKind::HoldControl);
    EXPECT_EQ(only("release control").action.kind, ActionKind::ReleaseControl);
    EXPECT_EQ(only("close").action.kind, ActionKind::Close);
    EXPECT_EQ(only("dump").action.kind, ActionKind::Dump);
}

TEST(TechnicianScriptParse, ReadsPacingConditionsCommentsAndEscapes) {
    const auto r = parseTechnicianScript(
        "\xEF\xBB\xBF# the technician's session\r\n"
        "\n"
        "after 50 pumps when title \"IDENTIFICATION\" press \"Exit\"   # leave\r\n"
        "when text #10 \"OK\" dump\n"
        "WHEN ROWS #100 >= 3 TAP ROW 2\n"
        "answer \"No response from VarBox\\nRETRY?\" No\n"
        "answer \"say \\\"hi\\\"\" Ok");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.script.rules.size(), 5u);
    const auto& first = r.script.rules[0];
    EXPECT_EQ(first.line, 3);
    EXPECT_EQ(first.after, 50);
    EXPECT_EQ(first.when.kind, ConditionKind::Title);
    EXPECT_EQ(first.when.text, "IDENTIFICATION");
    EXPECT_EQ(first.source,
              "after 50 pumps when title \"IDENTIFICATION\" press \"Exit\"   # leave");
    EXPECT_EQ(r.script.rules[1].when.kind, ConditionKind::Text);
    EXPECT_EQ(r.script.rules[1].when.id, 10);
    const auto& rows = r.script.rules[2];
    EXPECT_EQ(rows.when.kind, ConditionKind::Rows);
    EXPECT_EQ(rows.when.op, CompareOp::GreaterEqual);
    EXPECT_EQ(rows.when.count, 3);
    EXPECT_EQ(rows.action.kind, ActionKind::Tap);
    EXPECT_EQ(r.script.rules[3].action.text, "No response from VarBox\nRETRY?");
    EXPECT_EQ(r.script.rules[4].action.text, "say \"hi\"");
}

TEST(TechnicianScriptParse, ErrorsNameTheLineAndTheProblem) {
    EXPECT_EQ(errorOf("press \"Exit\"\nfly away"), "line 2: unknown action 'fly'");
    EXPECT_EQ(errorOf("press Exit"), "line 1: expected a quoted text after 'press'");
    EXPECT_EQ(errorOf("\n\ntap \"A"), "line 3: text not closed with '\"'");
    EXPECT_EQ(errorOf("answer \"RETRY\" maybe"),
              "line 1: unknown answer 'maybe' (use Yes, No, Ok, Cancel or Retry)");
    EXPECT_EQ(errorOf("answer \"RETRY\""),
              "line 1: expected an answer (Yes, No, Ok, Cancel, Retry)");
    EXPECT_EQ(errorOf("type \"1\" #11"), "line 1: expected 'into' after 'type \"...\"'");
    EXPECT_EQ(errorOf("after 5 press #1"), "line 1: expected 'pumps' after 'after N'");
    EXPECT_EQ(errorOf("after 99999999999 pumps close"), "line 1: number too large");
    EXPECT_EQ(errorOf("when rows #1 >= many close"), "line 1: expected a number after '>='");
    EXPECT_EQ(errorOf("when rows #1 3 close"),
              "line 1: expected one of = != < <= > >= after the rows id");
    EXPECT_EQ(errorOf("when colour \"red\" close"),
              "line 1: unknown condition 'colour' (use title, text or rows)");
    EXPECT_EQ(errorOf("close now"), "line 1: unexpected 'now' at the end of the rule");
    EXPECT_EQ(errorOf("hold shift"), "line 1: expected 'control' after 'hold'");
    EXPECT_EQ(errorOf("check"), "line 1: expected a control id (#N) after 'check'");
    // A failed parse hands back no rules, so a half-read script is never run.
    EXPECT_TRUE(parseTechnicianScript("close\nbogus").script.rules.empty());
}

TEST(TechnicianScriptParse, EmptyScriptIsValid) {
    const auto r = parseTechnicianScript("# nothing to do\n   \n");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.script.rules.empty());
}

TEST(TechnicianScriptAnswers, DefaultsFollowTheKindOfBox) {
    EXPECT_EQ(defaultAnswer(Buttons::Ok), Answer::Ok);
    EXPECT_EQ(defaultAnswer(Buttons::YesNo), Answer::No);  // retry prompts: give up
    EXPECT_EQ(defaultAnswer(Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(defaultAnswer(Buttons::RetryCancel), Answer::Cancel);
    EXPECT_TRUE(answerFits(Answer::Retry, Buttons::RetryCancel));
    EXPECT_FALSE(answerFits(Answer::Yes, Buttons::Ok));
    EXPECT_FALSE(answerFits(Answer::Cancel, Buttons::YesNo));
    EXPECT_TRUE(answerFits(Answer::Cancel, Buttons::YesNoCancel));
}

}  // namespace
}  // namespace corvan::ui
