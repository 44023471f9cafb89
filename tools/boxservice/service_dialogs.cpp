#include "tools/boxservice/service_dialogs.h"

#include "platform/clock.h"

namespace corvan::boxservice {

namespace {

// Pumps until a button or the close box sets a word; returns it.
std::string waitForWord(ui::Screen& screen, Clock& clock, ui::Dialog& d) {
    for (;;) {
        screen.pumpMessages();
        if (!d.command().empty()) return d.command();
        clock.sleepMs(kIdleRestMs);
    }
}

void bindWords(ui::Dialog& d) {
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kOkId) d.setCommand("OK");
        if (id == kCancelId) d.setCommand("CANCEL");
    };
    h.onRowDoubleTap = [&d](int, int) { d.setCommand("OK"); };
    h.onClose = [&d] { d.setCommand("CLOSE"); };
    d.setHandlers(h);
}

}  // namespace

int chooseFromList(ui::Screen& screen, Clock& clock, std::string_view name,
                   const std::string& title, const std::vector<std::string>& rows) {
    ui::DialogTemplate t;
    t.name = std::string(name);
    t.title = title;
    t.rect = {10, 10, 300, 220};
    ui::ControlSpec list =
        ui::makeControl(kChoiceListId, ui::ControlKind::ListView, {6, 6, 288, 160}, "");
    list.showHeader = false;
    t.controls = {
        list, ui::makeControl(kOkId, ui::ControlKind::Button, {30, 176, 100, 34}, "OK"),
        ui::makeControl(kCancelId, ui::ControlKind::Button, {170, 176, 100, 34}, "Cancel")};
    t.exitControl = kCancelId;
    auto dialog = screen.createDialog(t);
    ui::Dialog& d = *dialog;
    d.setTitle(title);
    d.setColumns(kChoiceListId, {{"", 280}});
    for (const std::string& row : rows) d.addRow(kChoiceListId, {row});
    if (!rows.empty()) d.selectRow(kChoiceListId, 0);
    bindWords(d);
    d.show(true);
    const std::string word = waitForWord(screen, clock, d);
    const int row = word == "OK" ? d.selectedRow(kChoiceListId) : -1;
    d.setHandlers({});
    d.show(false);
    return row;
}

std::string askForText(ui::Screen& screen, Clock& clock, std::string_view name,
                       const std::string& title, const std::string& prompt) {
    ui::DialogTemplate t;
    t.name = std::string(name);
    t.title = title;
    t.rect = {10, 50, 300, 140};
    t.controls = {ui::makeControl(kPromptId, ui::ControlKind::Label, {8, 8, 284, 40}, prompt),
                  ui::makeControl(kEntryId, ui::ControlKind::Edit, {8, 54, 284, 26}, ""),
                  ui::makeControl(kOkId, ui::ControlKind::Button, {100, 92, 100, 34}, "OK")};
    t.exitControl = kOkId;
    auto dialog = screen.createDialog(t);
    ui::Dialog& d = *dialog;
    d.setTitle(title);
    bindWords(d);
    d.show(true);
    waitForWord(screen, clock, d);
    const std::string typed = d.text(kEntryId);
    d.setHandlers({});
    d.show(false);
    return typed;
}

ProgressDialog::ProgressDialog(ui::Screen& screen, const std::string& title,
                               const std::string& text)
    : screen_(screen) {
    ui::DialogTemplate t;
    t.name = "PROGRESO";
    t.title = title;
    t.rect = {20, 70, 280, 90};
    t.controls = {ui::makeControl(kProgressTextId, ui::ControlKind::Label, {8, 8, 264, 36}, text),
                  ui::makeControl(kProgressBarId, ui::ControlKind::Progress, {8, 52, 264, 22}, "")};
    dialog_ = screen.createDialog(t);
    dialog_->setTitle(title);
    dialog_->setRange(kProgressBarId, 0, 100);
    dialog_->show(true);
    screen_.pumpMessages();
}

ProgressDialog::~ProgressDialog() {
    dialog_->show(false);
}

void ProgressDialog::setText(const std::string& text) {
    dialog_->setText(kProgressTextId, text);
    screen_.pumpMessages();
}

void ProgressDialog::setProgress(int percent) {
    dialog_->setProgress(kProgressBarId, percent);
    screen_.pumpMessages();
}

}  // namespace corvan::boxservice
