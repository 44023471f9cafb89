#include "plugins/funcmenu/menu_dialog.h"

#include "plugins/funcmenu/funcmenu_texts.h"

namespace corvan::funcmenu {

namespace {

ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    return c;
}

constexpr int kColumnWidth = 185;

}  // namespace

ui::DialogTemplate menuTemplate() {
    ui::DialogTemplate t;
    t.name = "FUNCMENU";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec list = control(kMenuListId, ui::ControlKind::ListView, {4, 4, 192, 232});
    list.fullRowSelect = true;
    list.font = {"Tahoma", 16, 800, false};
    list.headerFont = {"Tahoma", 13, 800, true};
    ui::ControlSpec power = control(kPowerValueId, ui::ControlKind::Edit, {202, 204, 114, 22});
    power.readOnly = true;
    t.controls = {
        list,
        control(kRunButtonId, ui::ControlKind::Button, {202, 8, 114, 40}),
        control(kInformationButtonId, ui::ControlKind::Button, {202, 56, 114, 40}),
        control(kExitButtonId, ui::ControlKind::Button, {202, 104, 114, 40}),
        control(kPowerLabelId, ui::ControlKind::Label, {202, 182, 114, 18}),
        power,
    };
    t.exitControl = kExitButtonId;
    return t;
}

MenuDialog::MenuDialog(const ModuleContext& ctx)
    : ctx_(ctx), dialog_(ctx.screen().createDialog(menuTemplate())) {
    ui::Dialog* d = dialog_.get();
    ui::DialogHandlers h;
    h.onRowTap = [this, d](int id, int row) {
        if (id != kMenuListId) return;
        currentRow_ = row;
        d->setCommand("SELECT");
    };
    h.onRowDoubleTap = [this, d](int id, int row) {
        if (id != kMenuListId) return;
        currentRow_ = row;
        d->setCommand("EXECUTE");
    };
    h.onButton = [this, d](int id) {
        switch (id) {
            case kRunButtonId: {
                const int row = d->selectedRow(kMenuListId);
                if (row < 0) return;
                currentRow_ = row;
                d->setCommand("EXECUTE");
                return;
            }
            case kInformationButtonId:
                d->setCommand(ctx_.screen().keyDown(kControlKey) ? "ADVANCED" : "iCOR");
                return;
            case kExitButtonId:
                d->setCommand("EXIT");
                return;
            default:
                return;
        }
    };
    h.onClose = [d] { d->setCommand("EXIT"); };
    dialog_->setHandlers(std::move(h));
    dialog_->show(false);
}

MenuDialog::~MenuDialog() {
    dialog_->setHandlers({});
    dialog_->show(false);
}

void MenuDialog::fill(const std::string& functionName, const std::vector<std::string>& rows) {
    dialog_->setTitle(ctx_.pick(kTitlePrefix) + functionName);
    dialog_->setText(kRunButtonId, ctx_.pick(kRunButton));
    dialog_->setText(kInformationButtonId, ctx_.pick(kInformationButton));
    dialog_->setText(kExitButtonId, ctx_.pick(kExitButton));
    dialog_->setText(kPowerLabelId, ctx_.pick(kPowerLabel));
    dialog_->setColumns(kMenuListId, {{ctx_.pick(kColumnHeading), kColumnWidth}});
    dialog_->clearRows(kMenuListId);
    for (const std::string& row : rows) dialog_->addRow(kMenuListId, {row});
}

}  // namespace corvan::funcmenu
