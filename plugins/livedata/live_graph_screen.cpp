#include "plugins/livedata/live_graph_screen.h"

#include <cmath>
#include <filesystem>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/graph_texts.h"
#include "plugins/livedata/live_csv.h"
#include "plugins/livedata/trigger_screen.h"
#include "runtime/param_text.h"

namespace corvan::livedata {

namespace {

std::string trimmed(std::string s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool isLogItem(const LiveItem& item) {
    return item.conversion.find("LOG") != std::string::npos;
}

}  // namespace

std::string liveFileDevicePath(std::string_view dataPath, std::string_view fileName) {
    std::string path(dataPath);
    path += "\\LIVEDATA\\";
    path += fileName;
    return path;
}

LiveGraph::LiveGraph(const ModuleContext& ctx, std::string dataPath, std::string functionName)
    : ctx_(ctx), dataPath_(std::move(dataPath)), functionName_(std::move(functionName)) {}

LiveGraph::~LiveGraph() {
    if (dialog_) {
        dialog_->setHandlers({});
        dialog_->show(false);
    }
}

std::string LiveGraph::pick(const TextTable& t) const {
    return pickTextLiveData(t, ctx_.language());
}

void LiveGraph::addRow(const LiveItem& item) {
    // A bit item's unit field holds its two state texts, which are no unit.
    recording_.addItem(item.key, trimmed(quotesAsBlanks(item.description)),
                       isLogItem(item) ? std::string() : trimmed(quotesAsBlanks(item.unit)));
}

void LiveGraph::setRange(size_t row, std::string_view recommended) {
    recording_.setRange(row, rangeLimits(recommended));
}

void LiveGraph::beginCycle() {
    recording_.beginCycle(ctx_.clock().nowMs());
}

void LiveGraph::record(size_t row, const std::string& value) {
    if (row >= recording_.items().size()) return;
    const Sample& s = recording_.record(row, ctx_.clock().nowMs(), value);
    if (capture_.observe(recording_, row, s)) saveCapture();
}

void LiveGraph::open(int row) {
    if (recording_.items().empty()) return;
    dialog_ = ctx_.screen().createDialog(graphTemplate());
    std::vector<std::string> names{pick(kNoItem)};
    for (const RecordedItem& it : recording_.items())
        names.push_back(it.description.empty() ? it.key : it.description);
    for (int k = 0; k < kStripCount; ++k) {
        dialog_->setItems(kStripItemIds[k], names);
        dialog_->setCurrentItem(kStripItemIds[k], 0);
    }
    const size_t first = row >= 0 && static_cast<size_t>(row) < recording_.items().size()
                             ? static_cast<size_t>(row)
                             : 0;
    dialog_->setCurrentItem(kStripItemIds[0], static_cast<int>(first) + 1);
    dialog_->setText(kTriggerId, pick(kTriggerButton));
    dialog_->setTitle(pick(kGraphTitle) + functionName_);
    labelButtons();
    installHandlers();
    refresh();
    dialog_->show(true);
}

void LiveGraph::installHandlers() {
    ui::DialogHandlers h;
    ui::Dialog* d = dialog_.get();
    h.onButton = [d](int id) {
        switch (id) {
            case kPauseId:
                d->setCommand("PAUSE");
                break;
            case kBackId:
                d->setCommand("BACK");
                break;
            case kForthId:
                d->setCommand("FORTH");
                break;
            case kCsvId:
                d->setCommand("CSV");
                break;
            case kTriggerId:
                d->setCommand("TRIGGER");
                break;
            case kGraphExitId:
                d->setCommand("EXIT");
                break;
            default:
                break;
        }
    };
    h.onSelectionChange = [d](int) { d->setCommand("SHOW"); };
    h.onClose = [d] { d->setCommand("EXIT"); };
    dialog_->setHandlers(std::move(h));
}

std::vector<size_t> LiveGraph::shownRows() const {
    std::vector<size_t> rows;
    for (int k = 0; k < kStripCount; ++k) {
        const int chosen = dialog_->currentItem(kStripItemIds[k]);
        if (chosen > 0) rows.push_back(static_cast<size_t>(chosen - 1));
    }
    return rows;
}

void LiveGraph::labelButtons() {
    dialog_->setText(kPauseId, pick(window_.paused() ? kRunButton : kPauseButton));
}

void LiveGraph::refresh() {
    if (!dialog_) return;
    ui::GraphView view = graphOf(recording_, shownRows(), window_);
    view.markers.assign(markers_.size(), 0);
    for (size_t i = 0; i < markers_.size(); ++i)
        view.markers[i] = static_cast<double>(markers_[i] - recording_.originMs()) / 1000.0;
    if (capture_.state() == TriggerCapture::State::Armed)
        view.note = pick(kArmedNote);
    else if (capture_.state() == TriggerCapture::State::Collecting)
        view.note = pick(kCapturingNote);
    else if (window_.paused())
        view.note = pick(kPausedNote);
    dialog_->setGraph(kGraphId, view);
}

bool LiveGraph::serve() {
    if (!dialog_) return false;
    const std::string word = dialog_->command();
    if (word.empty()) return true;
    dialog_->clearCommand();
    if (word == "EXIT") {
        dialog_->setHandlers({});
        dialog_->show(false);
        dialog_.reset();
        return false;
    }
    if (word == "PAUSE") {
        if (window_.paused())
            window_.resume();
        else
            window_.pause(recording_);
    } else if (word == "BACK") {
        window_.back(recording_);
    } else if (word == "FORTH") {
        window_.forth(recording_);
    } else if (word == "CSV") {
        saveRecording();
    } else if (word == "TRIGGER") {
        chooseTrigger();
    }
    if (dialog_) {
        labelButtons();
        refresh();
    }
    return true;
}

void LiveGraph::save(const std::string& name, const std::string& csv, const TextTable& done) {
    std::string device = liveFileDevicePath(dataPath_, name);
    const DeviceRoot* root = ctx_.host().root;
    bool written = false;
    if (root) {
        std::filesystem::path file = root->toHost(device);
        // Two saves within one second of the terminal's clock: the second one gets a number
        // instead of replacing the first.
        const std::string stem = device.substr(0, device.size() - 4);
        for (int n = 2; std::filesystem::exists(file) && n < 100; ++n) {
            device = stem + "_" + std::to_string(n) + ".CSV";
            file = root->toHost(device);
        }
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        written = !error && writeFileAtomic(file, utf8ToCp1252(csv));
    }
    ctx_.messageBox(pick(written ? done : kCannotSave) + device);
}

void LiveGraph::saveRecording() {
    save(csvFileName("LIVE", ctx_.clock().civilNow()),
         liveCsv(recordingColumns(recording_), recording_.originMs()), kSaved);
}

void LiveGraph::saveCapture() {
    std::vector<CsvColumn> columns;
    for (size_t i = 0; i < recording_.items().size(); ++i)
        columns.push_back({csvHeading(recording_.items()[i]), capture_.readings()[i]});
    // Capture times count from the reading that set it off: the seconds before are negative.
    const std::string csv = liveCsv(columns, capture_.triggerMs());
    markers_.push_back(capture_.triggerMs());
    window_.showFrom(recording_, capture_.fromMs());
    capture_.disarm();
    if (dialog_) {
        labelButtons();
        refresh();
    }
    save(csvFileName("CAPT", ctx_.clock().civilNow()), csv, kCaptureSaved);
}

void LiveGraph::chooseTrigger() {
    TriggerRule current = capture_.rule();
    if (capture_.state() == TriggerCapture::State::Idle) {
        // A new rule starts on the first strip's item: outside its range when it has one,
        // else above its newest reading.
        const std::vector<size_t> rows = shownRows();
        current = TriggerRule{};
        current.item = rows.empty() ? 0 : rows.front();
        const RecordedItem& item = recording_.items()[current.item];
        if (item.range)
            current.condition = TriggerCondition::OutsideRange;
        else if (!item.ring.empty() && !std::isnan(item.ring.newest().value))
            current.threshold = item.ring.newest().value;
    }
    const std::optional<TriggerRule> rule = askTrigger(ctx_, recording_, current);
    if (rule)
        capture_.arm(*rule);
    else
        capture_.disarm();
}

}  // namespace corvan::livedata
