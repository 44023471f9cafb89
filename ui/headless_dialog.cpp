#include "ui/headless_dialog.h"

#include <algorithm>

#include "ui/headless_screen.h"

namespace corvan::ui {

HeadlessDialog::HeadlessDialog(HeadlessScreen* screen, const DialogTemplate& t)
    : screen_(screen), layout_(t), title_(t.title) {
    for (const ControlSpec& spec : t.controls) {
        // Static labels share the "no id" values; any other id names one control.
        if (spec.id > 0 && find(spec.id)) {
            problem("duplicate control #" + std::to_string(spec.id) + " in the template");
            continue;
        }
        ControlState c;
        c.id = spec.id;
        c.kind = spec.kind;
        c.text = spec.text;
        c.visible = spec.visible;
        c.secret = spec.secret && spec.kind == ControlKind::Edit;
        if (spec.kind == ControlKind::Picture) c.picture = spec.bitmap;
        controls_.push_back(std::move(c));
    }
    if (screen_) screen_->dialogCreated(this);
}

HeadlessDialog::~HeadlessDialog() {
    if (screen_) screen_->dialogDestroyed(this);
}

void HeadlessDialog::show(bool visible) {
    if (visible && !visible_ && screen_) showOrder_ = screen_->nextShowOrder();
    visible_ = visible;
    everShown_ = everShown_ || visible;
}

void HeadlessDialog::problem(const std::string& what) {
    if (screen_) screen_->noteProblem("dialog " + dumpName(layout_.name) + ": " + what);
}

const ControlState* HeadlessDialog::find(int id) const {
    for (const auto& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

const ControlState* HeadlessDialog::control(int id) const {
    return find(id);
}

ControlState* HeadlessDialog::find(int id, const char* operation) {
    for (auto& c : controls_)
        if (c.id == id) return &c;
    problem(std::string(operation) + " on unknown control #" + std::to_string(id));
    return nullptr;
}

ControlState* HeadlessDialog::findKind(int id, ControlKind kind, const char* operation) {
    ControlState* c = find(id, operation);
    if (c && c->kind != kind) {
        problem(std::string(operation) + " on " + kindName(c->kind) + " #" + std::to_string(id));
        return nullptr;
    }
    return c;
}

ListRow* HeadlessDialog::rowAt(ControlState& list, int row, const char* operation) {
    if (row >= 0 && row < static_cast<int>(list.rows.size())) return &list.rows[row];
    problem(std::string(operation) + " on missing row " + std::to_string(row) + " of list #" +
            std::to_string(list.id));
    return nullptr;
}

void HeadlessDialog::setText(int id, const std::string& text) {
    if (ControlState* c = find(id, "setText")) c->text = text;
}

std::string HeadlessDialog::text(int id) const {
    const ControlState* c = find(id);
    return c ? c->shownText() : std::string();
}

void HeadlessDialog::setEnabled(int id, bool enabled) {
    if (ControlState* c = find(id, "setEnabled")) c->enabled = enabled;
}

bool HeadlessDialog::isEnabled(int id) const {
    const ControlState* c = find(id);
    return c && c->enabled;
}

void HeadlessDialog::setControlVisible(int id, bool visible) {
    if (ControlState* c = find(id, "setControlVisible")) c->visible = visible;
}

bool HeadlessDialog::isControlVisible(int id) const {
    const ControlState* c = find(id);
    return c && c->visible;
}

void HeadlessDialog::setColumns(int id, const std::vector<Column>& columns) {
    if (ControlState* c = findKind(id, ControlKind::ListView, "setColumns")) c->columns = columns;
}

std::vector<Column> HeadlessDialog::columns(int id) const {
    const ControlState* c = find(id);
    return c ? c->columns : std::vector<Column>{};
}

void HeadlessDialog::clearRows(int id) {
    if (ControlState* c = findKind(id, ControlKind::ListView, "clearRows")) {
        c->rows.clear();
        c->selectedRow = -1;
    }
}

int HeadlessDialog::addRow(int id, const std::vector<std::string>& cells) {
    ControlState* c = findKind(id, ControlKind::ListView, "addRow");
    if (!c) return -1;
    c->rows.push_back({cells, false});
    return static_cast<int>(c->rows.size()) - 1;
}

void HeadlessDialog::setCell(int id, int row, int column, const std::string& text) {
    ControlState* c = findKind(id, ControlKind::ListView, "setCell");
    if (!c) return;
    ListRow* r = rowAt(*c, row, "setCell");
    if (!r) return;
    if (column < 0) {
        problem("setCell on column " + std::to_string(column) + " of list #" + std::to_string(id));
        return;
    }
    if (static_cast<size_t>(column) >= r->cells.size()) r->cells.resize(column + 1);
    r->cells[column] = text;
}

std::string HeadlessDialog::cell(int id, int row, int column) const {
    const ControlState* c = find(id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return {};
    const auto& cells = c->rows[row].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[column] : std::string();
}

int HeadlessDialog::rowCount(int id) const {
    const ControlState* c = find(id);
    return c ? static_cast<int>(c->rows.size()) : 0;
}

void HeadlessDialog::setRowGrey(int id, int row, bool grey) {
    if (ControlState* c = findKind(id, ControlKind::ListView, "setRowGrey"))
        if (ListRow* r = rowAt(*c, row, "setRowGrey")) r->grey = grey;
}

bool HeadlessDialog::isRowGrey(int id, int row) const {
    const ControlState* c = find(id);
    return c && row >= 0 && row < static_cast<int>(c->rows.size()) && c->rows[row].grey;
}

int HeadlessDialog::selectedRow(int id) const {
    const ControlState* c = find(id);
    return c ? c->selectedRow : -1;
}

void HeadlessDialog::selectRow(int id, int row) {
    ControlState* c = findKind(id, ControlKind::ListView, "selectRow");
    if (!c) return;
    if (row == -1 || rowAt(*c, row, "selectRow")) c->selectedRow = row;
}

void HeadlessDialog::setChecked(int id, bool checked) {
    ControlState* c = find(id, "setChecked");
    if (!c) return;
    if (c->kind != ControlKind::CheckBox && c->kind != ControlKind::Radio) {
        problem(std::string("setChecked on ") + kindName(c->kind) + " #" + std::to_string(id));
        return;
    }
    c->checked = checked;
    if (c->kind != ControlKind::Radio || !checked) return;
    // Radio choices of one group are exclusive.
    int group = 0;
    for (const ControlSpec& spec : layout_.controls)
        if (spec.id == id) group = spec.group;
    for (const ControlSpec& spec : layout_.controls)
        if (spec.kind == ControlKind::Radio && spec.group == group && spec.id != id)
            for (auto& other : controls_)
                if (other.id == spec.id) other.checked = false;
}

bool HeadlessDialog::isChecked(int id) const {
    const ControlState* c = find(id);
    return c && c->checked;
}

void HeadlessDialog::setItems(int id, const std::vector<std::string>& items) {
    if (ControlState* c = findKind(id, ControlKind::ComboBox, "setItems")) {
        c->items = items;
        c->currentItem = -1;
    }
}

std::vector<std::string> HeadlessDialog::items(int id) const {
    const ControlState* c = find(id);
    return c ? c->items : std::vector<std::string>{};
}

void HeadlessDialog::setCurrentItem(int id, int index) {
    ControlState* c = findKind(id, ControlKind::ComboBox, "setCurrentItem");
    if (!c) return;
    if (index < -1 || index >= static_cast<int>(c->items.size())) {
        problem("setCurrentItem " + std::to_string(index) + " beyond the items of #" +
                std::to_string(id));
        return;
    }
    c->currentItem = index;
}

int HeadlessDialog::currentItem(int id) const {
    const ControlState* c = find(id);
    return c ? c->currentItem : -1;
}

void HeadlessDialog::setRange(int id, int low, int high) {
    ControlState* c = findKind(id, ControlKind::Progress, "setRange");
    if (!c) return;
    c->low = std::min(low, high);
    c->high = std::max(low, high);
    c->value = std::clamp(c->value, c->low, c->high);
}

void HeadlessDialog::setProgress(int id, int value) {
    // The bar stops at its ends, as the device's progress bar does.
    if (ControlState* c = findKind(id, ControlKind::Progress, "setProgress"))
        c->value = std::clamp(value, c->low, c->high);
}

int HeadlessDialog::progress(int id) const {
    const ControlState* c = find(id);
    return c ? c->value : 0;
}

void HeadlessDialog::setPicture(int id, const std::string& hostPath) {
    if (ControlState* c = find(id, "setPicture")) c->picture = hostPath;
}

std::string HeadlessDialog::picture(int id) const {
    const ControlState* c = find(id);
    return c ? c->picture : std::string();
}

void HeadlessDialog::setGraph(int id, const GraphView& view) {
    if (ControlState* c = findKind(id, ControlKind::Graph, "setGraph")) c->graph = view;
}

GraphView HeadlessDialog::graph(int id) const {
    const ControlState* c = find(id);
    return c ? c->graph : GraphView{};
}

DialogSnapshot HeadlessDialog::snapshot(std::string reason) const {
    DialogSnapshot s;
    s.name = layout_.name;
    s.reason = std::move(reason);
    s.title = title_;
    s.visible = visible_;
    s.everShown = everShown_;
    s.controls = controls_;
    return s;
}

}  // namespace corvan::ui
