#pragma once
// The function menu's window: the list of functions, the run, information and exit buttons,
// and the power field. Its handlers only record the row and store a command word; the
// menu's own loop acts on the word.
#include <memory>
#include <string>
#include <vector>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"
#include "ui/screen.h"

namespace corvan::funcmenu {

// Control identifiers.
inline constexpr int kMenuListId = 1000;
inline constexpr int kRunButtonId = 1001;
inline constexpr int kInformationButtonId = 1002;
inline constexpr int kExitButtonId = 1003;
inline constexpr int kPowerLabelId = 1004;
inline constexpr int kPowerValueId = 1005;

// The platform's key code of the Control key: held while pressing the information button
// it opens the send/receive console instead of the information box.
inline constexpr int kControlKey = 0x11;

ui::DialogTemplate menuTemplate();

class MenuDialog {
  public:
    // Created hidden.
    explicit MenuDialog(const ModuleContext& ctx);
    ~MenuDialog();
    MenuDialog(const MenuDialog&) = delete;
    MenuDialog& operator=(const MenuDialog&) = delete;

    // Title (prefix + function name), button texts, power label, column and one row per
    // row text, in the technician's language.
    void fill(const std::string& functionName, const std::vector<std::string>& rows);

    void show(bool visible) { dialog_->show(visible); }
    bool isVisible() const { return dialog_->isVisible(); }
    void setPower(const std::string& text) { dialog_->setText(kPowerValueId, text); }

    const std::string& command() const { return dialog_->command(); }
    void setCommand(std::string word) { dialog_->setCommand(std::move(word)); }
    void clearCommand() { dialog_->clearCommand(); }
    // The row recorded by the last tap, double tap or run button; -1 before any.
    int currentRow() const { return currentRow_; }

  private:
    const ModuleContext& ctx_;
    std::unique_ptr<ui::Dialog> dialog_;
    int currentRow_ = -1;
};

}  // namespace corvan::funcmenu
