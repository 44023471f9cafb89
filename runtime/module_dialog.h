#pragma once
// The dialog of a module and its loop. The dialog is modeless, titled with the module's
// prefix and the function name, and visible only in the modes "EXE" and "DEMO". Its buttons
// only set a command word; the module's own loop pumps window messages and acts on the word
// until it is "EXIT". The window is destroyed when the object goes.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"
#include "ui/screen.h"

namespace corvan {

inline constexpr std::string_view kExitCommand = "EXIT";

class ModuleDialog {
  public:
    // The template's exit control and the window's close box set "EXIT".
    ModuleDialog(const ModuleContext& ctx, const ui::DialogTemplate& layout,
                 std::string_view titlePrefix, std::string_view functionName);
    ~ModuleDialog();
    ModuleDialog(const ModuleDialog&) = delete;
    ModuleDialog& operator=(const ModuleDialog&) = delete;

    ui::Dialog& dialog() { return *dialog_; }
    const ui::Dialog& dialog() const { return *dialog_; }

    // Pressing button `id` sets `word`.
    void bindButton(int id, std::string word);
    // Further handlers (row taps, selections, buttons not bound with bindButton); bound
    // buttons and the close box keep their words.
    void setHandlers(ui::DialogHandlers extra);

    const std::string& command() const { return dialog_->command(); }
    void setCommand(std::string word) { dialog_->setCommand(std::move(word)); }
    void clearCommand() { dialog_->clearCommand(); }

    // The loop: each pass pumps messages, calls `idle` (if given), then, when the word is
    // neither empty nor "EXIT", calls `act` with it; `act` returns true when it is done with
    // the word (it is then cleared) and false to see it again on the next pass. Ends when
    // the word is "EXIT" (which `act` or `idle` may also set).
    void run(const std::function<bool(const std::string& word)>& act,
             const std::function<void()>& idle = {});

    // A caller hides its dialog while a plug-in it calls shows its own, then shows it again
    // (only if it was visible before).
    void hideForCall();
    void showAfterCall();

  private:
    void installHandlers();

    const ModuleContext& ctx_;
    std::unique_ptr<ui::Dialog> dialog_;
    std::map<int, std::string> words_;
    ui::DialogHandlers extra_;
    bool hiddenForCall_ = false;
};

}  // namespace corvan
