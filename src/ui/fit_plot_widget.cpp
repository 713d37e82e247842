#include "ui/fit_plot_widget.h"

#include <QPainter>

#include "qtcanvas/qt_canvas.h"

namespace zx {

FitPlotWidget::FitPlotWidget(QWidget* parent) : QWidget(parent) {
  setMinimumSize(240, 160);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FitPlotWidget::SetContent(const GraphView& axes, std::vector<PointSet> series) {
  axes_ = axes;
  series_ = std::move(series);
  update();
}

void FitPlotWidget::Draw(Canvas& c, int w, int h) const {
  GraphView g = axes_;
  g.GraphRect = IntRect{0, 0, w, h};
  DrawPointSets(c, g, series_);
}

bool FitPlotWidget::Export(const std::string& path) const {
  return ExportDrawing(path, width(), height(), [this](Canvas& c) { Draw(c, width(), height()); });
}

void FitPlotWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter);
  Draw(canvas, width(), height());
}

}  // namespace zx
