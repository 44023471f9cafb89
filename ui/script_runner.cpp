#include "ui/script_runner.h"

#include <algorithm>

#include "ui/headless_screen.h"

namespace corvan::ui {

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool holds(const ScriptCondition& cond, const HeadlessDialog& d) {
    switch (cond.kind) {
        case ConditionKind::None:
            return true;
        case ConditionKind::Title:
            return contains(d.title(), cond.text);
        case ConditionKind::Text: {
            const ControlState* c = d.control(cond.id);
            return c && contains(c->shownText(), cond.text);
        }
        case ConditionKind::Rows: {
            const ControlState* c = d.control(cond.id);
            return c && c->kind == ControlKind::ListView &&
                   compareCount(static_cast<int>(c->rows.size()), cond.op, cond.count);
        }
    }
    return false;
}

bool anyHolds(const ScriptCondition& cond, const std::vector<HeadlessDialog*>& dialogs) {
    if (cond.kind == ConditionKind::None) return true;
    for (const HeadlessDialog* d : dialogs)
        if (holds(cond, *d)) return true;
    return false;
}

// The row a tap or double tap aims at: by number or by a cell text the technician can see,
// in the list named with "in #id" or in the first list of the dialog that has it.
bool tapTarget(const HeadlessDialog& d, const ScriptAction& a, int& listId, int& row) {
    for (const ControlState& c : d.controls()) {
        if (c.kind != ControlKind::ListView || !c.visible || !c.enabled) continue;
        if (a.byId && c.id != a.id) continue;
        row = a.row >= 0 ? (a.row < static_cast<int>(c.rows.size()) ? a.row : -1)
                         : d.findRow(c, a.text);
        if (row >= 0) {
            listId = c.id;
            return true;
        }
    }
    return false;
}

bool chooseRadioByLabel(HeadlessDialog& d, std::string_view label) {
    for (const bool exact : {true, false})
        for (const ControlState& c : d.controls())
            if (c.kind == ControlKind::Radio && c.visible && c.enabled &&
                (exact ? c.text == label : contains(c.text, label)))
                return d.chooseRadio(c.id);
    return false;
}

// The text as a script writes it between quotes.
std::string scriptQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
            case '\\':
                out += '\\';
                out += c;
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out + '"';
}

// The rule as the dump shows it: typing into a secret field (a PIN) is written with the
// typed text masked as the field shows it, so no dump keeps the secret.
std::string shownSource(const ScriptRule& rule, const HeadlessDialog* target) {
    if (rule.action.kind != ActionKind::Type || !target) return rule.source;
    const ControlState* field = target->control(rule.action.id);
    if (!field || !field->secret) return rule.source;
    const std::string typed = scriptQuoted(rule.action.text);
    const std::string masked = "\"" + maskSecret(field->text) + "\"";
    std::string out = rule.source;
    bool replaced = false;
    for (size_t at = out.find(typed); at != std::string::npos;
         at = out.find(typed, at + masked.size())) {
        out.replace(at, typed.size(), masked);
        replaced = true;
    }
    // Written with escapes of its own: the rule's gist only.
    return replaced ? out : "type " + masked + " into #" + std::to_string(rule.action.id);
}

}  // namespace

ScriptRunner::ScriptRunner(TechnicianScript script, ScriptLimits limits)
    : script_(std::move(script)), limits_(limits), used_(script_.rules.size(), false) {}

void ScriptRunner::advance() {
    while (current_ < script_.rules.size() && used_[current_]) ++current_;
}

void ScriptRunner::markUsed(size_t index, std::string dialog, long pumpNumber) {
    used_[index] = true;
    fired_.push_back({script_.rules[index].line, std::move(dialog), pumpNumber});
    idle_ = 0;
    if (index == current_) {
        advance();
        waited_ = 0;
    }
}

std::vector<const ScriptRule*> ScriptRunner::unusedRules() const {
    std::vector<const ScriptRule*> out;
    for (size_t i = 0; i < script_.rules.size(); ++i)
        if (!used_[i]) out.push_back(&script_.rules[i]);
    return out;
}

void ScriptRunner::pump(HeadlessScreen& screen, long pumpNumber) {
    advance();
    if (finished()) {
        if (++idle_ >= limits_.idleCloseAfter) {
            forceClose(screen, pumpNumber);
            idle_ = 0;
        }
        return;
    }
    const ScriptRule& rule = script_.rules[current_];
    if (rule.action.kind != ActionKind::Answer && waited_ >= rule.after) {
        HeadlessDialog* target = nullptr;
        std::string dialog;
        if (fire(screen, rule, target, dialog)) {
            screen.writeDump("rule " + std::to_string(rule.line) + " on " + dumpName(dialog) +
                             " at pump " + std::to_string(pumpNumber) + ": " +
                             shownSource(rule, target) + "\n");
            // A dump follows the line of the rule that asked for it.
            if (rule.action.kind == ActionKind::Dump && target)
                screen.dumpDialog(*target, "script");
            markUsed(current_, dialog, pumpNumber);
            return;
        }
    }
    if (rule.action.kind == ActionKind::Answer) lastMiss_ = "no message box with its text";
    if (++waited_ < rule.after + limits_.abandonAfter) return;
    abandoned_.push_back({rule.line, rule.source, waited_, lastMiss_});
    screen.writeDump("rule " + std::to_string(rule.line) + " abandoned at pump " +
                     std::to_string(pumpNumber) + " after " + std::to_string(waited_) + " pumps (" +
                     lastMiss_ + "): " + rule.source + "\n");
    used_[current_] = true;
    advance();
    waited_ = 0;
}

