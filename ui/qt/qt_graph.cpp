#include "ui/qt/qt_graph.h"

#include <QPainter>
#include <QPainterPath>

namespace corvan::ui::qt {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

const QColor kTraceColour(0, 70, 160);
const QColor kBandColour(200, 235, 200);
const QColor kOutsideColour(200, 0, 0);
const QColor kGridColour(190, 190, 190);

}  // namespace

GraphWidget::GraphWidget(int scale, QWidget* parent) : QWidget(parent), scale_(scale) {
    setAutoFillBackground(false);
}

void GraphWidget::setView(GraphView view) {
    view_ = std::move(view);
    update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int s = scale_;
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(Qt::black, s));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font = p.font();
    font.setPixelSize(9 * s);
    p.setFont(font);

    // Room for the value labels on the left and the time labels below.
    const int left = 30 * s, right = width() - 3 * s, bottom = height() - 11 * s, top = 2 * s;
    const double span = view_.to > view_.from ? view_.to - view_.from : 1.0;
    auto x = [&](double seconds) { return left + (seconds - view_.from) / span * (right - left); };
    p.setPen(QPen(Qt::black, s));
    p.drawText(QRect(left, bottom, 60 * s, 11 * s), Qt::AlignLeft | Qt::AlignVCenter,
               qs(graphNumber(view_.from) + " s"));
    p.drawText(QRect(right - 60 * s, bottom, 60 * s, 11 * s), Qt::AlignRight | Qt::AlignVCenter,
               qs(graphNumber(view_.to) + " s"));

    const size_t n = view_.traces.size();
    const double stripHeight = n ? double(bottom - top) / double(n) : double(bottom - top);
    for (size_t i = 0; i < n; ++i) {
        const GraphTrace& t = view_.traces[i];
        const GraphScale scale = graphScale(t);
        const double y0 = top + stripHeight * double(i), y1 = y0 + stripHeight - 2 * s;
        auto y = [&](double v) {
            return y1 - (v - scale.low) / (scale.high - scale.low) * (y1 - y0 - 10 * s);
        };
        p.save();
        p.setClipRect(QRectF(left, y0, right - left, y1 - y0));
        if (t.band)
            p.fillRect(QRectF(QPointF(left, y(t.band->high)), QPointF(right, y(t.band->low))),
                       kBandColour);
        QPainterPath path;
        bool drawing = false;
        for (const GraphPoint& pt : t.points) {
            if (!pt.hasValue() || std::isinf(pt.value)) {
                drawing = false;
                continue;
            }
            const QPointF at(x(pt.seconds), y(pt.value));
            if (drawing)
                path.lineTo(at);
            else
                path.moveTo(at);
            drawing = true;
        }
        p.setPen(QPen(kTraceColour, 1.5 * s));
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kOutsideColour);
        for (const GraphPoint& pt : t.points)
            if (pt.outside && pt.hasValue() && !std::isinf(pt.value))
                p.drawRect(QRectF(x(pt.seconds) - 1.5 * s, y(pt.value) - 1.5 * s, 3 * s, 3 * s));
        p.restore();

        p.setPen(QPen(kGridColour, s));
        p.drawLine(QPointF(left, y1 + s), QPointF(right, y1 + s));
        p.drawLine(QPointF(left, y0), QPointF(left, y1));
        p.setPen(Qt::black);
        const QString label = qs(t.label + (t.unit.empty() ? "" : " (" + t.unit + ")"));
        p.drawText(QRectF(left + 2 * s, y0, right - left - 4 * s, 10 * s),
                   Qt::AlignLeft | Qt::AlignTop, label);
        p.drawText(QRectF(0, y(scale.high) - 5 * s, left - 2 * s, 10 * s),
                   Qt::AlignRight | Qt::AlignVCenter, qs(graphNumber(scale.high)));
        p.drawText(QRectF(0, y(scale.low) - 5 * s, left - 2 * s, 10 * s),
                   Qt::AlignRight | Qt::AlignVCenter, qs(graphNumber(scale.low)));
    }

    p.setPen(QPen(kOutsideColour, s, Qt::DashLine));
    for (double m : view_.markers)
        if (m >= view_.from && m <= view_.to) p.drawLine(QPointF(x(m), top), QPointF(x(m), bottom));
    if (!view_.note.empty()) {
        p.setPen(kOutsideColour);
        p.drawText(QRect(left, bottom, right - left, 11 * s), Qt::AlignHCenter | Qt::AlignVCenter,
                   qs(view_.note));
    }
}

}  // namespace corvan::ui::qt
