#include "plugins/boxstart/progress_window.h"

namespace corvan::boxstart {

namespace {

ui::DialogTemplate progressTemplate() {
    ui::DialogTemplate t;
    t.name = std::string(kProgressDialogName);
    t.rect = {30, 80, 260, 76};
    ui::ControlSpec bar;
    bar.id = kProgressBarId;
    bar.kind = ui::ControlKind::Progress;
    bar.rect = {10, 10, 240, 16};
    ui::ControlSpec text;
    text.id = kStageTextId;
    text.kind = ui::ControlKind::Label;
    text.rect = {10, 34, 240, 20};
    t.controls = {bar, text};
    return t;
}

}  // namespace

ProgressWindow::ProgressWindow(const ModuleContext& ctx, const std::string& title, bool visible)
    : ctx_(ctx), dialog_(ctx.screen().createDialog(progressTemplate())) {
    dialog_->setTitle(title);
    dialog_->setRange(kProgressBarId, 0, 100);
    dialog_->setProgress(kProgressBarId, 0);
    if (visible) dialog_->show(true);
}

void ProgressWindow::setText(const std::string& text) {
    if (dialog_) dialog_->setText(kStageTextId, text);
}

void ProgressWindow::setProgress(int value) {
    if (dialog_) dialog_->setProgress(kProgressBarId, value);
}

}  // namespace corvan::boxstart
