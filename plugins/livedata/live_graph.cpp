#include "plugins/livedata/live_graph.h"

#include <algorithm>

namespace corvan::livedata {

namespace {

double seconds(const LiveRecording& r, int64_t ms) {
    return static_cast<double>(ms - r.originMs()) / 1000.0;
}

}  // namespace

void GraphWindow::pause(const LiveRecording& r) {
    if (paused_) return;
    endMs_ = endMs(r);
    paused_ = true;
}

void GraphWindow::clamp(const LiveRecording& r) {
    // The window never starts before the oldest reading kept nor ends after the newest; a
    // recording shorter than the window is shown from its start.
    const int64_t earliestEnd = r.oldestMs() + kSpanMs;
    endMs_ = std::clamp(endMs_, earliestEnd, std::max(earliestEnd, r.newestMs()));
}

void GraphWindow::back(const LiveRecording& r) {
    pause(r);
    endMs_ -= kSpanMs / 2;
    clamp(r);
}

void GraphWindow::forth(const LiveRecording& r) {
    pause(r);
    endMs_ += kSpanMs / 2;
    clamp(r);
}

void GraphWindow::showFrom(const LiveRecording& r, int64_t fromMs) {
    paused_ = true;
    endMs_ = fromMs + kSpanMs;
    clamp(r);
}

int64_t GraphWindow::endMs(const LiveRecording& r) const {
    if (paused_) return endMs_;
    return std::max(r.newestMs(), r.oldestMs() + kSpanMs);
}

ui::GraphView graphOf(const LiveRecording& r, const std::vector<size_t>& shown,
                      const GraphWindow& window) {
    ui::GraphView view;
    const int64_t from = window.startMs(r), to = window.endMs(r);
    view.from = seconds(r, from);
    view.to = seconds(r, to);
    for (size_t index : shown) {
        if (index >= r.items().size()) continue;
        const RecordedItem& item = r.items()[index];
        ui::GraphTrace t;
        t.label = item.description.empty() ? item.key : item.description;
        t.unit = item.unit;
        if (item.range) t.band = ui::GraphBand{item.range->low, item.range->high};
        for (const Sample& s : item.ring.between(from, to))
            t.points.push_back({seconds(r, s.ms), s.value, outsideRange(item, s)});
        view.traces.push_back(std::move(t));
    }
    return view;
}

}  // namespace corvan::livedata
