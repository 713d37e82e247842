// Graphs of series held in memory (the fit window's plots): axes scaled to
// every series, then the series in order.
#pragma once

#include <vector>

#include "graph/axes.h"
#include "model/project.h"

namespace zx {

struct PlotSeries {
  SeriesEntry style;  // marker and line; the extents are taken from x, y
  std::vector<double> x, y;
};

// A marker-less solid line in the colour.
SeriesEntry LineStyle(Rgb color, int width = 1);
// Markers without a line (line style None).
SeriesEntry MarkerStyle(Rgb color, MarkerShape marker = MarkerShape::FilledCircle, int size = 3);

// Scales the view's axes to the points of every series that can be placed
// on them (values > 0 on a logarithmic axis) and draws axes and series;
// without any such point the empty graph.
void DrawPlot(Canvas& c, GraphView& g, const std::vector<PlotSeries>& series);

}  // namespace zx
