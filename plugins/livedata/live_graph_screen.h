#pragma once
// The recording side of the live list, when the configuration turns it on: every reading of
// every row goes into the recording and past the trigger capture; the graph window shows
// chosen rows, pauses, scrolls back and saves the recording as CSV; the trigger window arms a
// capture, which is saved by itself once complete. Files go to the LIVEDATA folder of the
// installation.
#include <memory>
#include <string>
#include <vector>

#include "plugins/livedata/live_graph.h"
#include "plugins/livedata/live_item.h"
#include "plugins/livedata/live_recording.h"
#include "plugins/livedata/trigger_capture.h"
#include "runtime/module_context.h"
#include "ui/screen.h"

namespace corvan::livedata {

// Device path of a file saved by live data: the data path, "\LIVEDATA\", the name.
std::string liveFileDevicePath(std::string_view dataPath, std::string_view fileName);

class LiveGraph {
  public:
    LiveGraph(const ModuleContext& ctx, std::string dataPath, std::string functionName);
    ~LiveGraph();
    LiveGraph(const LiveGraph&) = delete;
    LiveGraph& operator=(const LiveGraph&) = delete;

    // The rows of the live list, in order.
    void addRow(const LiveItem& item);
    void setRange(size_t row, std::string_view recommended);
    void beginCycle();
    // The row's value was read; may complete a capture and save it.
    void record(size_t row, const std::string& value);

    // Shows the graph window with `row` in the first strip (the first row when none).
    void open(int row);
    bool isOpen() const { return dialog_ != nullptr; }
    // Acts on the graph window's buttons; false once the technician left it.
    bool serve();
    // Paints the graph as the recording stands.
    void refresh();

    const LiveRecording& recording() const { return recording_; }
    const TriggerCapture& capture() const { return capture_; }

  private:
    std::string pick(const TextTable& t) const;
    void installHandlers();
    std::vector<size_t> shownRows() const;
    void labelButtons();
    void saveRecording();
    void saveCapture();
    // Writes `csv` as `name`; tells the technician where it went (or that it could not).
    void save(const std::string& name, const std::string& csv, const TextTable& done);
    void chooseTrigger();

    const ModuleContext& ctx_;
    std::string dataPath_;
    std::string functionName_;
    LiveRecording recording_;
    TriggerCapture capture_;
    GraphWindow window_;
    std::vector<int64_t> markers_;  // times of completed triggers
    std::unique_ptr<ui::Dialog> dialog_;
};

}  // namespace corvan::livedata
