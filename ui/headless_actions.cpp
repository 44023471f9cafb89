// The technician's actions on a headless dialog and the lookups the scripts use. Each action
// changes the control as the touch screen would and then calls the handler the toolkit would
// call; what the handler does (normally: store a command word) is the module's business.
#include "ui/control_state.h"
#include "ui/headless_dialog.h"

namespace corvan::ui {

namespace {

// A picture takes a tap like a button (the shell's connector picture opens a larger one).
bool pressable(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::CheckBox ||
           kind == ControlKind::Radio || kind == ControlKind::Picture;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace

ControlState* HeadlessDialog::actionable(int id) {
    if (!visible_) return nullptr;
    for (auto& c : controls_)
        if (c.id == id) return c.enabled && c.visible ? &c : nullptr;
    return nullptr;
}

const ControlState* HeadlessDialog::findPressable(std::string_view label) const {
    for (const bool exact : {true, false})
        for (const auto& c : controls_)
            if (pressable(c.kind) && c.visible && c.enabled &&
                (exact ? c.text == label : contains(c.text, label)))
                return &c;
    return nullptr;
}

int HeadlessDialog::findRow(const ControlState& list, std::string_view cellText) const {
    for (const bool exact : {true, false})
        for (size_t r = 0; r < list.rows.size(); ++r) {
            const auto& cells = list.rows[r].cells;
            for (size_t k = 0; k < cells.size(); ++k)
                if (list.columnShown(k) &&
                    (exact ? cells[k] == cellText : contains(cells[k], cellText)))
                    return static_cast<int>(r);
        }
    return -1;
}

const ControlState* HeadlessDialog::firstList() const {
    for (const auto& c : controls_)
        if (c.kind == ControlKind::ListView && c.visible && c.enabled) return &c;
    return nullptr;
}

bool HeadlessDialog::press(int id) {
    ControlState* c = actionable(id);
    if (!c || !pressable(c->kind)) return false;
    if (c->kind == ControlKind::Radio) return chooseRadio(id);
    if (c->kind == ControlKind::CheckBox) c->checked = !c->checked;
    if (auto h = handlers_.onButton) h(id);
    return true;
}

bool HeadlessDialog::pressLabel(std::string_view label) {
    const ControlState* c = visible_ ? findPressable(label) : nullptr;
    return c && press(c->id);
}

bool HeadlessDialog::tapRow(int listId, int row) {
    ControlState* c = actionable(listId);
    if (!c || c->kind != ControlKind::ListView || row < 0 ||
        row >= static_cast<int>(c->rows.size()))
        return false;
    c->selectedRow = row;
    if (auto h = handlers_.onRowTap) h(listId, row);
    return true;
}

bool HeadlessDialog::doubleTapRow(int listId, int row) {
    ControlState* c = actionable(listId);
    if (!c || c->kind != ControlKind::ListView || row < 0 ||
        row >= static_cast<int>(c->rows.size()))
        return false;
    c->selectedRow = row;
    if (auto h = handlers_.onRowDoubleTap) h(listId, row);
    return true;
}

bool HeadlessDialog::typeText(int editId, std::string_view typed) {
    ControlState* c = actionable(editId);
    if (!c || c->kind != ControlKind::Edit) return false;
    const ControlSpec* spec = nullptr;
    for (const ControlSpec& s : layout_.controls)
        if (s.id == editId && !spec) spec = &s;
    if (!spec || spec->readOnly) return false;
    c->text = filterTypedText(*spec, typed);
    if (auto h = handlers_.onTextChange) h(editId);
    return true;
}

bool HeadlessDialog::setCheck(int checkBoxId, bool checked) {
    ControlState* c = actionable(checkBoxId);
    if (!c || c->kind != ControlKind::CheckBox) return false;
    if (c->checked == checked) return true;
    return press(checkBoxId);
}

bool HeadlessDialog::chooseRadio(int radioId) {
    ControlState* c = actionable(radioId);
    if (!c || c->kind != ControlKind::Radio) return false;
    setChecked(radioId, true);
    if (auto h = handlers_.onSelectionChange) h(radioId);
    return true;
}

bool HeadlessDialog::chooseItem(int comboId, int index) {
    ControlState* c = actionable(comboId);
    if (!c || c->kind != ControlKind::ComboBox || index < 0 ||
        index >= static_cast<int>(c->items.size()))
        return false;
    c->currentItem = index;
    if (auto h = handlers_.onSelectionChange) h(comboId);
    return true;
}

bool HeadlessDialog::chooseItem(int comboId, std::string_view itemText) {
    const ControlState* c = find(comboId);
    if (!c) return false;
    for (const bool exact : {true, false})
        for (size_t i = 0; i < c->items.size(); ++i)
            if (exact ? c->items[i] == itemText : contains(c->items[i], itemText))
                return chooseItem(comboId, static_cast<int>(i));
    return false;
}

bool HeadlessDialog::close() {
    if (!visible_) return false;
    if (auto h = handlers_.onClose) h();
    return true;
}

std::string HeadlessDialog::forceClose() {
    const int exitId = layout_.exitControl;
    const ControlState* exit = exitId != 0 ? find(exitId) : nullptr;
    if (exit && exit->enabled && pressable(exit->kind)) {
        if (auto h = handlers_.onButton) h(exitId);
        return "pressed #" + std::to_string(exitId);
    }
    if (auto h = handlers_.onClose) h();
    return "closed";
}

}  // namespace corvan::ui
