#include "ui/headless_screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace corvan::ui {

namespace {
// A module that reports the same mistake on every pass must not fill the memory.
constexpr size_t kMaxProblems = 200;
}  // namespace

bool RunReport::clean() const {
    return abandoned.empty() && forcedCloses.empty() && unusedRules.empty() && problems.empty();
}

std::string RunReport::text() const {
    std::string out;
    for (const auto& a : abandoned)
        out += "rule at line " + std::to_string(a.line) + " abandoned after " +
               std::to_string(a.pumps) + " pumps (" + a.reason + "): " + a.source + "\n";
    for (const auto& u : unusedRules) out += "rule never ran, " + u + "\n";
    for (const auto& f : forcedCloses)
        out += "forced close of " + dumpName(f.dialog) + " " + quoteText(f.title) + " (" + f.how +
               ") at pump " + std::to_string(f.pump) + "\n";
    for (const auto& p : problems) out += "problem: " + p + "\n";
    return out;
}

HeadlessScreen::HeadlessScreen() = default;

HeadlessScreen::HeadlessScreen(TechnicianScript script, ScriptLimits limits)
    : runner_(std::move(script), limits) {}

HeadlessScreen::~HeadlessScreen() {
    for (HeadlessDialog* d : dialogs_) d->detach();
}

void HeadlessScreen::setScript(TechnicianScript script, ScriptLimits limits) {
    runner_ = ScriptRunner(std::move(script), limits);
}

std::string HeadlessScreen::loadScript(std::string_view text, ScriptLimits limits) {
    ScriptParseResult parsed = parseTechnicianScript(text);
    if (!parsed.ok()) return parsed.error;
    setScript(std::move(parsed.script), limits);
    return {};
}

void HeadlessScreen::setDumpStream(std::ostream& out) {
    sink_ = [&out](std::string_view text) { out << text; };
}

void HeadlessScreen::writeDump(std::string_view text) {
    if (sink_) sink_(text);
}

std::unique_ptr<Dialog> HeadlessScreen::createDialog(const DialogTemplate& t) {
    return std::make_unique<HeadlessDialog>(this, t);
}

void HeadlessScreen::dialogCreated(HeadlessDialog* d) {
    dialogs_.push_back(d);
}

void HeadlessScreen::dialogDestroyed(HeadlessDialog* d) {
    recordSnapshot(*d, "destroyed");
    std::erase(dialogs_, d);
}

void HeadlessScreen::dumpDialog(const Dialog& dialog, std::string reason) {
    if (const auto* d = dynamic_cast<const HeadlessDialog*>(&dialog))
        recordSnapshot(*d, std::move(reason));
}

void HeadlessScreen::recordSnapshot(const HeadlessDialog& d, std::string reason) {
    snapshots_.push_back(d.snapshot(std::move(reason)));
    writeDump(formatSnapshot(snapshots_.back()));
}

const DialogSnapshot* HeadlessScreen::lastSnapshot(std::string_view name) const {
    for (auto it = snapshots_.rbegin(); it != snapshots_.rend(); ++it)
        if (it->name == name) return &*it;
    return nullptr;
}

Answer HeadlessScreen::messageBox(const std::string& text, const std::string& title,
                                  Buttons buttons, Icon icon) {
    countActivity();
    MessageBoxRecord box;
    box.number = static_cast<int>(boxes_.size()) + 1;
    box.text = text;
    box.title = title;
    box.buttons = buttons;
    box.icon = icon;
    box.answer = defaultAnswer(buttons);
    if (const auto scripted = runner_.answer(*this, text, buttons, pumps_)) {
        box.answer = scripted->answer;
        box.byDefault = false;
        box.ruleLine = scripted->line;
    }
    boxes_.push_back(box);
    writeDump(formatMessageBox(box));
    return box.answer;
}

void HeadlessScreen::pumpMessages() {
    // A handler that pumps (it should not) must not run the script inside itself.
    if (inPump_) return;
    inPump_ = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{inPump_};
    ++pumps_;
    countActivity();
    runner_.pump(*this, pumps_);
    if (pumpHook_) pumpHook_(*this);
}

void HeadlessScreen::countActivity() {
    if (++activity_ <= runner_.limits().maxPumps) return;
    const RunReport r = report();
    if (runaway_) runaway_(r);
    std::fprintf(stderr, "headless screen: run stopped after %ld pumps and boxes\n%s",
                 activity_ - 1, r.text().c_str());
    std::abort();
}

bool HeadlessScreen::keyDown(int virtualKey) const {
    return std::find(keysDown_.begin(), keysDown_.end(), virtualKey) != keysDown_.end();
}

void HeadlessScreen::setKeyDown(int virtualKey, bool down) {
    std::erase(keysDown_, virtualKey);
    if (down) keysDown_.push_back(virtualKey);
}

std::vector<HeadlessDialog*> HeadlessScreen::visibleDialogs() const {
    std::vector<HeadlessDialog*> out;
    for (HeadlessDialog* d : dialogs_)
        if (d->isVisible()) out.push_back(d);
    std::stable_sort(out.begin(), out.end(), [](const HeadlessDialog* a, const HeadlessDialog* b) {
        return a->showOrder() > b->showOrder();
    });
    return out;
}

HeadlessDialog* HeadlessScreen::topDialog() const {
    const auto visible = visibleDialogs();
    return visible.empty() ? nullptr : visible.front();
}

HeadlessDialog* HeadlessScreen::findDialog(std::string_view name) const {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->name() == name) return *it;
    return nullptr;
}

void HeadlessScreen::noteProblem(std::string problem) {
    if (problems_.size() >= kMaxProblems) return;
    if (std::find(problems_.begin(), problems_.end(), problem) != problems_.end()) return;
    problems_.push_back(std::move(problem));
}

RunReport HeadlessScreen::report() const {
    RunReport r;
    r.abandoned = runner_.abandoned();
    r.forcedCloses = runner_.forcedCloses();
    for (const ScriptRule* rule : runner_.unusedRules())
        r.unusedRules.push_back("line " + std::to_string(rule->line) + ": " + rule->source);
    r.problems = problems_;
    return r;
}

}  // namespace corvan::ui
