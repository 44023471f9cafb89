#include "runtime/module_dialog.h"

namespace corvan {

ModuleDialog::ModuleDialog(const ModuleContext& ctx, const ui::DialogTemplate& layout,
                           std::string_view titlePrefix, std::string_view functionName)
    : ctx_(ctx), dialog_(ctx.screen().createDialog(layout)) {
    if (layout.exitControl != 0) words_[layout.exitControl] = std::string(kExitCommand);
    installHandlers();
    std::string title(titlePrefix);
    title += functionName;
    dialog_->setTitle(title);
    // In "REPORT" (and any other word) the module works without the technician.
    if (ctx.showsDialog()) dialog_->show(true);
}

ModuleDialog::~ModuleDialog() {
    dialog_->setHandlers({});
    dialog_->show(false);
}

void ModuleDialog::bindButton(int id, std::string word) {
    words_[id] = std::move(word);
    installHandlers();
}

void ModuleDialog::setHandlers(ui::DialogHandlers extra) {
    extra_ = std::move(extra);
    installHandlers();
}

void ModuleDialog::installHandlers() {
    ui::DialogHandlers h = extra_;
    ui::Dialog* d = dialog_.get();
    h.onButton = [this, d](int id) {
        const auto it = words_.find(id);
        if (it != words_.end())
            d->setCommand(it->second);
        else if (extra_.onButton)
            extra_.onButton(id);
    };
    h.onClose = [d] { d->setCommand(std::string(kExitCommand)); };
    dialog_->setHandlers(std::move(h));
}

void ModuleDialog::run(const std::function<bool(const std::string&)>& act,
                       const std::function<void()>& idle) {
    for (;;) {
        ctx_.pumpMessages();
        if (idle) idle();
        const std::string word = dialog_->command();
        if (word == kExitCommand) return;
        if (!word.empty() && act(word) && dialog_->command() == word) dialog_->clearCommand();
    }
}

void ModuleDialog::hideForCall() {
    hiddenForCall_ = dialog_->isVisible();
    if (hiddenForCall_) dialog_->show(false);
}

void ModuleDialog::showAfterCall() {
    if (hiddenForCall_) dialog_->show(true);
    hiddenForCall_ = false;
}

}  // namespace corvan
