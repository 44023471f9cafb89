#include "plugins/livedata/live_view.h"

#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/graph_texts.h"
#include "plugins/livedata/livedata_dialogs.h"
#include "plugins/livedata/livedata_texts.h"
#include "runtime/param_text.h"

namespace corvan::livedata {

namespace {

constexpr size_t kLongestUnitShown = 6;

size_t characters(std::string_view utf8) {
    size_t n = 0;
    for (char ch : utf8)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    return n;
}

bool isLog(const LiveItem& item) {
    return item.conversion.find("LOG") != std::string::npos;
}

}  // namespace

std::string displayText(const LiveItem& item) {
    // The state texts of a bit stand for the value itself; they are no unit.
    if (isLog(item)) return item.value;
    // Catalogue units are written in quotes; decoded VAG units come without them.
    std::string unit = item.isVagKind() ? stripQuotes(item.unit) : dropEnds(item.unit);
    if (unit.empty()) unit = " ";
    if (characters(unit) > kLongestUnitShown) return item.value;
    return item.value + " " + unit;
}

std::string valueCell(std::string_view value, std::string_view recommended) {
    std::string cell(value);
    switch (checkRange(value, recommended)) {
        case RangeCheck::Above:
            cell += kAboveMark;
            break;
        case RangeCheck::Below:
            cell += kBelowMark;
            break;
        default:
            break;
    }
    return cell;
}

LiveView::LiveView(const ModuleContext& ctx, std::vector<LiveItem>& items, RecommendedTables tables,
                   ItemPoller& poller, std::unique_ptr<LiveGraph> graph)
    : ctx_(ctx),
      items_(items),
      tables_(std::move(tables)),
      poller_(poller),
      dialog_(ctx.screen().createDialog(liveDataTemplate(graph != nullptr))),
      requests_(items),
      graph_(std::move(graph)) {
    ui::Dialog& d = *dialog_;
    d.setText(kTablesHeadingId, pick(kRecommendedValues));
    d.setItems(kTablesId, tables_.names);
    d.setColumns(kLiveListId, {{pick(kIdHeading), 0},
                               {pick(kDescriptionHeading), 170},
                               {pick(kMinMaxHeading), 0},
                               {pick(kCurrentValueHeading), 65},
                               {pick(kUnitHeading), 50}});
    d.setRange(kLiveBarId, 0, 100);
    for (size_t slot = 0; slot < items_.size(); ++slot) {
        const LiveItem& item = items_[slot];
        if (!item.isSelected()) continue;
        rows_.push_back(slot);
        ranges_.emplace_back();
        d.addRow(kLiveListId, {item.key, quotesAsBlanks(item.description), "", "",
                               isLog(item) ? "---" : quotesAsBlanks(item.unit)});
        if (graph_) graph_->addRow(item);
    }
    if (graph_) d.setText(kGraphButtonId, pick(kGraphButton));
    // The first table is shown from the start; the technician may choose another.
    if (!tables_.names.empty()) {
        d.setCurrentItem(kTablesId, 0);
        applyTable();
    }
    help_ = pick(kHelpPrompt);
    installHandlers();
}

LiveView::~LiveView() {
    graph_.reset();
    dialog_->setHandlers({});
    dialog_->show(false);
}

std::string LiveView::pick(const TextTable& t) const {
    return pickTextLiveData(t, ctx_.language());
}

void LiveView::installHandlers() {
    ui::DialogHandlers h;
    ui::Dialog* d = dialog_.get();
    h.onButton = [this, d](int id) {
        if (id == kExitId) d->setCommand("EXIT");
        if (id == kGraphButtonId) graphAsked_ = true;
    };
    h.onClose = [d] { d->setCommand("EXIT"); };
    h.onRowTap = [this](int id, int row) {
        if (id == kLiveListId) tappedRow_ = row;
    };
    h.onSelectionChange = [this](int id) {
        if (id == kTablesId) tableChosen_ = true;
    };
    dialog_->setHandlers(std::move(h));
}

void LiveView::show(const std::string& functionName) {
    dialog_->setTitle(pick(kItemsList) + functionName);
    dialog_->setText(kHelpTextId, help_);
    dialog_->show(true);
}

bool LiveView::leaving() const {
    return dialog_->command() == "EXIT";
}

void LiveView::applyTable() {
    tableChosen_ = false;
    int table = dialog_->currentItem(kTablesId);
    if (table < 0) table = 0;
    for (size_t r = 0; r < rows_.size(); ++r) {
        const LiveItem& item = items_[rows_[r]];
        ranges_[r] = tables_.text(table, itemNumber(item.key));
        const int row = static_cast<int>(r);
        dialog_->setCell(kLiveListId, row, kRangeColumn, ranges_[r]);
        if (graph_) graph_->setRange(r, ranges_[r]);
        if (!item.value.empty())
            dialog_->setCell(kLiveListId, row, kValueColumn, valueCell(item.value, ranges_[r]));
    }
    if (shownRow_ >= 0) showRow(shownRow_);
}

void LiveView::showRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    shownRow_ = row;
    help_ = dropEnds(items_[rows_[static_cast<size_t>(row)]].description) +
            pick(kRecommendedPrefix) + ranges_[static_cast<size_t>(row)];
    dialog_->setText(kHelpTextId, help_);
}

void LiveView::writeDisplay() {
    if (shownRow_ >= 0)
        dialog_->setText(kValueDisplayId,
                         displayText(items_[rows_[static_cast<size_t>(shownRow_)]]));
    dialog_->setText(kHelpTextId, help_);
}

bool LiveView::cycle() {
    ctx_.pumpMessages();
    if (leaving()) return false;
    requests_.clearAnswers();
    if (graph_) graph_->beginCycle();
    const size_t catalogueSize = items_.size();
    for (size_t r = 0; r < rows_.size(); ++r) {
        LiveItem& item = items_[rows_[r]];
        const int row = static_cast<int>(r);
        if (!poller_.poll(item, requests_)) {
            ctx_.messageBox(pick(kLinkError));
            return false;
        }
        dialog_->setCell(kLiveListId, row, kValueColumn, valueCell(item.value, ranges_[r]));
        if (graph_) graph_->record(r, item.value);
        if (item.isVagKind()) dialog_->setCell(kLiveListId, row, kUnitColumn, item.unit);
        dialog_->setProgress(kLiveBarId, static_cast<int>((rows_[r] + 1) * 100 / catalogueSize));
        ctx_.pumpMessages();
        if (leaving()) return false;
        if (graph_) serveGraph();
        if (tableChosen_) applyTable();
        if (tappedRow_ >= 0) {
            showRow(tappedRow_);
            tappedRow_ = -1;
        }
        if (shownRow_ >= 0) writeDisplay();
    }
    dialog_->setProgress(kLiveBarId, 100);
    if (graph_) graph_->refresh();
    return true;
}

void LiveView::serveGraph() {
    if (graphAsked_) {
        graphAsked_ = false;
        // The graph takes the screen; polling goes on behind it.
        graph_->open(shownRow_);
        if (graph_->isOpen()) dialog_->show(false);
    }
    if (graph_->isOpen() && !graph_->serve()) dialog_->show(true);
}

void LiveView::run(bool silent) {
    for (;;) {
        if (!cycle() || silent) return;
        writeDisplay();
    }
}

}  // namespace corvan::livedata
