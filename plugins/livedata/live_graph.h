#pragma once
// What the graph shows of the recording: a window of one minute that follows the newest
// readings while running; paused, it stays where it is and the technician moves it back and
// forth by half a window through what the rings still hold.
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/livedata/live_recording.h"
#include "ui/graph_view.h"

namespace corvan::livedata {

class GraphWindow {
  public:
    static constexpr int64_t kSpanMs = 60'000;

    bool paused() const { return paused_; }
    void pause(const LiveRecording& r);
    void resume() { paused_ = false; }
    // Half a window back or forth (pausing first); never past what is kept.
    void back(const LiveRecording& r);
    void forth(const LiveRecording& r);
    // Pauses on the window from `fromMs` (a capture).
    void showFrom(const LiveRecording& r, int64_t fromMs);
    // The window's end: the newest reading while running.
    int64_t endMs(const LiveRecording& r) const;
    int64_t startMs(const LiveRecording& r) const { return endMs(r) - kSpanMs; }

  private:
    void clamp(const LiveRecording& r);
    bool paused_ = false;
    int64_t endMs_ = 0;
};

// The graph of the items `shown` (indices in the recording) in the window: seconds after the
// recording's origin, the band of each item's range and its readings outside it.
ui::GraphView graphOf(const LiveRecording& r, const std::vector<size_t>& shown,
                      const GraphWindow& window);

}  // namespace corvan::livedata
