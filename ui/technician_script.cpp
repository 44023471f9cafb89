#include "ui/technician_script.h"

#include <charconv>
#include <optional>

namespace corvan::ui {

namespace {

enum class TokenKind { Word, Text, Id, Number, Op };

struct Token {
    TokenKind kind;
    std::string text;  // word in lower case, unquoted text, operator
    long number = 0;   // Id, Number
};

struct LineError {
    std::string message;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr long kMaxNumber = 1'000'000'000;

std::optional<long> parseNumber(std::string_view digits) {
    long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || value > kMaxNumber)
        return std::nullopt;
    return value;
}

// Splits one line into tokens; a '#' not followed by a digit starts a comment.
bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == '#') {
            if (i + 1 >= line.size() || !isDigit(line[i + 1])) return true;  // comment
            size_t j = i + 1;
            while (j < line.size() && isDigit(line[j])) ++j;
            const auto n = parseNumber(line.substr(i + 1, j - i - 1));
            if (!n) return error = "control id too large", false;
            tokens.push_back({TokenKind::Id, std::string(line.substr(i, j - i)), *n});
            i = j;
        } else if (c == '"') {
            std::string text;
            size_t j = i + 1;
            for (;; ++j) {
                if (j >= line.size()) return error = "text not closed with '\"'", false;
                if (line[j] == '"') break;
                if (line[j] == '\\' && j + 1 < line.size()) {
                    const char e = line[++j];
                    text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                } else {
                    text += line[j];
                }
            }
            tokens.push_back({TokenKind::Text, std::move(text), 0});
            i = j + 1;
        } else if (isDigit(c)) {
            size_t j = i;
            while (j < line.size() && isDigit(line[j])) ++j;
            const auto n = parseNumber(line.substr(i, j - i));
            if (!n) return error = "number too large", false;
            tokens.push_back({TokenKind::Number, std::string(line.substr(i, j - i)), *n});
            i = j;
        } else if (c == '=' || c == '<' || c == '>' || c == '!') {
            size_t j = i + 1;
            if (j < line.size() && line[j] == '=') ++j;
            const std::string op(line.substr(i, j - i));
            if (op == "!") return error = "unknown operator '!'", false;
            tokens.push_back({TokenKind::Op, op, 0});
            i = j;
        } else {
            size_t j = i;
            while (j < line.size() && !isBlank(line[j]) && line[j] != '"' && line[j] != '#') ++j;
            std::string word(line.substr(i, j - i));
            for (char& ch : word)
                if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
            tokens.push_back({TokenKind::Word, std::move(word), 0});
            i = j;
        }
    }
    return true;
}

// Reads the tokens of one rule; each expect* either returns the value or throws LineError,
// which never leaves this file (parseTechnicianScript turns it into the error text).
class RuleReader {
  public:
    explicit RuleReader(const std::vector<Token>& tokens) : tokens_(tokens) {}

    bool atEnd() const { return pos_ >= tokens_.size(); }
    bool nextIsWord(std::string_view w) const {
        return !atEnd() && tokens_[pos_].kind == TokenKind::Word && tokens_[pos_].text == w;
    }
    bool nextIs(TokenKind kind) const { return !atEnd() && tokens_[pos_].kind == kind; }
    bool acceptWord(std::string_view w) {
        if (!nextIsWord(w)) return false;
        ++pos_;
        return true;
    }
    void expectWord(std::string_view w, std::string_view after) {
        if (!acceptWord(w))
            fail("expected '" + std::string(w) + "' after '" + std::string(after) + "'");
    }
    std::string expectText(std::string_view after) {
        if (!nextIs(TokenKind::Text))
            fail("expected a quoted text after '" + std::string(after) + "'");
        return tokens_[pos_++].text;
    }
    int expectId(std::string_view after) {
        if (!nextIs(TokenKind::Id))
            fail("expected a control id (#N) after '" + std::string(after) + "'");
        return static_cast<int>(tokens_[pos_++].number);
    }
    long expectNumber(std::string_view after) {
        if (!nextIs(TokenKind::Number))
            fail("expected a number after '" + std::string(after) + "'");
        return tokens_[pos_++].number;
    }
    std::string expectWordAny(std::string_view what) {
        if (!nextIs(TokenKind::Word)) fail("expected " + std::string(what));
        return tokens_[pos_++].text;
    }
    CompareOp expectOp() {
        if (!nextIs(TokenKind::Op)) fail("expected one of = != < <= > >= after the rows id");
        const std::string& op = lastOp_ = tokens_[pos_++].text;
        if (op == "=" || op == "==") return CompareOp::Equal;
        if (op == "!=") return CompareOp::NotEqual;
        if (op == "<") return CompareOp::Less;
        if (op == "<=") return CompareOp::LessEqual;
        if (op == ">") return CompareOp::Greater;
        return CompareOp::GreaterEqual;
    }
    void expectEnd() {
        if (atEnd()) return;
        const Token& t = tokens_[pos_];
        fail("unexpected '" + (t.kind == TokenKind::Text ? "\"" + t.text + "\"" : t.text) +
             "' at the end of the rule");
    }
    [[noreturn]] static void fail(std::string message) { throw LineError{std::move(message)}; }

    const std::string& lastOp() const { return lastOp_; }

  private:
    const std::vector<Token>& tokens_;
    size_t pos_ = 0;
    std::string lastOp_;
};

