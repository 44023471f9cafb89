#include "plugins/mbservice/script_windows.h"

#include <algorithm>

#include "plugins/mbservice/script_text.h"

namespace corvan::mbservice {

namespace {

ui::ControlSpec button(int id, ui::Rect rect, std::string label) {
    return ui::makeControl(id, ui::ControlKind::Button, rect, std::move(label));
}

enum class Answer { None, Ok, Cancel };

// One window that waits for its answer: OK, Cancel or the close box.
class AnswerWindow {
  public:
    AnswerWindow(const ModuleContext& ctx, const ui::DialogTemplate& layout)
        : ctx_(ctx), dialog_(ctx.screen().createDialog(layout)) {}
    ~AnswerWindow() {
        dialog_->setHandlers({});
        dialog_->show(false);
    }
    AnswerWindow(const AnswerWindow&) = delete;
    AnswerWindow& operator=(const AnswerWindow&) = delete;

    ui::Dialog& dialog() { return *dialog_; }
    // `extra` gets the row and text events; the buttons and the close box are the window's.
    void open(const std::string& title, ui::DialogHandlers extra = {}) {
        extra.onButton = [this](int id) {
            if (id == kOkId) answer_ = Answer::Ok;
            if (id == kCancelId) answer_ = Answer::Cancel;
        };
        extra.onClose = [this] { answer_ = Answer::Cancel; };
        dialog_->setHandlers(std::move(extra));
        dialog_->setTitle(title);
        dialog_->show(true);
    }
    // Pumps until OK or Cancel; `idle` runs after every pump.
    Answer wait(const std::function<void()>& idle = {}) {
        answer_ = Answer::None;
        while (answer_ == Answer::None) {
            ctx_.pumpMessages();
            if (idle) idle();
        }
        return answer_;
    }
    void answer(Answer a) { answer_ = a; }

