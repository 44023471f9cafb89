#include "ui/qt/qt_script_automation.h"

#include <QProgressBar>
#include <algorithm>
#include <set>

#include "ui/qt/qt_dialog.h"

namespace corvan::ui::qt {

namespace {

void copyList(const QtDialog& from, Dialog& to, int id) {
    const auto columns = from.columns(id);
    const auto had = to.columns(id);
    const bool sameColumns =
        had.size() == columns.size() &&
        std::equal(had.begin(), had.end(), columns.begin(), [](const Column& a, const Column& b) {
            return a.heading == b.heading && a.width == b.width;
        });
    if (!sameColumns) to.setColumns(id, columns);

    const int rows = from.rowCount(id);
    const int width = std::max<int>(1, static_cast<int>(columns.size()));
    bool same = to.rowCount(id) == rows;
    for (int r = 0; same && r < rows; ++r)
        for (int c = 0; same && c < width; ++c) same = to.cell(id, r, c) == from.cell(id, r, c);
    if (!same) {
        to.clearRows(id);
        for (int r = 0; r < rows; ++r) {
            std::vector<std::string> cells;
            for (int c = 0; c < width; ++c) cells.push_back(from.cell(id, r, c));
            to.addRow(id, cells);
        }
    }
    for (int r = 0; r < rows; ++r)
        if (to.isRowGrey(id, r) != from.isRowGrey(id, r))
            to.setRowGrey(id, r, from.isRowGrey(id, r));
    if (to.selectedRow(id) != from.selectedRow(id)) to.selectRow(id, from.selectedRow(id));
}

void copyControl(const QtDialog& from, Dialog& to, const ControlSpec& spec) {
    const int id = spec.id;
    if (to.isEnabled(id) != from.isEnabled(id)) to.setEnabled(id, from.isEnabled(id));
    if (to.isControlVisible(id) != from.isControlVisible(id))
        to.setControlVisible(id, from.isControlVisible(id));
    switch (spec.kind) {
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::Edit:
            if (to.text(id) != from.text(id)) to.setText(id, from.text(id));
            break;
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            if (to.text(id) != from.text(id)) to.setText(id, from.text(id));
            if (to.isChecked(id) != from.isChecked(id)) to.setChecked(id, from.isChecked(id));
            break;
        case ControlKind::ComboBox:
            if (to.items(id) != from.items(id)) to.setItems(id, from.items(id));
            if (to.currentItem(id) != from.currentItem(id))
                to.setCurrentItem(id, from.currentItem(id));
            break;
        case ControlKind::ListView:
            copyList(from, to, id);
            break;
        case ControlKind::Progress:
            if (const auto* bar = qobject_cast<const QProgressBar*>(from.control(id)))
                to.setRange(id, bar->minimum(), bar->maximum());
            if (to.progress(id) != from.progress(id)) to.setProgress(id, from.progress(id));
            break;
        case ControlKind::Picture:
            if (to.picture(id) != from.picture(id)) to.setPicture(id, from.picture(id));
            break;
        case ControlKind::Graph:
            to.setGraph(id, from.graph(id));
            break;
    }
}

// The twin's handlers hear the script's actions; each is done again on the Qt widgets.
DialogHandlers forwardTo(QtDialog* qt, Dialog* twin) {
    DialogHandlers h;
    h.onButton = [qt](int id) { qt->pressButton(id); };
    h.onRowTap = [qt](int id, int row) { qt->tapRow(id, row); };
    h.onRowDoubleTap = [qt](int id, int row) { qt->doubleTapRow(id, row); };
    h.onTextChange = [qt, twin](int id) { qt->typeText(id, twin->text(id)); };
    h.onSelectionChange = [qt, twin](int id) {
        const auto& controls = qt->layout().controls;
        const auto spec = std::find_if(controls.begin(), controls.end(),
                                       [id](const ControlSpec& c) { return c.id == id; });
        if (spec != controls.end() && spec->kind == ControlKind::Radio)
            qt->pressButton(id);
        else
            qt->chooseItem(id, twin->currentItem(id));
    };
    h.onClose = [qt] { qt->pressCloseBox(); };
    return h;
}

}  // namespace

void copyDialogState(const QtDialog& from, Dialog& to) {
    if (to.title() != from.title()) to.setTitle(from.title());
    std::set<int> seen;
    for (const ControlSpec& spec : from.layout().controls)
        if (seen.insert(spec.id).second) copyControl(from, to, spec);
    if (to.isVisible() != from.isVisible()) to.show(from.isVisible());
}

ScriptAutomation::ScriptAutomation(TechnicianScript script, ScriptLimits limits)
    : twins_(std::move(script), limits) {}

ScriptAutomation::~ScriptAutomation() = default;

void ScriptAutomation::dialogCreated(QtDialog* dialog) {
    Twin twin{dialog, twins_.createDialog(dialog->layout()), 0};
    twin.headless->setHandlers(forwardTo(dialog, twin.headless.get()));
    pairs_.push_back(std::move(twin));
}

void ScriptAutomation::dialogDestroyed(QtDialog* dialog) {
    auto it = std::find_if(pairs_.begin(), pairs_.end(),
                           [dialog](const Twin& t) { return t.qt == dialog; });
    if (it == pairs_.end()) return;
    // The twin's last snapshot is the dump's record of the dialog: take the final state.
    copyDialogState(*dialog, *it->headless);
    pairs_.erase(it);
}

void ScriptAutomation::syncAll() {
    // Twins are shown in the order the Qt dialogs were, so "the top dialog" is the same one.
    std::vector<Twin*> order;
    for (Twin& t : pairs_) order.push_back(&t);
    std::stable_sort(order.begin(), order.end(), [](const Twin* a, const Twin* b) {
        return a->qt->showOrder() < b->qt->showOrder();
    });
    for (Twin* t : order) {
        // Hidden and shown again since the last look: the twin comes to the top as well.
        if (t->qt->showOrder() != t->shownAs && t->headless->isVisible()) t->headless->show(false);
        copyDialogState(*t->qt, *t->headless);
        t->shownAs = t->qt->showOrder();
    }
}

std::optional<Answer> ScriptAutomation::answer(const MessageBoxRequest& box) {
    syncAll();
    return twins_.messageBox(box.text, box.title, box.buttons, box.icon);
}

void ScriptAutomation::act(const std::vector<QtDialog*>&) {
    syncAll();
    twins_.pumpMessages();
}

}  // namespace corvan::ui::qt
