// Axes of the graph: geometry, value-to-pixel mapping, range check with
// automatic scaling, and the drawing of background, frame, ticks and titles.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graph/canvas.h"
#include "model/graph_view.h"

namespace zx {

// Receives the texts of range warnings; the window shows them after the paint.
using WarningSink = std::function<void(const std::string&)>;

extern const char kXAxisWarning[];
extern const char kYAxisWarning[];

// Resets the graph record for a new or freshly loaded project and applies
// the axes of the calculation mode. Manual limits, ranges and steps stay.
void ResetGraphView(GraphView& g, CalcMode mode);

// The plot area inside GraphRect: margins mx/my, size W x H and the origin
// (x0, y0) at its bottom-left corner.
struct PlotGeometry {
  int mx = 0, my = 0;
  int W = 0, H = 0;
  int x0 = 0, y0 = 0;
};
PlotGeometry GetPlotGeometry(const GraphView& g);

// Truncation toward zero for pixel values; NaN gives 0 and values beyond a
// million pixels are clamped, so no double reaches int undefined.
int TruncToPixel(double v);

// One axis in axis coordinates (log10 of the values on a logarithmic axis).
struct AxisMapping {
  bool log = false;
  double lo = 0, hi = 0;  // range in axis coordinates
  int origin = 0;         // pixel of lo
  int length = 0;         // W or H
  int direction = 1;      // +1 to the right, -1 upwards

  double Coord(double v) const;
  int Pixel(double coord) const;
  // Finite range with a non-zero span: pixels can be computed.
  bool Usable() const;
};
AxisMapping XMapping(const GraphView& g);
AxisMapping YMapping(const GraphView& g);

int MapX(const GraphView& g, double v);
int MapY(const GraphView& g, double v);

// n with 10^n <= v < 10^(n+1), for n in -255..254; none for v <= 0, v
// outside that range, and NaN.
std::optional<int> DecadeOf(double v);

// When RescalePending is set: checks both ranges and, for axes with
// automatic scaling, rounds them outward; sets the tick steps. The first
// failing axis reports its warning and ends the check (false, the flag
// stays set). Without the flag it does nothing and returns false.
bool CheckAndScaleAxes(GraphView& g, const WarningSink& warn);

// Values of the ticks of an axis, at most kMaxTicks of them; empty when the
// range and step do not describe an increasing run.
constexpr int kMaxTicks = 1000;
std::vector<double> TickValues(bool log, double low, double high, double step);
// Labels of an axis whose range reaches 1000 or 1e-5 use exponent notation.
bool UsesSciLabels(double low, double high);
// A value that rounds to zero is labelled "0", never "-0".
std::string TickLabel(double v, bool sci);

// A label candidate along its axis: the pixels it covers (from < to) and
// whether it must stay (an end of the axis or a whole power of ten).
struct LabelSpan {
  int from = 0, to = 0;
  enum class Rank { End, Decade, Other } rank = Rank::Other;
};
// Which labels to draw so that no two come closer than `gap` pixels: the
// ends first, then the powers of ten, then the others, each in axis order.
std::vector<bool> ThinLabels(const std::vector<LabelSpan>& spans, int gap);
LabelSpan::Rank RankOfTick(double v, bool first, bool last);
// A linear axis's labels: every tick's, or when they do not all fit, those
// of every 2nd, 5th, 10th, ... tick counted from zero, the first stride at
// which none comes closer than `gap` pixels: round values evenly spaced.
std::vector<bool> EvenLabels(const std::vector<double>& values, double step,
                             const std::vector<LabelSpan>& spans, int gap);

void DrawBackground(Canvas& c, const GraphView& g);
void DrawPlotArea(Canvas& c, const GraphView& g);
void DrawFrame(Canvas& c, const GraphView& g);
void DrawTicks(Canvas& c, const GraphView& g);
void DrawTitles(Canvas& c, const GraphView& g);
// Background, plot area, range check, frame, ticks and titles; the result
// is that of the range check.
bool DrawAxes(Canvas& c, GraphView& g, const WarningSink& warn);
// The graph without data: background, plot area, frame and titles.
void DrawEmptyGraph(Canvas& c, const GraphView& g);

}  // namespace zx
