#include "graph/point_plot.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "graph/series_draw.h"
#include "model/series_range.h"

namespace zx {

Rgb BandFill(Rgb curve) {
  auto mix = [](std::uint8_t v) { return static_cast<std::uint8_t>(v + (255 - v) * 3 / 4); };
  return Rgb{mix(curve.r), mix(curve.g), mix(curve.b)};
}

namespace {

bool Drawable(double x, double y, bool logX, bool logY) {
  return std::isfinite(x) && std::isfinite(y) && (!logX || x > 0) && (!logY || y > 0);
}

// Each run of showable abscissae becomes one polygon: the upper edge left
// to right, the lower one back, every corner held inside the plot area.
void DrawBand(Canvas& c, const GraphView& g, const PointBand& b, bool logX, bool logY) {
  const PlotGeometry pg = GetPlotGeometry(g);
  if (pg.W < 3 || pg.H < 3) return;
  auto clampX = [&](int x) { return std::clamp(x, pg.x0 + 1, pg.x0 + pg.W - 1); };
  auto clampY = [&](int y) { return std::clamp(y, pg.y0 - pg.H + 1, pg.y0 - 1); };
  const std::size_t n = std::min({b.x.size(), b.lower.size(), b.upper.size()});
  auto showable = [&](std::size_t k) {
    return Drawable(b.x[k], b.lower[k], logX, logY) && Drawable(b.x[k], b.upper[k], logX, logY);
  };
  std::size_t k = 0;
  while (k < n) {
    while (k < n && !showable(k)) ++k;
    const std::size_t start = k;
    while (k < n && showable(k)) ++k;
    if (k - start < 2) continue;
    std::vector<IntPoint> polygon;
    for (std::size_t i = start; i < k; ++i)
      polygon.push_back({clampX(MapX(g, b.x[i])), clampY(MapY(g, b.upper[i]))});
    for (std::size_t i = k; i-- > start;)
      polygon.push_back({clampX(MapX(g, b.x[i])), clampY(MapY(g, b.lower[i]))});
    c.Polygon(polygon, Pen{1, b.fill, PenStyle::Solid}, b.fill);
  }
}

// The span of the set's drawable points in `extent`; false when it has none.
bool FindExtent(const PointSet& set, bool logX, bool logY, SeriesEntry& extent) {
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
  return count > 0;
}

// Each run of showable points is drawn on its own: a line never bridges a
// point that has no place on the axes.
void DrawSet(Canvas& c, const GraphView& g, const PointSet& set, bool logX, bool logY) {
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
  return DrawPointSets(c, g, sets, {}, warn);
}

bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const std::vector<PointBand>& bands, const WarningSink& warn) {
  const bool logX = g.X.Type == AxisScale::Log;
  const bool logY = g.Y.Type == AxisScale::Log;
  g.RangeValid = false;
  for (const PointSet& set : sets) {
    SeriesEntry extent;
    if (FindExtent(set, logX, logY, extent)) MergeSeriesRange(g, extent);
  }
  if (!g.RangeValid) {
    DrawEmptyGraph(c, g);
    return false;
  }
  ApplyManualRanges(g);
  g.RescalePending = true;
  DrawAxes(c, g, warn);
  for (const PointBand& b : bands) DrawBand(c, g, b, logX, logY);
  for (const PointSet& set : sets) DrawSet(c, g, set, logX, logY);
  return true;
}

}  // namespace zx
