#include "graph/point_plot.h"

#include <cmath>
#include <span>

#include "graph/series_draw.h"
#include "model/series_range.h"

namespace zx {

namespace {

bool Drawable(double x, double y, bool logX, bool logY) {
  return std::isfinite(x) && std::isfinite(y) && (!logX || x > 0) && (!logY || y > 0);
}

}  // namespace

SeriesEntry MarkersOnly(Rgb color, int size, MarkerShape marker) {
  SeriesEntry s;
  s.Marker = marker;
  s.MarkerSize = size;
  s.MarkerColor = s.LineColor = color;
  s.LineStyle = LinePattern::None;
  return s;
}

SeriesEntry LineOnly(Rgb color, LinePattern pattern, int width) {
  SeriesEntry s;
  s.Marker = MarkerShape::None;
  s.LineStyle = pattern;
  s.LineWidth = width;
  s.MarkerColor = s.LineColor = color;
  return s;
}

bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const WarningSink& warn) {
  const bool logX = g.X.Type == AxisScale::Log;
  const bool logY = g.Y.Type == AxisScale::Log;
  g.RangeValid = false;
  for (const PointSet& set : sets) {
    SeriesEntry extent;
    int count = 0;
    for (std::size_t k = 0; k < set.x.size() && k < set.y.size(); ++k) {
      const double x = set.x[k], y = set.y[k];
      if (!Drawable(x, y, logX, logY)) continue;
      if (count++ == 0) {
        extent.SeriesXMin = extent.SeriesXMax = x;
        extent.SeriesYMin = extent.SeriesYMax = y;
      } else {
        extent.SeriesXMin = std::fmin(extent.SeriesXMin, x);
        extent.SeriesXMax = std::fmax(extent.SeriesXMax, x);
        extent.SeriesYMin = std::fmin(extent.SeriesYMin, y);
        extent.SeriesYMax = std::fmax(extent.SeriesYMax, y);
      }
    }
    if (count > 0) MergeSeriesRange(g, extent);
  }
  if (!g.RangeValid) {
    DrawEmptyGraph(c, g);
    return false;
  }
  ApplyManualRanges(g);
  g.RescalePending = true;
  DrawAxes(c, g, warn);
  for (const PointSet& set : sets) {
    // Each run of showable points is drawn on its own: a line never
    // bridges a point that has no place on the axes.
    const std::size_t n = std::min(set.x.size(), set.y.size());
    const std::span<const double> xs(set.x.data(), n), ys(set.y.data(), n);
    std::size_t k = 0;
    while (k < n) {
      while (k < n && !Drawable(xs[k], ys[k], logX, logY)) ++k;
      const std::size_t start = k;
      while (k < n && Drawable(xs[k], ys[k], logX, logY)) ++k;
      if (k > start)
        DrawPoints(c, g, set.style, xs.subspan(start, k - start), ys.subspan(start, k - start));
    }
  }
  return true;
}

}  // namespace zx
