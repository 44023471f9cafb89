#pragma once
// The graph control on a Qt window, painted with QPainter: one strip per trace, stacked, each
// with its own scale; the recommended band as a pale strip behind the trace, the readings
// outside it as red squares, gaps where no reading came, trigger markers as vertical lines.
#include <QWidget>

#include "ui/graph_view.h"

namespace corvan::ui::qt {

class GraphWidget final : public QWidget {
  public:
    GraphWidget(int scale, QWidget* parent);
    void setView(GraphView view);
    const GraphView& view() const { return view_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    GraphView view_;
    int scale_;
};

}  // namespace corvan::ui::qt
