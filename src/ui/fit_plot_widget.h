// A graph of the fit window: series held in memory, drawn by the graph
// code on the widget's whole area, so that it follows the window's size.
#pragma once

#include <QWidget>
#include <vector>

#include "graph/point_plot.h"

namespace zx {

class FitPlotWidget : public QWidget {
  Q_OBJECT

 public:
  explicit FitPlotWidget(QWidget* parent = nullptr);

  // The axes (types and titles) and what to draw on them.
  void SetContent(const GraphView& axes, std::vector<PointSet> series);
  const std::vector<PointSet>& Series() const { return series_; }

  // Draws the graph at w x h pixels, as the widget shows it at that size.
  void Draw(Canvas& c, int w, int h) const;
  // The graph at the widget's current size into a PNG or SVG file.
  bool Export(const std::string& path) const;

  QSize sizeHint() const override { return {520, 340}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  GraphView axes_;
  std::vector<PointSet> series_;
};

}  // namespace zx
