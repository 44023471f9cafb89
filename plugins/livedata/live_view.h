#pragma once
// The live list: one row per selected item with its recommended range and current value,
// the recommended-value tables to choose from, a large display of the item the technician
// tapped and its help text. Polling runs cycle after cycle until the technician leaves or
// the link is lost; a silent run makes one cycle without showing anything.
#include <string>
#include <vector>

#include "plugins/livedata/item_poller.h"
#include "plugins/livedata/live_graph_screen.h"
#include "plugins/livedata/live_item.h"
#include "plugins/livedata/recommended_values.h"
#include "runtime/module_context.h"
#include "ui/screen.h"

namespace corvan::livedata {

// A value outside the chosen range carries a mark in the list, pointing up or down.
inline constexpr std::string_view kAboveMark = " \u25B2";
inline constexpr std::string_view kBelowMark = " \u25BC";

// What the large display shows for a value and the item's unit: the value, and the unit
// when it is shorter than 7 characters.
std::string displayText(const LiveItem& item);

// The value cell of the list: the value, marked when it lies outside `recommended`.
std::string valueCell(std::string_view value, std::string_view recommended);

class LiveView {
  public:
    // With `graph`, every reading is recorded and a button leads to the graph window.
    LiveView(const ModuleContext& ctx, std::vector<LiveItem>& items, RecommendedTables tables,
             ItemPoller& poller, std::unique_ptr<LiveGraph> graph = nullptr);
    ~LiveView();
    LiveView(const LiveView&) = delete;
    LiveView& operator=(const LiveView&) = delete;

    ui::Dialog& dialog() { return *dialog_; }
    // Shows the list titled with the function name (interactive runs).
    void show(const std::string& functionName);
    // Polls until the technician leaves or the link is lost; one cycle when silent.
    void run(bool silent);

  private:
    std::string pick(const TextTable& t) const;
    void installHandlers();
    bool cycle();  // false: leave
    bool leaving() const;
    void applyTable();
    void showRow(int row);
    void writeDisplay();
    void serveGraph();

    const ModuleContext& ctx_;
    std::vector<LiveItem>& items_;
    RecommendedTables tables_;
    ItemPoller& poller_;
    std::unique_ptr<ui::Dialog> dialog_;
    std::vector<size_t> rows_;         // catalogue slot of each row
    std::vector<std::string> ranges_;  // the MIN-MAX text of each row
    RequestTable requests_;
    bool tableChosen_ = false;
    int tappedRow_ = -1;
    int shownRow_ = -1;
    std::string help_;
    std::unique_ptr<LiveGraph> graph_;  // null: the configuration leaves it off
    bool graphAsked_ = false;
};

}  // namespace corvan::livedata
