// A graph of the fit window: series held in memory, drawn by the graph
// code on the widget's whole area, so that it follows the window's size,
// with pale bands under them and a legend beside them.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "graph/point_plot.h"

namespace zx {

// One line of the legend: a marker in the data's colour and a short line in
// the curve's, then the text in white on the curve's colour, as the
// condition list shows the condition.
struct LegendEntry {
  std::string text;
  Rgb marker;
  Rgb line;
};

// Images of the plots are written at this many times the widget's size.
inline constexpr double kPlotExportScale = 2.0;

class FitPlotWidget : public QWidget {
  Q_OBJECT

 public:
  explicit FitPlotWidget(QWidget* parent = nullptr);

  // The axes (types and titles) and what to draw on them.
  void SetContent(const GraphView& axes, std::vector<PointSet> series,
                  std::vector<PointBand> bands = {}, std::vector<LegendEntry> legend = {});
  const std::vector<PointSet>& Series() const { return series_; }
  const std::vector<PointBand>& Bands() const { return bands_; }
  const std::vector<LegendEntry>& Legend() const { return legend_; }

  // Draws the graph at w x h pixels, as the widget shows it at that size.
  void Draw(Canvas& c, int w, int h) const;
  // The graph as the widget shows it, at kPlotExportScale times its size,
  // into a PNG or SVG file (replaced in one step).
  bool Export(const std::string& path) const;

  QSize sizeHint() const override { return {520, 340}; }
  // Room for the axes' labels and titles, the legend and a usable plot.
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  GraphView axes_;
  std::vector<PointSet> series_;
  std::vector<PointBand> bands_;
  std::vector<LegendEntry> legend_;
};

}  // namespace zx