  private:
    const ModuleContext& ctx_;
    std::unique_ptr<ui::Dialog> dialog_;
    Answer answer_ = Answer::None;
};

}  // namespace

ui::DialogTemplate messageTemplate() {
    ui::DialogTemplate t;
    t.name = std::string(kMessageWindowName);
    t.rect = {10, 40, 300, 150};
    ui::ControlSpec text =
        ui::makeControl(kMessageTextId, ui::ControlKind::Label, {10, 10, 280, 80});
    ui::ControlSpec bar =
        ui::makeControl(kMessageProgressId, ui::ControlKind::Progress, {10, 96, 280, 14});
    bar.visible = false;
    t.controls = {text, bar, button(kCancelId, {110, 116, 80, 26}, "Cancel")};
    return t;
}

ui::DialogTemplate choiceTemplate() {
    ui::DialogTemplate t;
    t.name = std::string(kChoiceWindowName);
    t.title = std::string(kChoiceTitle);
    t.rect = {10, 10, 300, 220};
    ui::ControlSpec list =
        ui::makeControl(kChoiceListId, ui::ControlKind::ListView, {6, 6, 288, 166});
    list.font.family = "Arial";
    list.font.pixelHeight = 24;
    t.controls = {list, button(kOkId, {30, 180, 110, 30}, "OK"),
                  button(kCancelId, {160, 180, 110, 30}, "Cancel")};
    t.exitControl = kCancelId;
    return t;
}

ui::DialogTemplate inputTemplate() {
    ui::DialogTemplate t;
    t.name = std::string(kInputWindowName);
    t.rect = {20, 50, 280, 130};
    t.controls = {ui::makeControl(kPromptId, ui::ControlKind::Label, {10, 8, 260, 40}),
                  ui::makeControl(kTextFieldId, ui::ControlKind::Edit, {10, 52, 260, 24}),
                  button(kOkId, {30, 90, 100, 28}, "OK"),
                  button(kCancelId, {150, 90, 100, 28}, "Cancel")};
    t.exitControl = kCancelId;
    return t;
}

ui::DialogTemplate codeTemplate(int length) {
    ui::DialogTemplate t = inputTemplate();
    t.name = std::string(kCodeWindowName);
    ui::ControlSpec alpha =
        ui::makeControl(kCodeAlphaFieldId, ui::ControlKind::Edit, {10, 52, 260, 24});
    alpha.upperCase = true;
    alpha.maxLength = std::max(length, 0);
    ui::ControlSpec digits = alpha;
    digits.id = kCodeDigitsFieldId;
    digits.upperCase = false;
    digits.digitsOnly = true;
    t.controls[1] = alpha;
    t.controls.insert(t.controls.begin() + 2, digits);
    return t;
}

MessageWindow::MessageWindow(const ModuleContext& ctx)
    : ctx_(ctx), dialog_(ctx.screen().createDialog(messageTemplate())) {
    dialog_->setTitle("");
    dialog_->setRange(kMessageProgressId, 0, 100);
}

MessageWindow::~MessageWindow() {
    dialog_->show(false);
}

void MessageWindow::show(const std::string& text) {
    dialog_->setText(kMessageTextId, text);
    dialog_->show(true);
    ctx_.pumpMessages();  // repaint now: the next statement may keep the line busy
}

void MessageWindow::setProgress(int position) {
    // The bar clamps to its range as the platform's does.
    dialog_->setProgress(kMessageProgressId, std::clamp(position, 0, 100));
    dialog_->setControlVisible(kMessageProgressId, true);
}

void MessageWindow::hide() {
    dialog_->setControlVisible(kMessageProgressId, false);
    dialog_->show(false);
}

bool MessageWindow::hideForCall() {
    const bool visible = dialog_->isVisible();
    if (visible) dialog_->show(false);
    return visible;
}

void MessageWindow::showAfterCall(bool wasVisible) {
    if (wasVisible) dialog_->show(true);
}

std::optional<int> chooseRow(const ModuleContext& ctx, const std::vector<std::string>& rows) {
    AnswerWindow window(ctx, choiceTemplate());
    ui::Dialog& d = window.dialog();
    d.setColumns(kChoiceListId, {{std::string(kOptionsHeading[0]), choiceColumnWidth(rows)}});
    for (const std::string& row : rows) d.addRow(kChoiceListId, {row});
    d.setEnabled(kOkId, false);
    ui::DialogHandlers h;
    h.onRowTap = [&d](int, int) { d.setEnabled(kOkId, true); };
    h.onRowDoubleTap = [&window](int, int) { window.answer(Answer::Ok); };
    window.open(std::string(kChoiceTitle), std::move(h));
    if (window.wait() != Answer::Ok) return std::nullopt;
    const int row = d.selectedRow(kChoiceListId);
    if (row < 0 || row >= static_cast<int>(rows.size())) return std::nullopt;
    return row;
}

std::optional<std::string> askText(const ModuleContext& ctx, const std::string& prompt) {
    AnswerWindow window(ctx, inputTemplate());
    window.dialog().setText(kPromptId, prompt);
    window.open("");
    if (window.wait() != Answer::Ok) return std::nullopt;
    return window.dialog().text(kTextFieldId);
}

std::optional<std::string> enterCode(const ModuleContext& ctx, const std::string& prompt,
                                     int length, bool alphanumeric) {
    AnswerWindow window(ctx, codeTemplate(length));
    ui::Dialog& d = window.dialog();
    const int field = alphanumeric ? kCodeAlphaFieldId : kCodeDigitsFieldId;
    d.setControlVisible(alphanumeric ? kCodeDigitsFieldId : kCodeAlphaFieldId, false);
    d.setText(kPromptId, prompt);
    d.setEnabled(kOkId, false);
    window.open("");
    const auto complete = [&] {
        const size_t have = characterCount(d.text(field));
        d.setEnabled(kOkId, length >= 0 && have == static_cast<size_t>(length));
    };
    for (;;) {
        if (window.wait(complete) != Answer::Ok) return std::nullopt;
        const std::string entry = d.text(field);
        // OK counts only for a complete entry, even if the field changed in the same pump.
        if (characterCount(entry) != static_cast<size_t>(std::max(length, 0))) continue;
        const bool digitsOnly =
            std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (alphanumeric || digitsOnly) return entry;
        // Something other than digits got into the field: tell the technician what is asked.
        ctx.messageBox(prompt);
        d.setText(field, "");
        complete();
    }
}

}  // namespace corvan::mbservice
