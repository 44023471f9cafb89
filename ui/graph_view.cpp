#include "ui/graph_view.h"

#include <algorithm>
#include <cstdio>

#include "platform/quoted_text.h"

namespace corvan::ui {

GraphScale graphScale(const GraphTrace& trace) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const GraphPoint& p : trace.points) {
        if (!p.hasValue() || std::isinf(p.value)) continue;
        low = std::min(low, p.value);
        high = std::max(high, p.value);
    }
    if (trace.band) {
        low = std::min(low, trace.band->low);
        high = std::max(high, trace.band->high);
    }
    if (low > high) return {};  // nothing to show
    if (high - low < 1e-9) {
        // A steady reading: centre it in a span of its own size (or of 1 around zero).
        const double half = std::max(std::abs(low) * 0.1, 0.5);
        return {low - half, high + half};
    }
    const double margin = (high - low) * 0.05;
    return {low - margin, high + margin};
}

std::string graphNumber(double v) {
    if (std::isnan(v)) return "-";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    std::string s(buf);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string formatGraph(const GraphView& view, const std::string& indent) {
    constexpr size_t kPointsPerLine = 8;
    std::string out = indent + "window " + graphNumber(view.from) + ".." + graphNumber(view.to);
    if (!view.note.empty()) out += " note " + quoteText(view.note);
    out += "\n";
    for (double m : view.markers) out += indent + "marker " + graphNumber(m) + "\n";
    for (size_t i = 0; i < view.traces.size(); ++i) {
        const GraphTrace& t = view.traces[i];
        size_t readings = 0, outside = 0;
        for (const GraphPoint& p : t.points) {
            readings += p.hasValue();
            outside += p.outside;
        }
        out += indent + "trace " + std::to_string(i) + " " + quoteText(t.label) + " unit " +
               quoteText(t.unit);
        if (t.band) out += " band " + graphNumber(t.band->low) + ".." + graphNumber(t.band->high);
        out += " points " + std::to_string(t.points.size()) + " readings " +
               std::to_string(readings) + " outside " + std::to_string(outside) + "\n";
        for (size_t k = 0; k < t.points.size(); k += kPointsPerLine) {
            out += indent + " ";
            for (size_t j = k; j < std::min(k + kPointsPerLine, t.points.size()); ++j) {
                const GraphPoint& p = t.points[j];
                out += " " + graphNumber(p.seconds) + ":" + graphNumber(p.value);
                if (p.outside) out += "*";
            }
            out += "\n";
        }
    }
    return out;
}

}  // namespace corvan::ui
