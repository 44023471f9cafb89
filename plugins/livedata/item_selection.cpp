#include "plugins/livedata/item_selection.h"

#include <algorithm>
#include <string>

#include "plugins/livedata/livedata_dialogs.h"
#include "plugins/livedata/livedata_texts.h"

namespace corvan::livedata {

namespace {

// Quick-selection entries before the groups.
constexpr int kManualEntry = 0;
constexpr int kAllEntry = 1;
constexpr int kNoneEntry = 2;
constexpr int kFirstGroupEntry = 3;

constexpr int kMarkColumn = 0;
constexpr int kKeyColumnOfSelection = 1;

class SelectionDialog {
  public:
    SelectionDialog(const ModuleContext& ctx, std::vector<LiveItem>& items,
                    const std::vector<SelectionGroup>& groups)
        : ctx_(ctx),
          items_(items),
          groups_(groups),
          dialog_(ctx.screen().createDialog(selectionTemplate())) {}
    ~SelectionDialog() {
        dialog_->setHandlers({});
        dialog_->show(false);
    }

    bool run(bool allMarked, ui::Dialog* preparation);

  private:
    std::string pick(const TextTable& t) const { return pickTextLiveData(t, ctx_.language()); }
    void fill(bool allMarked, ui::Dialog* preparation);
    void installHandlers();
    int markedCount() const;
    void markAll(std::string_view mark);
    void applyQuickSelection(int entry);
    void toggle(int row);
    void refreshTitle();

    const ModuleContext& ctx_;
    std::vector<LiveItem>& items_;
    const std::vector<SelectionGroup>& groups_;
    std::unique_ptr<ui::Dialog> dialog_;
    std::vector<int> taps_;
    bool quickChosen_ = false;
    std::string lastTitle_;
};

void SelectionDialog::fill(bool allMarked, ui::Dialog* preparation) {
    ui::Dialog& d = *dialog_;
    d.setColumns(
        kSelectionListId,
        {{pick(kSelectionHeading), 70}, {pick(kIdHeading), 0}, {pick(kItemsHeading), 220}});
    std::vector<std::string> entries = {pick(kManual), pick(kAll), pick(kNone)};
    for (const SelectionGroup& g : groups_) entries.push_back(g.name);
    d.setItems(kQuickSelectionId, entries);
    d.setCurrentItem(kQuickSelectionId, kManualEntry);
    const size_t n = items_.size();
    for (size_t k = 0; k < n; ++k) {
        const LiveItem& item = items_[k];
        d.addRow(kSelectionListId, {allMarked ? std::string(kInitialMark) : std::string(), item.key,
                                    quotesAsBlanks(item.description)});
        if (preparation) preparation->setProgress(kPreparationBarId, int((k + 1) * 100 / n));
    }
}

void SelectionDialog::installHandlers() {
    ui::DialogHandlers h;
    ui::Dialog* d = dialog_.get();
    h.onButton = [d](int id) {
        if (id == kOkId) d->setCommand(std::string(kOkText));
        if (id == kExitId) d->setCommand("EXIT");
    };
    h.onClose = [d] { d->setCommand("EXIT"); };
    h.onRowTap = [this](int id, int row) {
        if (id == kSelectionListId) taps_.push_back(row);
    };
    h.onSelectionChange = [this](int id) {
        if (id == kQuickSelectionId) quickChosen_ = true;
    };
    dialog_->setHandlers(std::move(h));
}

int SelectionDialog::markedCount() const {
    int count = 0;
    for (int r = 0; r < dialog_->rowCount(kSelectionListId); ++r)
        if (!dialog_->cell(kSelectionListId, r, kMarkColumn).empty()) ++count;
    return count;
}

void SelectionDialog::markAll(std::string_view mark) {
    for (int r = 0; r < dialog_->rowCount(kSelectionListId); ++r)
        dialog_->setCell(kSelectionListId, r, kMarkColumn, std::string(mark));
}

void SelectionDialog::applyQuickSelection(int entry) {
    if (entry == kAllEntry || entry == kNoneEntry) {
        markAll(entry == kAllEntry ? kSelectedMark : std::string_view());
        dialog_->setCurrentItem(kQuickSelectionId, kManualEntry);
        return;
    }
    const int group = entry - kFirstGroupEntry;
    if (group < 0 || group >= static_cast<int>(groups_.size())) return;
    const std::vector<std::string>& keys = groups_[static_cast<size_t>(group)].keys;
    for (int r = 0; r < dialog_->rowCount(kSelectionListId); ++r) {
        const std::string key = dialog_->cell(kSelectionListId, r, kKeyColumnOfSelection);
        const bool member = std::find(keys.begin(), keys.end(), key) != keys.end();
        dialog_->setCell(kSelectionListId, r, kMarkColumn,
                         member ? std::string(kSelectedMark) : std::string());
    }
}

void SelectionDialog::toggle(int row) {
    if (row < 0 || row >= dialog_->rowCount(kSelectionListId)) {
        ctx_.messageBox(std::string(kTapHint));
        return;
    }
    const bool marked = !dialog_->cell(kSelectionListId, row, kMarkColumn).empty();
    dialog_->setCell(kSelectionListId, row, kMarkColumn,
                     marked ? std::string() : std::string(kSelectedMark));
}

void SelectionDialog::refreshTitle() {
    const std::string title = pick(kSelectedItems) + std::to_string(markedCount());
    if (title != lastTitle_) dialog_->setTitle(title);
    lastTitle_ = title;
}

bool SelectionDialog::run(bool allMarked, ui::Dialog* preparation) {
    fill(allMarked, preparation);
    installHandlers();
    refreshTitle();
    dialog_->show(true);
    for (;;) {
        ctx_.pumpMessages();
        if (quickChosen_) {
            quickChosen_ = false;
            applyQuickSelection(dialog_->currentItem(kQuickSelectionId));
        }
        std::vector<int> taps;
        taps.swap(taps_);
        for (int row : taps) toggle(row);
        refreshTitle();
        const std::string word = dialog_->command();
        dialog_->clearCommand();
        if (word == "EXIT") return false;
        if (word != kOkText) continue;
        if (markedCount() == 0) {
            ctx_.messageBox(pick(kAtLeastOne));
            continue;
        }
        for (size_t k = 0; k < items_.size(); ++k)
            items_[k].selected =
                dialog_->cell(kSelectionListId, static_cast<int>(k), kMarkColumn).empty() ? "FALSE"
                                                                                          : "TRUE";
        return true;
    }
}

}  // namespace

bool selectItems(const ModuleContext& ctx, std::vector<LiveItem>& items,
                 const std::vector<SelectionGroup>& groups, bool allMarked,
                 ui::Dialog* preparation) {
    return SelectionDialog(ctx, items, groups).run(allMarked, preparation);
}

}  // namespace corvan::livedata
