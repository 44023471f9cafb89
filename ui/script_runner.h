#pragma once
// Runs a technician script against the headless screen: one due action per pump, answers for
// message boxes, and the guarantees that a headless run always ends (rules that never find
// their target are abandoned, a dialog left pumping after the script is done is closed).
#include <optional>
#include <string>
#include <vector>

#include "ui/screen.h"
#include "ui/technician_script.h"

namespace corvan::ui {

class HeadlessScreen;
class HeadlessDialog;

struct ScriptLimits {
    long abandonAfter = 20000;   // pumps a due rule may wait for its target or condition
    long idleCloseAfter = 2000;  // pumps with no rule left before the top dialog is closed
    long maxPumps = 10'000'000;  // pumps and boxes of a whole run before it is stopped
};

struct AbandonedRule {
    int line = 0;
    std::string source;
    long pumps = 0;  // pumps it waited
    std::string reason;
};

struct ForcedClose {
    std::string dialog;  // the template's name
    std::string title;
    std::string how;  // "pressed #N" or "closed"
    long pump = 0;
};

struct FiredRule {
    int line = 0;
    std::string dialog;  // the dialog acted on; empty for boxes and key actions
    long pump = 0;       // pump number; for answers the pumps so far
};

struct ScriptAnswer {
    Answer answer = Answer::Ok;
    int line = 0;
};

class ScriptRunner {
  public:
    ScriptRunner() = default;
    ScriptRunner(TechnicianScript script, ScriptLimits limits);

    const ScriptLimits& limits() const { return limits_; }

    // One pump of the screen (pumpNumber counts from 1).
    void pump(HeadlessScreen& screen, long pumpNumber);
    // The rule that answers a box, if any; consumes it.
    std::optional<ScriptAnswer> answer(HeadlessScreen& screen, std::string_view text,
                                       Buttons buttons, long pumpNumber);

    bool finished() const { return current_ >= script_.rules.size(); }
    std::vector<const ScriptRule*> unusedRules() const;
    const std::vector<AbandonedRule>& abandoned() const { return abandoned_; }
    const std::vector<ForcedClose>& forcedCloses() const { return forcedCloses_; }
    const std::vector<FiredRule>& fired() const { return fired_; }

  private:
    void advance();
    void markUsed(size_t index, std::string dialog, long pumpNumber);
    bool fire(HeadlessScreen& screen, const ScriptRule& rule, HeadlessDialog*& target,
              std::string& dialog);
    static bool act(HeadlessDialog& d, const ScriptAction& a);
    void forceClose(HeadlessScreen& screen, long pumpNumber);

    TechnicianScript script_;
    ScriptLimits limits_;
    std::vector<bool> used_;
    size_t current_ = 0;
    long waited_ = 0;  // pumps gone by since the current rule became current
    long idle_ = 0;    // pumps gone by with no rule left
    std::string lastMiss_;
    std::vector<AbandonedRule> abandoned_;
    std::vector<ForcedClose> forcedCloses_;
    std::vector<FiredRule> fired_;
};

}  // namespace corvan::ui
