#pragma once
// The headless screen: every dialog keeps its controls' state in memory, message boxes are
// answered by a technician script (or get their default answer), and a text dump records
// every box and the state of each dialog when it is destroyed. Tests, ecor-run and fast
// runs on the virtual clock use it; it needs no display and no toolkit.
//
//   ui::HeadlessScreen screen;
//   if (auto error = screen.loadScript("tap \"IDENTIFICATION\"\npress \"SELECT\"\n");
//       !error.empty()) ...
//   std::ostringstream dump;
//   screen.setDumpStream(dump);
//   ... run the module with &screen in its HostServices ...
//   screen.messageBoxes(), screen.snapshots(), screen.report()
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/headless_dialog.h"
#include "ui/screen.h"
#include "ui/screen_dump.h"
#include "ui/script_runner.h"
#include "ui/technician_script.h"

namespace corvan::ui {

constexpr int kControlKey = 0x11;

// What a run leaves to report: nothing in it means the script went as written.
struct RunReport {
    std::vector<AbandonedRule> abandoned;
    std::vector<ForcedClose> forcedCloses;
    std::vector<std::string> unusedRules;  // "line N: source" of rules that never ran
    std::vector<std::string> problems;     // module calls on missing controls, rows, ...
    bool clean() const;
    std::string text() const;
};

class HeadlessScreen : public Screen {
  public:
    HeadlessScreen();
    explicit HeadlessScreen(TechnicianScript script, ScriptLimits limits = {});
    ~HeadlessScreen() override;
    HeadlessScreen(const HeadlessScreen&) = delete;
    HeadlessScreen& operator=(const HeadlessScreen&) = delete;

    // Screen.
    std::unique_ptr<Dialog> createDialog(const DialogTemplate& t) override;
    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    void pumpMessages() override;
    bool keyDown(int virtualKey) const override;

    // The script. loadScript returns the parse error ("line N: ...") or an empty text; on an
    // error the previous script stays.
    void setScript(TechnicianScript script, ScriptLimits limits = {});
    std::string loadScript(std::string_view text, ScriptLimits limits = {});
    const ScriptRunner& runner() const { return runner_; }

    // The dump: every box as shown, every dialog when destroyed or dumped on request, the
    // rules fired, abandoned rules and forced closes, in the order they happen.
    void setDumpSink(DumpSink sink) { sink_ = std::move(sink); }
    void setDumpStream(std::ostream& out);
    void dumpDialog(const Dialog& dialog, std::string reason = "request");

    // Records kept in memory for tests.
    const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }
    const std::vector<DialogSnapshot>& snapshots() const { return snapshots_; }
    // The last snapshot of the dialog with this template name, or null.
    const DialogSnapshot* lastSnapshot(std::string_view name) const;
    RunReport report() const;
    long pumpCount() const { return pumps_; }

    // Live dialogs: in creation order; visible ones most recently shown first.
    const std::vector<HeadlessDialog*>& dialogs() const { return dialogs_; }
    std::vector<HeadlessDialog*> visibleDialogs() const;
    HeadlessDialog* topDialog() const;  // the most recently shown visible dialog
    HeadlessDialog* findDialog(std::string_view name) const;  // by template name, newest

    void setKeyDown(int virtualKey, bool down);
    // Called at the end of every pump (after the script's action): C++ tests act from here.
    void setPumpHook(std::function<void(HeadlessScreen&)> hook) { pumpHook_ = std::move(hook); }
    // Called when a run passes ScriptLimits::maxPumps; it must not return (a test throws).
    // Without one the report goes to stderr and the program aborts rather than hang.
    void setRunawayHandler(std::function<void(const RunReport&)> h) { runaway_ = std::move(h); }

    // For HeadlessDialog and the script runner.
    void dialogCreated(HeadlessDialog* d);
    void dialogDestroyed(HeadlessDialog* d);
    long nextShowOrder() { return ++showCounter_; }
    void noteProblem(std::string problem);
    void writeDump(std::string_view text);

  private:
    void countActivity();
    void recordSnapshot(const HeadlessDialog& d, std::string reason);

    ScriptRunner runner_;
    DumpSink sink_;
    std::vector<HeadlessDialog*> dialogs_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<DialogSnapshot> snapshots_;
    std::vector<std::string> problems_;
    std::vector<int> keysDown_;
    std::function<void(HeadlessScreen&)> pumpHook_;
    std::function<void(const RunReport&)> runaway_;
    long pumps_ = 0;
    long activity_ = 0;
    long showCounter_ = 0;
    bool inPump_ = false;
};

}  // namespace corvan::ui
