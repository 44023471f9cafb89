#include "plugins/mbservice/interpreter.h"

#include <algorithm>

#include "plugins/mbservice/script_frames.h"
#include "plugins/mbservice/script_run.h"
#include "runtime/param_text.h"

namespace corvan::mbservice {

namespace {

bool isConditional(std::string_view name) {
    return name == "CASE" || name == "IFRCV" || name == "IFNOTRCV" || name == "IFCOUNT" ||
           name == "IFNOTCOUNT";
}

uint8_t low8(int value) {
    return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

const ScriptRun::Command ScriptRun::kCommands[] = {
    {"OUTPUT", &ScriptRun::output, false},
    {"INPUT", &ScriptRun::input, false},
    {"SND", &ScriptRun::send, true},
    {"GETRCV", &ScriptRun::getReceived, true},
    {"COMBO", &ScriptRun::combo, false},
    {"EXIT", &ScriptRun::exit, false},
    {"MNT", &ScriptRun::maintain, true},
    {"SLEEP", &ScriptRun::sleep, false},
    {"SHOWMSG", &ScriptRun::showMessage, false},
    {"HIDEMSG", &ScriptRun::hideMessage, false},
    {"SETSND", &ScriptRun::setFrame, true},
    {"SETSNDPOS", &ScriptRun::setFramePosition, false},
    {"QUERY", &ScriptRun::query, false},
    {"QUESTION", &ScriptRun::question, false},
    {"LABEL", &ScriptRun::label, false},
    {"JMP", &ScriptRun::jump, false},
    {"JE", &ScriptRun::jumpIfEqual, false},
    {"JNE", &ScriptRun::jumpIfNotEqual, false},
    {"JG", &ScriptRun::jumpIfGreater, false},
    {"JL", &ScriptRun::jumpIfLess, false},
    {"CMP", &ScriptRun::compare, false},
    {"MOV", &ScriptRun::move, false},
    {"INC", &ScriptRun::increment, false},
    {"DEC", &ScriptRun::decrement, false},
    {"ADD", &ScriptRun::add, false},
    {"SUB", &ScriptRun::subtract, false},
    {"AND", &ScriptRun::bitAnd, false},
    {"OR", &ScriptRun::bitOr, false},
    {"PROGRESS", &ScriptRun::progress, false},
    {"ENTERPIN", &ScriptRun::enterPin, false},
    {"COMMSTATUS", &ScriptRun::commStatus, true},
    {"LOGON", &ScriptRun::logon, true},
    {"LOGOFF", &ScriptRun::logoff, true},
    {"SETDELAY", &ScriptRun::setDelay, true},
    {"PUSH", &ScriptRun::push, false},
    {"POP", &ScriptRun::pop, false},
    {"CALL", &ScriptRun::call, false},
    {"RET", &ScriptRun::ret, false},
    {"DLL", &ScriptRun::runDll, false},
};

std::string runScript(const ModuleContext& ctx, const PluginCall& call, ScriptState& state,
                      RunLimits limits) {
    ScriptRun(ctx, call, state).run(limits);
    return {};
}

void ScriptRun::run(RunLimits limits) {
    const std::optional<size_t> begin = scriptBegin(call_.text, call_.start);
    if (!begin) return;
    pos_ = *begin;
    for (long executed = 0; limits.maxStatements <= 0 || executed < limits.maxStatements;
         ++executed) {
        ctx_.pumpMessages();
        const std::optional<Fetched> next = fetchStatement(call_.text, pos_);
        if (!next) return;
        pos_ = next->next;
        if (execute(next->statement) == Flow::Stop) return;
    }
}

// A conditional statement runs its embedded statement in its place, which may be another
// conditional: the chain is followed in a loop, each step shorter than the one before.
Flow ScriptRun::execute(std::string_view raw) {
    for (;;) {
        const Statement s(dropLeading(raw));
        if (s.text().empty()) return Flow::Stop;
        const std::string_view name = s.name();
        if (isConditional(name)) {
            const Conditional c = splitConditional(s.text());
            if (!conditionHolds(name, c, s)) return Flow::Go;
            raw = c.embedded;
            continue;
        }
        for (const Command& command : kCommands) {
            if (command.name != name) continue;
            if (command.skippedInDemo && ctx_.isDemo()) return Flow::Go;
            return (this->*command.run)(s);
        }
        // Running past the end of a script into the rest of the data ends it quietly.
        if (s.contains("ENDDATA")) return Flow::Stop;
        return stopWith(std::string(kUnknownCommand) + std::string(s.text()));
    }
}

bool ScriptRun::conditionHolds(std::string_view name, const Conditional& c,
                               const Statement& whole) const {
    if (name == "CASE") return state_.choice == readValue(c.value);
    if (name == "IFRCV") return state_.byteRcv == readValue(c.value);
    if (name == "IFNOTRCV") return state_.byteRcv != readValue(c.value);
    // IFCOUNT and IFNOTCOUNT spell the variables in capitals, anywhere in the statement.
    int32_t compared = readValue(c.value);
    if (whole.contains("csINPUT"))
        compared = readDecimal(state_.input);
    else if (whole.contains("cBYTERCV"))
        compared = state_.byteRcv;
    return (compared == state_.count) == (name == "IFCOUNT");
}

Flow ScriptRun::stopWith(std::string text) {
    ctx_.messageBox(text);
    return Flow::Stop;
}

Flow ScriptRun::jumpTo(std::string_view label) {
    const std::optional<size_t> at = findLabel(call_.text, label);
    if (!at) return Flow::Stop;
    pos_ = *at;
    return Flow::Go;
}

Flow ScriptRun::output(const Statement& s) {
    const std::string_view arg = s.quotedArgument();
    if (s.contains("\""))
        ctx_.messageBox(std::string(arg));
    else if (arg.find("csInput") != arg.npos)
        ctx_.messageBox(state_.input);
    else if (arg.find("cByteRcv") != arg.npos)
        ctx_.messageBox(formatByte(state_.byteRcv));
    else
        return stopWith(std::string(kWrongOutput));
    return Flow::Go;
}

Flow ScriptRun::input(const Statement& s) {
    std::optional<std::string> typed = askText(ctx_, std::string(s.quotedArgument()));
    if (!typed) return Flow::Stop;
    state_.input = std::move(*typed);
    return Flow::Go;
}

Flow ScriptRun::combo(const Statement& s) {
    const std::optional<int> row = chooseRow(ctx_, choiceRows(s.quotedArgument()));
    if (!row) return Flow::Stop;
    state_.choice = *row;
    return Flow::Go;
}

Flow ScriptRun::exit(const Statement&) {
    return Flow::Stop;
}

Flow ScriptRun::sleep(const Statement& s) {
    ctx_.clock().sleepMs(std::max(readDecimal(s.quotedArgument()), 0));
    return Flow::Go;
}

Flow ScriptRun::showMessage(const Statement& s) {
    window_.show(std::string(s.quotedArgument()));
    return Flow::Go;
}

Flow ScriptRun::hideMessage(const Statement&) {
    window_.hide();
    return Flow::Go;
}

Flow ScriptRun::setFrame(const Statement& s) {
    state_.frame = s.quotedArgument();
    return Flow::Go;
}

Flow ScriptRun::setFramePosition(const Statement& s) {
    const int32_t p = readDecimal(s.operand(0));
    std::string value(s.operand(1));
    if (value == "COUNT") value = formatByte(state_.count);
    if (value == "RCV") value = formatByte(state_.byteRcv);
    if (value.find("0x") == value.npos) return Flow::Stop;
    // The two digits after the "0x"; a missing one counts as 0, as when the value is read.
    std::string digits = value.substr(2, 2);
    digits.resize(2, '0');
    if (p < 0 || !writeFrameChars(state_.frame, 2 * static_cast<size_t>(p), digits))
        return stopWith(std::string(kOutsideFrame) + std::to_string(p));
    return Flow::Go;
}

Flow ScriptRun::query(const Statement& s) {
    const ui::Answer a =
        ctx_.messageBox(std::string(s.quotedArgument()), ui::Buttons::YesNo, ui::Icon::Question);
    return a == ui::Answer::Yes ? Flow::Go : Flow::Stop;
}

Flow ScriptRun::question(const Statement& s) {
    const ui::Answer a = ctx_.messageBox(std::string(s.quotedArgument()), ui::Buttons::YesNoCancel,
                                         ui::Icon::Question);
    if (a == ui::Answer::Yes) state_.choice = 1;
    if (a == ui::Answer::No) state_.choice = 0;
    return a == ui::Answer::Yes || a == ui::Answer::No ? Flow::Go : Flow::Stop;
}

Flow ScriptRun::label(const Statement&) {
    return Flow::Go;
}

Flow ScriptRun::jump(const Statement& s) {
    return jumpTo(s.quotedArgument());
}

Flow ScriptRun::jumpIfEqual(const Statement& s) {
    return state_.compare == 1 ? jumpTo(s.quotedArgument()) : Flow::Go;
}

Flow ScriptRun::jumpIfNotEqual(const Statement& s) {
    return state_.compare != 1 ? jumpTo(s.quotedArgument()) : Flow::Go;
}

Flow ScriptRun::jumpIfGreater(const Statement& s) {
    return state_.compare == 2 ? jumpTo(s.quotedArgument()) : Flow::Go;
}

Flow ScriptRun::jumpIfLess(const Statement& s) {
    return state_.compare == 0 ? jumpTo(s.quotedArgument()) : Flow::Go;
}

Flow ScriptRun::compare(const Statement& s) {
    const std::string_view var = s.operand(0);
    int current = 0;
    if (var == "COUNT")
        current = state_.count;
    else if (var == "RCV")
        current = state_.byteRcv;
    else if (var == "COMMSTATUS")
        current = state_.commStatus;
    else
        return Flow::Stop;
    const int32_t value = readValue(s.operand(1));
    state_.compare = current == value ? 1 : current > value ? 2 : 0;
    return Flow::Go;
}

Flow ScriptRun::move(const Statement& s) {
    if (s.operand(0) != "COUNT") return Flow::Stop;
    const std::string_view from = s.operand(1);
    const bool typed = from.find("csINPUT") != from.npos;
    state_.count = low8(typed ? readDecimal(state_.input) : readValue(from));
    return Flow::Go;
}

Flow ScriptRun::increment(const Statement& s) {
    if (s.quotedArgument() != "COUNT") return Flow::Stop;
    ++state_.count;
    return Flow::Go;
}

Flow ScriptRun::decrement(const Statement& s) {
    if (s.quotedArgument() != "COUNT") return Flow::Stop;
    --state_.count;
    return Flow::Go;
}

Flow ScriptRun::arithmetic(const Statement& s, int (*op)(int, int)) {
    const std::string_view var = s.operand(0);
    uint8_t* target = var == "COUNT" ? &state_.count : var == "RCV" ? &state_.byteRcv : nullptr;
    if (!target) return Flow::Stop;
    *target = low8(op(*target, readValue(s.operand(1))));
    return Flow::Go;
}

// Unsigned so that a value near the 32-bit limits wraps instead of overflowing; only the
// low 8 bits are kept anyway.
Flow ScriptRun::add(const Statement& s) {
    return arithmetic(s, [](int a, int b) { return int(unsigned(a) + unsigned(b)); });
}

Flow ScriptRun::subtract(const Statement& s) {
    return arithmetic(s, [](int a, int b) { return int(unsigned(a) - unsigned(b)); });
}

Flow ScriptRun::bitAnd(const Statement& s) {
    return arithmetic(s, [](int a, int b) { return a & b; });
}

Flow ScriptRun::bitOr(const Statement& s) {
    return arithmetic(s, [](int a, int b) { return a | b; });
}

Flow ScriptRun::progress(const Statement& s) {
    const std::string_view arg = s.quotedArgument();
    window_.setProgress(arg == "COUNT" ? state_.count : readDecimal(arg));
    return Flow::Go;
}

Flow ScriptRun::enterPin(const Statement& s) {
    const std::string prompt = dropEnds(s.operand(0));
    const std::string_view type = s.operand(1);
    const int32_t p = readDecimal(s.operand(2));
    const int32_t n = readDecimal(s.operand(3));
    // Refused before the technician types anything: a code that cannot go into FRAME.
    if (p < 0 || n < 0 || 2 * size_t(p) + entryWidth(type, size_t(n)) > kMaxFrameChars)
        return stopWith(std::string(kOutsideFrame) + std::to_string(p));
    const std::optional<std::string> entry = enterCode(ctx_, prompt, n, s.operand(4) == "ALFANUM");
    if (!entry) return Flow::Stop;
    const EncodedEntry encoded = encodeEntry(type, *entry);
    if (encoded.bad) return stopWith(std::string(kBadEntry));
    writeFrameChars(state_.frame, 2 * size_t(p), encoded.chars);
    return Flow::Go;
}

Flow ScriptRun::push(const Statement& s) {
    const std::string_view what = s.quotedArgument();
    if (state_.stack.size() >= kStackEntries) return Flow::Stop;
    if (what == "COUNT")
        state_.stack.push_back(std::to_string(state_.count));
    else if (what == "IP")
        state_.stack.push_back(std::to_string(pos_));
    else
        return Flow::Stop;
    return Flow::Go;
}

Flow ScriptRun::pop(const Statement& s) {
    return popInto(s.quotedArgument());
}

Flow ScriptRun::popInto(std::string_view what) {
    if (state_.stack.empty() || (what != "COUNT" && what != "IP")) return Flow::Stop;
    const int32_t value = readDecimal(state_.stack.back());
    state_.stack.pop_back();
    if (what == "COUNT")
        state_.count = low8(value);
    else
        pos_ = static_cast<size_t>(std::max(value, 0));
    return Flow::Go;
}

Flow ScriptRun::call(const Statement& s) {
    if (state_.stack.size() >= kStackEntries) return Flow::Stop;
    // The position already points past this statement (past the conditional holding it).
    state_.stack.push_back(std::to_string(pos_));
    return jumpTo(s.quotedArgument());
}

Flow ScriptRun::ret(const Statement&) {
    return popInto("IP");
}

}  // namespace corvan::mbservice
