// Drawing of the graph's background, frame, ticks with labels and titles.
#include <climits>
#include <cmath>

#include "graph/axes.h"

namespace zx {

namespace {

constexpr Rgb kTextColor{0, 0, 0};
constexpr int kLabelGap = 2;  // pixels kept free between two X labels

Pen FramePen(const GraphView& g) { return Pen{g.FrameWidth, g.FrameColor, PenStyle::Solid}; }

}  // namespace

void DrawBackground(Canvas& c, const GraphView& g) { c.FillRect(g.GraphRect, g.BackColor); }

void DrawPlotArea(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  c.FillRect(IntRect{p.mx, p.my, p.mx + p.W, p.my + p.H}, g.PlotColor);
}

void DrawFrame(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  const Pen pen = FramePen(g);
  c.Line({p.x0, p.y0}, {g.GraphRect.right - p.mx, p.y0}, pen);
  c.Line({p.x0, p.y0}, {p.x0, p.my}, pen);
}

void DrawTicks(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  const Pen pen = FramePen(g);
  if (g.XScaleValid) {
    const int tx = TruncToPixel(p.W * g.XTickRatio);
    const bool sci = UsesSciLabels(g.XLow, g.XHigh);
    int freeFrom = INT_MIN;  // first pixel right of the last label drawn
    for (double v : TickValues(IsLogAxis(g.XType), g.XLow, g.XHigh, g.XStep)) {
      const int px = MapX(g, v);
      c.Line({px, p.y0}, {px, p.y0 - tx}, pen);
      const std::string text = TickLabel(v, sci);
      const TextSize size = c.MeasureText(text, false);
      const int left = px - size.cx / 2;
      // Every tick is marked; a label that would run into the previous one
      // is left out so that the axis stays readable.
      if (left < freeFrom) continue;
      c.DrawText({left, p.y0 + size.cy / 2}, text, false, kTextColor);
      freeFrom = left + size.cx + kLabelGap;
    }
  }
  if (g.YScaleValid) {
    const int ty = TruncToPixel(p.H * g.YTickRatio);
    const bool sci = UsesSciLabels(g.YLow, g.YHigh);
    int freeAbove = INT_MAX;  // labels run upwards from the lowest tick
    for (double v : TickValues(IsLogAxis(g.YType), g.YLow, g.YHigh, g.YStep)) {
      const int py = MapY(g, v);
      c.Line({p.x0, py}, {p.x0 + ty, py}, pen);
      const std::string text = TickLabel(v, sci);
      const TextSize size = c.MeasureText(text, false);
      const int top = py - size.cy / 2;
      if (top + size.cy > freeAbove) continue;
      c.DrawText({p.x0 - size.cx - 2, top}, text, false, kTextColor);
      freeAbove = top;
    }
  }
}

void DrawTitles(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  const TextSize xs = c.MeasureText(g.XTitle, false);
  const int xx = TruncToPixel(p.x0 + p.W / 2.0 - xs.cx / 2.0);
  c.DrawText({xx, p.y0 + xs.cy / 2 + 2 * xs.cy}, g.XTitle, false, kTextColor);
  // The Y title reads upwards, centred on the plot height left of the labels.
  const TextSize ys = c.MeasureText(g.YTitle, true);
  const int yy = TruncToPixel(p.y0 - p.H / 2.0 + ys.cx / 2.0);
  c.DrawText({p.x0 - 2 * ys.cy - 15, yy}, g.YTitle, true, kTextColor);
}

bool DrawAxes(Canvas& c, GraphView& g, const WarningSink& warn) {
  DrawBackground(c, g);
  DrawPlotArea(c, g);
  const bool scaled = CheckAndScaleAxes(g, warn);
  DrawFrame(c, g);
  DrawTicks(c, g);
  DrawTitles(c, g);
  return scaled;
}

void DrawEmptyGraph(Canvas& c, const GraphView& g) {
  DrawBackground(c, g);
  DrawPlotArea(c, g);
  DrawFrame(c, g);
  DrawTitles(c, g);
}

}  // namespace zx
