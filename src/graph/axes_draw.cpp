// Drawing of the graph's background, frame, ticks with labels and titles.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graph/axes.h"

namespace zx {

namespace {

constexpr Rgb kTextColor{0, 0, 0};

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

namespace {

// One tick with its label; `at` is where the label's top-left corner goes.
struct TickMark {
  int pixel = 0;
  std::string text;
  IntPoint at;
  TextSize size;
  bool labelled = false;
};

// The ticks of one axis and which of their labels fit.
std::vector<TickMark> LayOutTicks(Canvas& c, const GraphView& g, bool xAxis) {
  std::vector<TickMark> marks;
  const AxisView& a = xAxis ? g.X : g.Y;
  if (!a.ScaleValid) return marks;
  const PlotGeometry p = GetPlotGeometry(g);
  const double low = a.Low;
  const double high = a.High;
  const bool log = a.Type == AxisScale::Log;
  const bool sci = UsesSciLabels(low, high);
  const std::vector<double> values = TickValues(log, low, high, a.Step);
  std::vector<LabelSpan> spans;
  int gap = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    TickMark m;
    m.pixel = xAxis ? MapX(g, values[i]) : MapY(g, values[i]);
    m.text = TickLabel(values[i], sci);
    m.size = c.MeasureText(m.text, false);
    LabelSpan span;
    if (xAxis) {
      m.at = {m.pixel - m.size.cx / 2, p.y0 + m.size.cy / 2};
      span.from = m.at.x;
      span.to = m.at.x + m.size.cx;
    } else {
      m.at = {p.x0 - m.size.cx - 2, m.pixel - m.size.cy / 2};
      span.from = m.at.y;
      span.to = m.at.y + m.size.cy;
    }
    // Half a line of space keeps neighbouring labels apart to the eye.
    gap = std::max(gap, m.size.cy / 2);
    span.rank = RankOfTick(values[i], i == 0, i + 1 == values.size());
    spans.push_back(span);
    marks.push_back(std::move(m));
  }
  const std::vector<bool> keep =
      log ? ThinLabels(spans, gap) : EvenLabels(values, a.Step, spans, gap);
  for (std::size_t i = 0; i < marks.size(); ++i) marks[i].labelled = keep[i];
  return marks;
}

}  // namespace

void DrawTicks(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  const Pen pen = FramePen(g);
  // Every tick is marked; labels that do not fit are left out.
  const int tx = TruncToPixel(p.W * g.X.TickRatio);
  for (const TickMark& m : LayOutTicks(c, g, true)) {
    c.Line({m.pixel, p.y0}, {m.pixel, p.y0 - tx}, pen);
    if (m.labelled) c.DrawText(m.at, m.text, false, kTextColor);
  }
  const int ty = TruncToPixel(p.H * g.Y.TickRatio);
  for (const TickMark& m : LayOutTicks(c, g, false)) {
    c.Line({p.x0, m.pixel}, {p.x0 + ty, m.pixel}, pen);
    if (m.labelled) c.DrawText(m.at, m.text, false, kTextColor);
  }
}

void DrawTitles(Canvas& c, const GraphView& g) {
  const PlotGeometry p = GetPlotGeometry(g);
  const TextSize xs = c.MeasureText(g.X.Title, false);
  const int xx = TruncToPixel(p.x0 + p.W / 2.0 - xs.cx / 2.0);
  c.DrawText({xx, p.y0 + xs.cy / 2 + 2 * xs.cy}, g.X.Title, false, kTextColor);
  // The Y title reads upwards, centred on the plot height left of the labels.
  const TextSize ys = c.MeasureText(g.Y.Title, true);
  const int yy = TruncToPixel(p.y0 - p.H / 2.0 + ys.cx / 2.0);
  int x = p.x0 - 2 * ys.cy - 15;
  // Wide labels push it further left, never off the graph.
  for (const TickMark& m : LayOutTicks(c, g, false))
    if (m.labelled) x = std::min(x, m.at.x - ys.cy / 2 - ys.cy);
  c.DrawText({std::max(x, g.GraphRect.left), yy}, g.Y.Title, true, kTextColor);
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
