#include "graph/series_draw.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "model/series_file.h"
#include "model/tr_noop.h"

namespace zx {

const char kOutOfMemoryMessage[] = ZX_TR_NOOP("Core", "メモリの確保に失敗しました。終了します");

PenStyle LineStyleOf(LinePattern pattern) {
  switch (pattern) {
    case LinePattern::Dash:
      return PenStyle::Dash;
    case LinePattern::Dot:
      return PenStyle::Dot;
    case LinePattern::DashDot:
      return PenStyle::DashDot;
    case LinePattern::DashDotDot:
      return PenStyle::DashDotDot;
    case LinePattern::None:
    case LinePattern::Solid:
      break;
  }
  return PenStyle::Solid;
}

void DrawMarker(Canvas& c, const GraphView& g, const SeriesEntry& s, IntPoint at) {
  const int r = s.MarkerSize;
  const IntRect box{at.x - r, at.y - r, at.x + r, at.y + r};
  const Pen outline{1, s.LineColor, PenStyle::Solid};
  const std::vector<IntPoint> triangle{
      {at.x, at.y - r}, {at.x - r, at.y + r}, {at.x + r, at.y + r}};
  switch (s.Marker) {
    case MarkerShape::FilledCircle:
      c.Ellipse(box, outline, s.MarkerColor);
      break;
    case MarkerShape::FilledRectangle:
      c.Rectangle(box, outline, s.MarkerColor);
      break;
    case MarkerShape::FilledTriangle:
      c.Polygon(triangle, outline, s.MarkerColor);
      break;
    case MarkerShape::Circle:
      c.Ellipse(box, outline, g.BackColor);
      break;
    case MarkerShape::Rectangle:
      c.Rectangle(box, outline, g.BackColor);
      break;
    case MarkerShape::Triangle:
      c.Polygon(triangle, outline, g.BackColor);
      break;
    case MarkerShape::None:
      break;
  }
}

namespace {

// Where the line through the outside point o with slope m leaves the box.
AxisPoint ExitPoint(const AxisBox& b, AxisPoint o, double m) {
  auto onBottom = [&] { return AxisPoint{o.x + (b.ly - o.y) / m, b.ly}; };
  auto onTop = [&] { return AxisPoint{o.x + (b.hy - o.y) / m, b.hy}; };
  auto onLeft = [&] { return AxisPoint{b.lx, o.y + (b.lx - o.x) * m}; };
  auto onRight = [&] { return AxisPoint{b.hx, o.y + (b.hx - o.x) * m}; };
  if (o.x < b.lx) {
    const double atLeft = o.y + (b.lx - o.x) * m;
    if (m >= 0) return atLeft < b.ly ? onBottom() : onLeft();
    return atLeft <= b.hy ? onLeft() : onTop();
  }
  if (o.x > b.hx) {
    const double atRight = o.y + (b.hx - o.x) * m;
    if (m >= 0) return atRight <= b.hy ? onRight() : onTop();
    return atRight < b.ly ? onBottom() : onRight();
  }
  return o.y < b.ly ? onBottom() : onTop();
}

}  // namespace

std::optional<ClippedSegment> ClipSegment(const AxisBox& box, AxisPoint p, AxisPoint q) {
  const bool pIn = box.Contains(p);
  const bool qIn = box.Contains(q);
  if (pIn && qIn) return ClippedSegment{p, q};
  if (!pIn && !qIn) return std::nullopt;
  const AxisPoint in = pIn ? p : q;
  const AxisPoint out = pIn ? q : p;
  const double m = (q.y - p.y) / (q.x - p.x);
  AxisPoint exit = ExitPoint(box, out, m);
  // Rounding can put the exit a hair outside the box (or make it NaN for a
  // nearly flat slope); it never lies beyond the box or the segment.
  if (!std::isfinite(exit.x) || !std::isfinite(exit.y)) exit = in;
  exit.x = std::clamp(exit.x, box.lx, box.hx);
  exit.y = std::clamp(exit.y, box.ly, box.hy);
  return ClippedSegment{in, exit};
}

bool DrawSeries(Canvas& c, const GraphView& g, const SeriesEntry& s, bool* outOfMemory) {
  if (outOfMemory) *outOfMemory = false;
  // The points of this paint's scan; a series drawn without one is read.
  std::shared_ptr<const SeriesPoints> points = s.Points;
  if (!points || points->path != s.Path) {
    try {
      auto read = std::make_shared<SeriesPoints>();
      read->path = s.Path;
      read->x.reserve(static_cast<std::size_t>(std::max(s.PointCount, 0)));
      read->y.reserve(static_cast<std::size_t>(std::max(s.PointCount, 0)));
      if (!ReadSeriesFile(g, s, &read->x, &read->y)) return false;
      points = std::move(read);
    } catch (const std::bad_alloc&) {
      if (outOfMemory) *outOfMemory = true;
      return false;
    }
  }
  const std::vector<double>& xs = points->x;
  const std::vector<double>& ys = points->y;
  // The arrays hold as many points as this paint's scan counted.
  const std::size_t n =
      std::min({xs.size(), ys.size(), static_cast<std::size_t>(std::max(s.PointCount, 0))});
  DrawPoints(c, g, s, std::span<const double>(xs.data(), n), std::span<const double>(ys.data(), n));
  return true;
}

void DrawPoints(Canvas& c, const GraphView& g, const SeriesEntry& s, std::span<const double> xs,
                std::span<const double> ys) {
  const std::size_t n = std::min(xs.size(), ys.size());
  const AxisMapping mx = XMapping(g);
  const AxisMapping my = YMapping(g);
  // Without a usable range no pixel can be computed; the axis check has
  // already warned about it.
  if (!mx.Usable() || !my.Usable()) return;
  const AxisBox box{mx.lo, mx.hi, my.lo, my.hi};
  auto pixel = [&](AxisPoint a) { return IntPoint{mx.Pixel(a.x), my.Pixel(a.y)}; };
  const Pen linePen{s.LineWidth, s.LineColor, LineStyleOf(s.LineStyle)};
  const bool joined = s.LineStyle != LinePattern::None;

  AxisPoint prev;
  for (std::size_t i = 0; i < n; ++i) {
    const AxisPoint cur{mx.Coord(xs[i]), my.Coord(ys[i])};
    if (box.Contains(cur)) DrawMarker(c, g, s, pixel(cur));
    if (i >= 1 && joined) {
      if (const auto seg = ClipSegment(box, prev, cur))
        c.Line(pixel(seg->from), pixel(seg->to), linePen);
    }
    prev = cur;
  }
}

}  // namespace zx
