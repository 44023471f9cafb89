#pragma once
// Technician scripts: what a technician would do in front of the terminal, written as one
// rule per line, so that headless runs (tests, ecor-run) can answer message boxes, tap rows,
// type and press buttons. The grammar is documented in docs/technician-scripts.md.
#include <string>
#include <string_view>
#include <vector>

#include "ui/screen.h"

namespace corvan::ui {

enum class ActionKind {
    Answer,  // message box rule
    Press,
    Tap,
    DoubleTap,
    Type,
    Check,
    Uncheck,
    Choose,  // drop-down item, or radio choice
    HoldControl,
    ReleaseControl,
    Close,
    Dump,
};

enum class ConditionKind { None, Title, Text, Rows };
enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct ScriptCondition {
    ConditionKind kind = ConditionKind::None;
    std::string text;  // Title, Text: the part to look for
    int id = 0;        // Text, Rows: the control
    CompareOp op = CompareOp::Equal;
    int count = 0;  // Rows
};

struct ScriptAction {
    ActionKind kind = ActionKind::Press;
    std::string text;   // box text part, label, cell or item text, text to type
    int id = 0;         // the control named with #id (press, type, check, choose, tap ... in)
    bool byId = false;  // press #id, choose #id, tap/doubletap ... in #id
    int row = -1;       // tap row N, doubletap row N (0-based, as in the dump)
    Answer answer = Answer::Ok;
};

struct ScriptRule {
    int line = 0;
    std::string source;  // the rule as written, for reports
    long after = 0;      // pumps that must go by after the rule became current
    ScriptCondition when;
    ScriptAction action;
};

struct TechnicianScript {
    std::vector<ScriptRule> rules;
};

struct ScriptParseResult {
    TechnicianScript script;
    std::string error;  // "line N: ..." or empty
    bool ok() const { return error.empty(); }
};

ScriptParseResult parseTechnicianScript(std::string_view text);

bool compareCount(int value, CompareOp op, int count);

// The answer a box gets when no rule answers it: OK boxes Ok; questions (the retry prompts
// among them) No; Yes/No/Cancel and Retry/Cancel boxes Cancel.
Answer defaultAnswer(Buttons buttons);
bool answerFits(Answer answer, Buttons buttons);

}  // namespace corvan::ui