bool ScriptRunner::fire(HeadlessScreen& screen, const ScriptRule& rule, HeadlessDialog*& target,
                        std::string& dialog) {
    const auto visible = screen.visibleDialogs();
    const ScriptAction& a = rule.action;
    if (a.kind == ActionKind::HoldControl || a.kind == ActionKind::ReleaseControl) {
        if (!anyHolds(rule.when, visible)) {
            lastMiss_ = "its condition never held";
            return false;
        }
        screen.setKeyDown(kControlKey, a.kind == ActionKind::HoldControl);
        return true;
    }
    bool conditionHeld = false;
    for (HeadlessDialog* d : visible) {
        if (!holds(rule.when, *d)) continue;
        conditionHeld = true;
        dialog = d->name();  // before acting: a handler that ends the dialog's life is wrong,
        if (act(*d, a)) {    // but must not take the backend with it
            const auto& live = screen.dialogs();
            target = std::find(live.begin(), live.end(), d) != live.end() ? d : nullptr;
            return true;
        }
    }
    lastMiss_ = visible.empty() ? "no visible dialog"
                : conditionHeld ? "no visible dialog has its target"
                                : "its condition never held";
    return false;
}

bool ScriptRunner::act(HeadlessDialog& d, const ScriptAction& a) {
    switch (a.kind) {
        case ActionKind::Press:
            return a.byId ? d.press(a.id) : d.pressLabel(a.text);
        case ActionKind::Tap:
        case ActionKind::DoubleTap: {
            int listId = 0, row = -1;
            if (!tapTarget(d, a, listId, row)) return false;
            return a.kind == ActionKind::Tap ? d.tapRow(listId, row) : d.doubleTapRow(listId, row);
        }
        case ActionKind::Type:
            return d.typeText(a.id, a.text);
        case ActionKind::Check:
            return d.setCheck(a.id, true);
        case ActionKind::Uncheck:
            return d.setCheck(a.id, false);
        case ActionKind::Choose:
            if (!a.byId) return chooseRadioByLabel(d, a.text);
            return a.text.empty() ? d.chooseRadio(a.id) : d.chooseItem(a.id, a.text);
        case ActionKind::Close:
            return d.close();
        case ActionKind::Dump:
            return true;  // written by pump(), after the rule's line
        case ActionKind::Answer:
        case ActionKind::HoldControl:
        case ActionKind::ReleaseControl:
            return false;
    }
    return false;
}

std::optional<ScriptAnswer> ScriptRunner::answer(HeadlessScreen& screen, std::string_view text,
                                                 Buttons buttons, long pumpNumber) {
    advance();
    // The current rule and the answer rules right after it may take the box, so that the
    // order of boxes shown one after the other does not have to be known exactly.
    for (size_t i = current_;
         i < script_.rules.size() && script_.rules[i].action.kind == ActionKind::Answer; ++i) {
        const ScriptRule& rule = script_.rules[i];
        if (used_[i] || waited_ < rule.after || !contains(text, rule.action.text) ||
            !anyHolds(rule.when, screen.visibleDialogs()))
            continue;
        markUsed(i, {}, pumpNumber);
        if (answerFits(rule.action.answer, buttons))
            return ScriptAnswer{rule.action.answer, rule.line};
        screen.noteProblem("rule at line " + std::to_string(rule.line) + " answers " +
                           answerName(rule.action.answer) + " to a " + buttonsName(buttons) +
                           " box; it got its default answer");
        return std::nullopt;
    }
    return std::nullopt;
}

void ScriptRunner::forceClose(HeadlessScreen& screen, long pumpNumber) {
    HeadlessDialog* d = screen.topDialog();
    if (!d && !screen.dialogs().empty()) d = screen.dialogs().back();
    if (!d) return;
    ForcedClose f{d->name(), d->title(), {}, pumpNumber};
    f.how = d->forceClose();
    screen.writeDump("forced-close " + dumpName(f.dialog) + " " + f.how + " at pump " +
                     std::to_string(pumpNumber) + "\n");
    forcedCloses_.push_back(std::move(f));
}

}  // namespace corvan::ui
