#include "graph/point_plot.h"

#include <cmath>

#include "graph/series_draw.h"
#include "model/series_range.h"

namespace zx {

namespace {

bool Drawable(double x, double y, bool logX, bool logY) {
  return std::isfinite(x) && std::isfinite(y) && (!logX || x > 0) && (!logY || y > 0);
}

}  // namespace

bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const WarningSink& warn) {
  const bool logX = g.XType == AxisScale::Log;
  const bool logY = g.YType == AxisScale::Log;
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
    // Points an axis cannot show are left out, as a data file's would be.
    std::vector<double> xs, ys;
    for (std::size_t k = 0; k < set.x.size() && k < set.y.size(); ++k)
      if (Drawable(set.x[k], set.y[k], logX, logY)) xs.push_back(set.x[k]), ys.push_back(set.y[k]);
    DrawPoints(c, g, set.style, xs, ys);
  }
  return true;
}

}  // namespace zx
