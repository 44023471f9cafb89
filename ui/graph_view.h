#pragma once
// What a graph control shows: traces of values over time, one strip per trace, each with its
// own scale, its recommended band and the readings that fall outside it. Modules fill it
// whole; backends paint it (Qt) or dump it (headless) as it stands.
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace corvan::ui {

struct GraphPoint {
    double seconds = 0;  // on the graph's time axis
    // Not a number: no reading at that time (the trace has a gap there).
    double value = std::numeric_limits<double>::quiet_NaN();
    bool outside = false;  // outside the band: drawn as a mark

    bool hasValue() const { return !std::isnan(value); }
};

struct GraphBand {
    double low = 0, high = 0;
};

struct GraphTrace {
    std::string label;  // what the technician reads beside the strip
    std::string unit;
    std::optional<GraphBand> band;   // the recommended range, drawn behind the trace
    std::vector<GraphPoint> points;  // in time order
};

struct GraphView {
    double from = 0, to = 0;  // the time window shown, seconds
    std::vector<GraphTrace> traces;
    std::vector<double> markers;  // times drawn as a vertical line (a trigger)
    std::string note;             // a short state text shown in a corner ("PAUSED")
};

// The lowest and highest value a strip must hold: its readings and its band, widened a
// little so neither touches the edge; a flat trace gets a span of its own.
struct GraphScale {
    double low = 0, high = 1;
};
GraphScale graphScale(const GraphTrace& trace);

// A number as dumps and axis labels write it: at most three decimals, no trailing zeros.
std::string graphNumber(double v);

// The headless dump of a graph: the window, the markers, then per trace its label, unit,
// band and a summary, and every point as time:value (a '*' after the points outside the
// band, '-' for a gap), eight to a line.
std::string formatGraph(const GraphView& view, const std::string& indent);

}  // namespace corvan::ui