Answer parseAnswer(const std::string& word) {
    if (word == "yes") return Answer::Yes;
    if (word == "no") return Answer::No;
    if (word == "ok") return Answer::Ok;
    if (word == "cancel") return Answer::Cancel;
    if (word == "retry") return Answer::Retry;
    RuleReader::fail("unknown answer '" + word + "' (use Yes, No, Ok, Cancel or Retry)");
}

ScriptCondition parseCondition(RuleReader& r) {
    ScriptCondition c;
    const std::string what = r.expectWordAny("title, text or rows after 'when'");
    if (what == "title") {
        c.kind = ConditionKind::Title;
        c.text = r.expectText("title");
    } else if (what == "text") {
        c.kind = ConditionKind::Text;
        c.id = r.expectId("text");
        c.text = r.expectText("text #id");
    } else if (what == "rows") {
        c.kind = ConditionKind::Rows;
        c.id = r.expectId("rows");
        c.op = r.expectOp();
        c.count = static_cast<int>(r.expectNumber(r.lastOp()));
    } else {
        RuleReader::fail("unknown condition '" + what + "' (use title, text or rows)");
    }
    return c;
}

// tap / doubletap: "<cell text>" or row N, optionally "in #id".
void parseTapTarget(RuleReader& r, ScriptAction& a, std::string_view verb) {
    if (r.acceptWord("row")) {
        a.row = static_cast<int>(r.expectNumber("row"));
    } else {
        a.text = r.expectText(verb);
    }
    if (r.acceptWord("in")) {
        a.id = r.expectId("in");
        a.byId = true;
    }
}

ScriptAction parseAction(RuleReader& r) {
    ScriptAction a;
    const std::string verb = r.expectWordAny("an action");
    if (verb == "answer") {
        a.kind = ActionKind::Answer;
        a.text = r.expectText(verb);
        a.answer = parseAnswer(r.expectWordAny("an answer (Yes, No, Ok, Cancel, Retry)"));
    } else if (verb == "press") {
        a.kind = ActionKind::Press;
        if (r.nextIs(TokenKind::Id)) {
            a.id = r.expectId(verb);
            a.byId = true;
        } else {
            a.text = r.expectText(verb);
        }
    } else if (verb == "tap" || verb == "doubletap") {
        a.kind = verb == "tap" ? ActionKind::Tap : ActionKind::DoubleTap;
        parseTapTarget(r, a, verb);
    } else if (verb == "type") {
        a.kind = ActionKind::Type;
        a.text = r.expectText(verb);
        r.expectWord("into", "type \"...\"");
        a.id = r.expectId("into");
        a.byId = true;
    } else if (verb == "check" || verb == "uncheck") {
        a.kind = verb == "check" ? ActionKind::Check : ActionKind::Uncheck;
        a.id = r.expectId(verb);
        a.byId = true;
    } else if (verb == "choose") {
        a.kind = ActionKind::Choose;
        if (r.nextIs(TokenKind::Id)) {  // choose #id: a radio choice
            a.id = r.expectId(verb);
            a.byId = true;
        } else {
            a.text = r.expectText(verb);
            if (r.acceptWord("in")) {  // a drop-down item
                a.id = r.expectId("in");
                a.byId = true;
            }
        }
    } else if (verb == "hold" || verb == "release") {
        r.expectWord("control", verb);
        a.kind = verb == "hold" ? ActionKind::HoldControl : ActionKind::ReleaseControl;
    } else if (verb == "close") {
        a.kind = ActionKind::Close;
    } else if (verb == "dump") {
        a.kind = ActionKind::Dump;
    } else {
        RuleReader::fail("unknown action '" + verb + "'");
    }
    return a;
}

ScriptRule parseRule(const std::vector<Token>& tokens) {
    RuleReader r(tokens);
    ScriptRule rule;
    if (r.acceptWord("after")) {
        rule.after = r.expectNumber("after");
        if (!r.acceptWord("pumps") && !r.acceptWord("pump"))
            RuleReader::fail("expected 'pumps' after 'after N'");
    }
    if (r.acceptWord("when")) rule.when = parseCondition(r);
    rule.action = parseAction(r);
    r.expectEnd();
    return rule;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

ScriptParseResult parseTechnicianScript(std::string_view text) {
    ScriptParseResult result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // byte-order mark
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);

        std::vector<Token> tokens;
        std::string error;
        if (!tokenize(line, tokens, error)) {
            result.error = "line " + std::to_string(lineNumber) + ": " + error;
            return result;
        }
        if (tokens.empty()) continue;
        try {
            ScriptRule rule = parseRule(tokens);
            rule.line = lineNumber;
            rule.source = std::string(trimmed(line));
            result.script.rules.push_back(std::move(rule));
        } catch (const LineError& e) {
            result.error = "line " + std::to_string(lineNumber) + ": " + e.message;
            result.script.rules.clear();
            return result;
        }
    }
    return result;
}

bool compareCount(int value, CompareOp op, int count) {
    switch (op) {
        case CompareOp::Equal:
            return value == count;
        case CompareOp::NotEqual:
            return value != count;
        case CompareOp::Less:
            return value < count;
        case CompareOp::LessEqual:
            return value <= count;
        case CompareOp::Greater:
            return value > count;
        case CompareOp::GreaterEqual:
            return value >= count;
    }
    return false;
}

Answer defaultAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::RetryCancel:
            return Answer::Cancel;
    }
    return Answer::Cancel;
}

bool answerFits(Answer answer, Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return answer == Answer::Ok;
        case Buttons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case Buttons::YesNoCancel:
            return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
        case Buttons::RetryCancel:
            return answer == Answer::Retry || answer == Answer::Cancel;
    }
    return false;
}

}  // namespace corvan::ui
