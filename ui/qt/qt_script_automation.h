#pragma once
// A technician script on the Qt screens. Every Qt dialog gets a headless twin that holds a
// copy of what the Qt dialog shows; the script runs on the twins exactly as in a headless run
// (same rules, same waiting, abandoning and forced closes, same dump), and each action it
// takes on a twin is done again on the Qt widgets, so the module hears it from Qt.
//
//     ScriptAutomation script(parsed.script);
//     QtScreen screen(QtScreenOptions{.automation = &script});
//     ... run the module ...
//     script.twins().report()
#include <memory>
#include <vector>

#include "ui/headless_screen.h"
#include "ui/qt/qt_automation.h"

namespace corvan::ui::qt {

class ScriptAutomation final : public QtAutomation {
  public:
    explicit ScriptAutomation(TechnicianScript script, ScriptLimits limits = {});
    ~ScriptAutomation() override;

    // The headless screen of the twins: its dump (setDumpStream), message-box records,
    // snapshots and run report are those of the Qt run.
    HeadlessScreen& twins() { return twins_; }

    std::optional<Answer> answer(const MessageBoxRequest& box) override;
    void act(const std::vector<QtDialog*>& shown) override;
    bool keyDown(int virtualKey) const override { return twins_.keyDown(virtualKey); }
    void dialogCreated(QtDialog* dialog) override;
    void dialogDestroyed(QtDialog* dialog) override;

  private:
    struct Twin {
        QtDialog* qt;
        std::unique_ptr<Dialog> headless;
        long shownAs = 0;  // the Qt dialog's show order when last copied
    };

    void syncAll();

    HeadlessScreen twins_;
    std::vector<Twin> pairs_;  // in creation order
};

// Copies what `from` shows into `to`, control by control of the template: texts, states,
// rows, items, progress, pictures, title and visibility.
void copyDialogState(const QtDialog& from, Dialog& to);

}  // namespace corvan::ui::qt
