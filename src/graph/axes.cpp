#include "graph/axes.h"

#include <cmath>

namespace zx {

int TruncToPixel(double v) {
  // Pixels far outside any surface are clamped so that the conversion to
  // int is always defined.
  constexpr double kPixelLimit = 1.0e6;
  if (std::isnan(v)) return 0;
  if (v > kPixelLimit) return static_cast<int>(kPixelLimit);
  if (v < -kPixelLimit) return -static_cast<int>(kPixelLimit);
  return static_cast<int>(std::trunc(v));
}

void ResetGraphView(GraphView& g, CalcMode mode) {
  g.GraphRect = IntRect{0, 0, 468, 357};
  g.CommentChars = "#";
  g.FrameColor = Rgb{0, 0, 0};
  g.FrameWidth = 2;
  g.PlotColor = Rgb{255, 255, 255};
  g.BackColor = Rgb{255, 255, 255};
  g.X.Type = AxisScale::Log;
  g.X.AutoScale = true;
  g.X.Margin = 0.3;
  g.X.TickRatio = 0.01;
  g.Y.Type = AxisScale::Log;
  g.Y.AutoScale = true;
  g.Y.Margin = 0.3;
  g.Y.TickRatio = 0.01;
  g.RangeValid = false;
  ApplyModeAxes(g, mode);
}

PlotGeometry GetPlotGeometry(const GraphView& g) {
  PlotGeometry p;
  const int right = g.GraphRect.right;
  const int bottom = g.GraphRect.bottom;
  p.mx = TruncToPixel(right * (g.X.Margin / 2));
  p.my = TruncToPixel(bottom * (g.Y.Margin / 2));
  p.W = right - 2 * p.mx;
  p.H = bottom - 2 * p.my;
  p.x0 = p.mx;
  p.y0 = bottom - p.my;
  return p;
}

double AxisMapping::Coord(double v) const { return log ? std::log10(v) : v; }

int AxisMapping::Pixel(double coord) const {
  const double scale = length / std::fabs(hi - lo);
  return origin + direction * TruncToPixel((coord - lo) * scale);
}

bool AxisMapping::Usable() const { return std::isfinite(lo) && std::isfinite(hi) && hi != lo; }

namespace {

AxisMapping MakeMapping(AxisScale type, double low, double high, int origin, int length,
                        int direction) {
  AxisMapping m;
  m.log = type == AxisScale::Log;
  m.lo = m.Coord(low);
  m.hi = m.Coord(high);
  m.origin = origin;
  m.length = length;
  m.direction = direction;
  return m;
}

}  // namespace

AxisMapping XMapping(const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  return MakeMapping(g.X.Type, g.X.Low, g.X.High, p.x0, p.W, 1);
}

// Pixels grow downwards: the Y axis runs up from the origin.
AxisMapping YMapping(const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  return MakeMapping(g.Y.Type, g.Y.Low, g.Y.High, p.y0, p.H, -1);
}

int MapX(const GraphView& g, double v) {
  const AxisMapping m = XMapping(g);
  return m.Pixel(m.Coord(v));
}

int MapY(const GraphView& g, double v) {
  const AxisMapping m = YMapping(g);
  return m.Pixel(m.Coord(v));
}

std::optional<int> DecadeOf(double v) {
  for (int i = 0; i <= 254; ++i) {
    if (std::pow(10.0, i) <= v && v < std::pow(10.0, i + 1)) return i;
    if (std::pow(10.0, -(i + 1)) <= v && v < std::pow(10.0, -i)) return -(i + 1);
  }
  return std::nullopt;
}

}  // namespace zx
