#include "graph/plot_series.h"

#include <algorithm>
#include <cmath>

#include "graph/series_draw.h"
#include "model/series_range.h"

namespace zx {

SeriesEntry LineStyle(Rgb color, int width) {
  SeriesEntry s;
  s.Marker = MarkerShape::None;
  s.LineStyle = LinePattern::Solid;
  s.LineWidth = width;
  s.LineColor = s.MarkerColor = color;
  return s;
}

SeriesEntry MarkerStyle(Rgb color, MarkerShape marker, int size) {
  SeriesEntry s;
  s.Marker = marker;
  s.MarkerSize = size;
  s.LineStyle = LinePattern::None;
  s.LineWidth = 0;
  s.LineColor = s.MarkerColor = color;
  return s;
}

void DrawPlot(Canvas& c, GraphView& g, const std::vector<PlotSeries>& series) {
  const bool logX = g.XType == AxisScale::Log, logY = g.YType == AxisScale::Log;
  g.RangeValid = false;
  for (const PlotSeries& ps : series) {
    SeriesEntry s = ps.style;
    s.PointCount = 0;
    for (std::size_t i = 0; i < std::min(ps.x.size(), ps.y.size()); ++i) {
      const double x = ps.x[i], y = ps.y[i];
      if (!std::isfinite(x) || !std::isfinite(y) || (logX && !(x > 0)) || (logY && !(y > 0)))
        continue;
      if (s.PointCount++ == 0) {
        s.SeriesXMin = s.SeriesXMax = x;
        s.SeriesYMin = s.SeriesYMax = y;
      }
      s.SeriesXMin = std::min(s.SeriesXMin, x);
      s.SeriesXMax = std::max(s.SeriesXMax, x);
      s.SeriesYMin = std::min(s.SeriesYMin, y);
      s.SeriesYMax = std::max(s.SeriesYMax, y);
    }
    if (s.PointCount > 0) MergeSeriesRange(g, s);
  }
  ApplyManualRanges(g);
  if (!g.RangeValid) {
    DrawEmptyGraph(c, g);
    return;
  }
  g.RescalePending = true;
  DrawAxes(c, g, {});
  for (const PlotSeries& ps : series) {
    DrawPoints(c, g, ps.style, ps.x, ps.y);
  }
}

}  // namespace zx
