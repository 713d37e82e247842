#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "graph/axes.h"
#include "recording_canvas.h"

namespace zx {
namespace {

using test::DrawOp;
using test::RecordingCanvas;

GraphView ViewWithRange(AxisScale xType, double xl, double xh, AxisScale yType, double yl,
                        double yh) {
  GraphView g;
  ResetGraphView(g, CalcMode::EJ);
  g.X.Type = xType;
  g.Y.Type = yType;
  g.X.Low = xl;
  g.X.High = xh;
  g.Y.Low = yl;
  g.Y.High = yh;
  g.RescalePending = true;
  return g;
}

std::vector<std::string> Collect(const std::vector<double>& ticks, bool sci) {
  std::vector<std::string> out;
  for (double v : ticks) out.push_back(TickLabel(v, sci));
  return out;
}

TEST(GraphGeometry, DefaultsGiveTheKnownPlotArea) {
  GraphView g;
  ResetGraphView(g, CalcMode::EJ);
  const PlotGeometry p = GetPlotGeometry(g);
  EXPECT_EQ(p.mx, 70);
  EXPECT_EQ(p.my, 53);
  EXPECT_EQ(p.W, 328);
  EXPECT_EQ(p.H, 251);
  EXPECT_EQ(p.x0, 70);
  EXPECT_EQ(p.y0, 304);
}

TEST(GraphGeometry, ResetFollowsTheCalculationModeAndKeepsManualLimits) {
  GraphView g;
  g.X.Min = 5;
  g.Y.Max = 7;
  g.X.AutoScale = false;
  g.RangeValid = true;
  g.FrameWidth = 9;
  ResetGraphView(g, CalcMode::JcB);
  EXPECT_EQ(g.X.Type, AxisScale::Linear);
  EXPECT_EQ(g.Y.Type, AxisScale::Log);
  EXPECT_EQ(g.X.Title, "B(T)");
  EXPECT_EQ(g.Y.Title, "Jc(A/m^2)");
  EXPECT_TRUE(g.X.AutoScale);
  EXPECT_FALSE(g.RangeValid);
  EXPECT_EQ(g.FrameWidth, 2);
  EXPECT_EQ(g.X.Min, 5);
  EXPECT_EQ(g.Y.Max, 7);
  ResetGraphView(g, CalcMode::EJ);
  EXPECT_EQ(g.X.Type, AxisScale::Log);
  EXPECT_EQ(g.X.Title, "J(A/m^2)");
  EXPECT_EQ(g.Y.Title, "E(V/m)");
}

TEST(GraphMapping, LinearAndLogarithmicTruncateTowardTheOrigin) {
  GraphView g = ViewWithRange(AxisScale::Linear, 0, 10, AxisScale::Log, 1e-7, 1e-1);
  EXPECT_EQ(MapX(g, 0), 70);
  EXPECT_EQ(MapX(g, 10), 398);
  EXPECT_EQ(MapX(g, 1), 70 + 32);  // 32.8 truncated
  EXPECT_EQ(MapY(g, 1e-7), 304);
  EXPECT_EQ(MapY(g, 1e-1), 53);
  EXPECT_EQ(MapY(g, 1e-6), 304 - 41);  // 41.83 truncated
}

TEST(GraphMapping, NonFiniteOrHugePixelsStayDefined) {
  GraphView g = ViewWithRange(AxisScale::Linear, 1, 1, AxisScale::Log, 0, 1);
  EXPECT_EQ(MapX(g, 1), 70);     // 0 * inf is NaN: taken as 0
  EXPECT_EQ(MapY(g, 0.5), 304);  // log10 0 = -inf in the range
  EXPECT_EQ(TruncToPixel(1e300), 1000000);
  EXPECT_EQ(TruncToPixel(-std::numeric_limits<double>::infinity()), -1000000);
  EXPECT_EQ(TruncToPixel(-2.7), -2);
}

TEST(DecadeOf, FindsThePowerOfTenBelow) {
  EXPECT_EQ(DecadeOf(1), 0);
  EXPECT_EQ(DecadeOf(9.99), 0);
  EXPECT_EQ(DecadeOf(10), 1);
  EXPECT_EQ(DecadeOf(8.5), 0);
  EXPECT_EQ(DecadeOf(0.5), -1);
  EXPECT_EQ(DecadeOf(0.01), -2);
  EXPECT_EQ(DecadeOf(3e-200), -200);
  EXPECT_FALSE(DecadeOf(0));
  EXPECT_FALSE(DecadeOf(-1));
  EXPECT_FALSE(DecadeOf(1e300));
  EXPECT_FALSE(DecadeOf(std::nan("")));
  EXPECT_FALSE(DecadeOf(std::numeric_limits<double>::infinity()));
}

TEST(CheckAndScaleAxes, RoundsOutwardAsInTheExamples) {
  GraphView g = ViewWithRange(AxisScale::Linear, 0.5, 9, AxisScale::Log, 2e-7, 3e-3);
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_FALSE(g.RescalePending);
  EXPECT_EQ(g.X.Low, 0);
  EXPECT_EQ(g.X.High, 10);
  EXPECT_EQ(g.X.Step, 1);
  EXPECT_DOUBLE_EQ(g.Y.Low, 1e-7);
  EXPECT_DOUBLE_EQ(g.Y.High, 0.1);
  EXPECT_EQ(g.Y.Step, 10);

  g = ViewWithRange(AxisScale::Log, 0.003, 0.5, AxisScale::Log, 1e8, 5e9);
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_DOUBLE_EQ(g.X.Low, 0.001);
  EXPECT_EQ(g.X.High, 1);  // an X bound below 1 rounds up to 1
  EXPECT_EQ(g.X.Step, 10);
  EXPECT_EQ(g.Y.Low, 1e8);
  EXPECT_EQ(g.Y.High, 6e9);
  EXPECT_EQ(g.Y.Step, 1);

  g = ViewWithRange(AxisScale::Log, 0.02, 0.05, AxisScale::Log, 3, 3);
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_DOUBLE_EQ(g.X.Low, 0.02);
  EXPECT_DOUBLE_EQ(g.X.High, 0.6);
  EXPECT_EQ(g.X.Step, 1);
  EXPECT_EQ(g.Y.Low, 3);  // a single point spans one digit
  EXPECT_EQ(g.Y.High, 4);
}

TEST(CheckAndScaleAxes, NegativeEndsRoundAwayFromThePoints) {
  // Low ends go down, high ends up, whatever their sign.
  GraphView g = ViewWithRange(AxisScale::Linear, -2.7, 3.1, AxisScale::Linear, -75, -12);
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_EQ(g.X.Low, -3);
  EXPECT_EQ(g.X.High, 4);
  EXPECT_EQ(g.Y.Low, -80);
  EXPECT_EQ(g.Y.High, -10);

  // Residual-like: small values on both sides of zero.
  g = ViewWithRange(AxisScale::Linear, -0.27, 0.05, AxisScale::Linear, -0.0031, -0.0004);
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_DOUBLE_EQ(g.X.Low, -0.3);
  EXPECT_LE(g.X.Low, -0.27);
  EXPECT_DOUBLE_EQ(g.X.High, 0.1);
  EXPECT_DOUBLE_EQ(g.Y.Low, -0.004);
  EXPECT_LE(g.Y.Low, -0.0031);
  EXPECT_DOUBLE_EQ(g.Y.High, 0.0);
  EXPECT_GE(g.Y.High, -0.0004);
}

TEST(CheckAndScaleAxes, ManualRangeKeepsItsBoundsButGetsAStep) {
  GraphView g = ViewWithRange(AxisScale::Log, 3e5, 2e9, AxisScale::Linear, -3, 47);
  g.X.AutoScale = false;
  g.Y.AutoScale = false;
  EXPECT_TRUE(CheckAndScaleAxes(g, {}));
  EXPECT_EQ(g.X.Low, 3e5);
  EXPECT_EQ(g.X.High, 2e9);
  EXPECT_EQ(g.X.Step, 10);
  EXPECT_EQ(g.Y.Low, -3);
  EXPECT_EQ(g.Y.High, 47);
  EXPECT_EQ(g.Y.Step, 10);
  EXPECT_EQ(TickValues(true, g.X.Low, g.X.High, g.X.Step),
            (std::vector<double>{3e5, 3e6, 3e7, 3e8}));
}

TEST(CheckAndScaleAxes, FailuresWarnOnceAndKeepThePendingFlag) {
  std::vector<std::string> warnings;
  auto sink = [&](const std::string& w) { warnings.push_back(w); };

  GraphView g =
      ViewWithRange(AxisScale::Linear, 2, 2, AxisScale::Log, 0, 5);  // zero span, and log bound 0
  EXPECT_FALSE(CheckAndScaleAxes(g, sink));
  EXPECT_EQ(warnings, std::vector<std::string>{kXAxisWarning});
  EXPECT_TRUE(g.RescalePending);
  EXPECT_EQ(g.X.Low, 2);
  EXPECT_FALSE(g.X.ScaleValid);
  EXPECT_FALSE(g.Y.ScaleValid);

  warnings.clear();
  g = ViewWithRange(AxisScale::Log, 1, 100, AxisScale::Log, -1, 5);
  EXPECT_FALSE(CheckAndScaleAxes(g, sink));
  EXPECT_EQ(warnings, std::vector<std::string>{kYAxisWarning});
  EXPECT_TRUE(g.X.ScaleValid);
  EXPECT_FALSE(g.Y.ScaleValid);

  warnings.clear();
  g = ViewWithRange(AxisScale::Log, 1e-200, 1e100, AxisScale::Log, 1, 2);  // 300 decades
  EXPECT_FALSE(CheckAndScaleAxes(g, sink));
  EXPECT_EQ(warnings.size(), 1u);

  warnings.clear();
  g = ViewWithRange(AxisScale::Linear, 0, std::numeric_limits<double>::infinity(), AxisScale::Log,
                    1, 2);
  EXPECT_FALSE(CheckAndScaleAxes(g, sink));
  EXPECT_EQ(warnings.size(), 1u);

  warnings.clear();
  g = ViewWithRange(AxisScale::Linear, 1, 5, AxisScale::Log, 1, 2);
  g.RescalePending = false;
  EXPECT_FALSE(CheckAndScaleAxes(g, sink));  // nothing to do
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(g.X.High, 5);
}

TEST(TickValues, StepOneOnALogAxisWalksTheDigits) {
  const std::vector<double> t = TickValues(true, 1e8, 6e9, 1);
  ASSERT_EQ(t.size(), 15u);
  EXPECT_EQ(t[8], 9e8);
  EXPECT_EQ(t[9], 1e9);
  EXPECT_EQ(t[14], 6e9);
  EXPECT_EQ(Collect(t, UsesSciLabels(1e8, 6e9)).front(), "1e8");
  EXPECT_EQ(Collect(t, true)[10], "2e9");

  // Rounding noise of 0.09 + 0.01 must not shift the later ticks off the digits.
  EXPECT_EQ(Collect(TickValues(true, 0.02, 0.6, 1), false),
            (std::vector<std::string>{"0.02", "0.03", "0.04", "0.05", "0.06", "0.07", "0.08",
                                      "0.09", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6"}));
}

TEST(TickValues, DecadesAndLinearSteps) {
  const std::vector<double> y = TickValues(true, 1e-7, 0.1, 10);
  EXPECT_EQ(Collect(y, UsesSciLabels(1e-7, 0.1)),
            (std::vector<std::string>{"1e-7", "1e-6", "1e-5", "1e-4", "1e-3", "1e-2", "1e-1"}));
  // A linear axis from 0 always writes exponents: 0 is not above 1e-5.
  EXPECT_TRUE(UsesSciLabels(0, 10));
  EXPECT_EQ(Collect(TickValues(false, 0, 10, 1), true),
            (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "1e1"}));
  EXPECT_EQ(Collect(TickValues(false, 1, 1.5, 0.1), UsesSciLabels(1, 1.5)),
            (std::vector<std::string>{"1", "1.1", "1.2", "1.3", "1.4", "1.5"}));
}

TEST(TickValues, AlwaysEndEvenForBrokenRanges) {
  EXPECT_TRUE(TickValues(false, 0, 10, 0).empty());
  EXPECT_TRUE(TickValues(false, 0, 10, -1).empty());
  EXPECT_TRUE(TickValues(true, 0, 10, 10).empty());
  EXPECT_TRUE(TickValues(true, -5, 10, 1).empty());
  EXPECT_TRUE(TickValues(false, std::nan(""), 10, 1).empty());
  EXPECT_EQ(TickValues(true, 1, 10, 0.5).size(), 1u);  // a shrinking run stops
  EXPECT_EQ(TickValues(false, 0, 1e9, 1).size(), static_cast<std::size_t>(kMaxTicks));
  EXPECT_EQ(TickValues(true, 1e-200, 1e200, 1).size(), static_cast<std::size_t>(kMaxTicks));
}

TEST(DrawEmptyGraph, BackgroundPlotAreaFrameAndTitlesOnly) {
  GraphView g;
  ResetGraphView(g, CalcMode::EJ);
  RecordingCanvas c;
  DrawEmptyGraph(c, g);
  const auto fills = c.OfKind(DrawOp::Fill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect.right, 468);
  EXPECT_EQ(fills[0].rect.bottom, 357);
  EXPECT_EQ(fills[1].rect.left, 70);
  EXPECT_EQ(fills[1].rect.top, 53);
  EXPECT_EQ(fills[1].rect.right, 398);
  EXPECT_EQ(fills[1].rect.bottom, 304);
  const auto lines = c.OfKind(DrawOp::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<IntPoint>{{70, 304}, {398, 304}}));
  EXPECT_EQ(lines[1].points, (std::vector<IntPoint>{{70, 304}, {70, 53}}));
  EXPECT_EQ(lines[0].pen, (Pen{2, {0, 0, 0}, PenStyle::Solid}));

  // Titles: centred under the plot, and upward left of the labels.
  const auto texts = c.OfKind(DrawOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "J(A/m^2)");
  EXPECT_EQ(texts[0].points[0], (IntPoint{210, 334}));  // 70+164-24, 304+6+24
  EXPECT_FALSE(texts[0].upward);
  EXPECT_EQ(texts[1].text, "E(V/m)");
  EXPECT_EQ(texts[1].points[0], (IntPoint{31, 196}));  // 70-24-15, trunc(304-125.5+18)
  EXPECT_TRUE(texts[1].upward);
}

TEST(DrawAxes, TicksHaveTheirLengthsAndLabelsTheirPlaces) {
  GraphView g = ViewWithRange(AxisScale::Linear, 0.5, 9, AxisScale::Log, 2e-7, 3e-3);
  RecordingCanvas c;
  EXPECT_TRUE(DrawAxes(c, g, {}));
  const auto lines = c.OfKind(DrawOp::Line);
  ASSERT_EQ(lines.size(), 2u + 11u + 7u);
  // X tick at 1: into the plot area, 3 pixels.
  EXPECT_EQ(lines[3].points, (std::vector<IntPoint>{{102, 304}, {102, 301}}));
  // Y tick at 1e-7 and the last one at 0.1 on the top of the plot.
  EXPECT_EQ(lines[13].points, (std::vector<IntPoint>{{70, 304}, {72, 304}}));
  EXPECT_EQ(lines[19].points, (std::vector<IntPoint>{{70, 53}, {72, 53}}));

  const auto texts = c.OfKind(DrawOp::Text);
  ASSERT_EQ(texts.size(), 11u + 7u + 2u);
  EXPECT_EQ(texts[1].text, "1");
  EXPECT_EQ(texts[1].points[0], (IntPoint{102 - 3, 304 + 6}));
  EXPECT_EQ(texts[10].text, "1e1");
  EXPECT_EQ(texts[11].text, "1e-7");
  EXPECT_EQ(texts[11].points[0], (IntPoint{70 - 24 - 2, 304 - 6}));
}

TEST(DrawAxes, LabelNotationIsChosenPerAxis) {
  GraphView g = ViewWithRange(AxisScale::Linear, 1.2, 3.9, AxisScale::Log, 1e8, 5e9);
  RecordingCanvas c;
  DrawAxes(c, g, {});
  const auto texts = c.Texts();
  EXPECT_EQ(texts.front(), "1");  // X: 1..4, fixed notation
  EXPECT_EQ(texts[3], "4");
  EXPECT_EQ(texts[4], "1e8");  // Y: reaches 1000, exponents
}

TEST(DrawAxes, CrowdedLabelsAreLeftOutButEveryTickIsMarked) {
  // One decade and a half on a log axis: a tick at every digit.
  GraphView g = ViewWithRange(AxisScale::Log, 5e6, 3e8, AxisScale::Log, 1e-8, 1e-2);
  RecordingCanvas c;
  DrawAxes(c, g, {});
  const auto lines = c.OfKind(DrawOp::Line);
  int xTicks = 0;
  for (const auto& l : lines)
    if (l.points[0].y == 304 && l.points[1].y == 301) ++xTicks;
  EXPECT_EQ(xTicks, 5 + 9 + 4);            // 5e6..9e6, 1e7..9e7, 1e8..4e8
  std::vector<std::pair<int, int>> spans;  // X labels: left, right
  for (const auto& t : c.OfKind(DrawOp::Text))
    if (!t.upward && t.points[0].y == 304 + RecordingCanvas::kTextHeight / 2)
      spans.emplace_back(t.points[0].x,
                         t.points[0].x + int(t.text.size()) * RecordingCanvas::kCharWidth);
  ASSERT_GE(spans.size(), 4u);
  EXPECT_LT(spans.size(), 22u);
  for (std::size_t i = 1; i < spans.size(); ++i) EXPECT_GT(spans[i].first, spans[i - 1].second);
}

TEST(DrawAxes, NoTicksOnAnAxisWhoseCheckFailed) {
  GraphView g = ViewWithRange(AxisScale::Log, 1, 100, AxisScale::Log, 0, 5);
  std::vector<std::string> warnings;
  RecordingCanvas c;
  EXPECT_FALSE(DrawAxes(c, g, [&](const std::string& w) { warnings.push_back(w); }));
  EXPECT_EQ(warnings, std::vector<std::string>{kYAxisWarning});
  // Frame, the X ticks of 1 .. 1000 (the upper bound rounds up) and nothing on Y.
  EXPECT_EQ(c.OfKind(DrawOp::Line).size(), 2u + 4u);
  EXPECT_EQ(c.OfKind(DrawOp::Text).size(), 4u + 2u);
}

// The X labels as drawn: text and the pixels they cover.
struct XLabel {
  std::string text;
  int from, to;
};
std::vector<XLabel> XLabels(const RecordingCanvas& c) {
  std::vector<XLabel> out;
  for (const auto& t : c.OfKind(DrawOp::Text))
    if (!t.upward && t.points[0].y == 304 + RecordingCanvas::kTextHeight / 2)
      out.push_back({t.text, t.points[0].x,
                     t.points[0].x + int(t.text.size()) * RecordingCanvas::kCharWidth});
  return out;
}

bool HasText(const std::vector<XLabel>& labels, const std::string& text) {
  for (const auto& l : labels)
    if (l.text == text) return true;
  return false;
}

TEST(DrawAxes, ThinningKeepsDecadesAndEndsWithAGap) {
  // Every digit of 5e6..4e8 is a tick; the labels cannot all fit.
  GraphView g = ViewWithRange(AxisScale::Log, 5e6, 3e8, AxisScale::Log, 1e-8, 1e-2);
  RecordingCanvas c;
  DrawAxes(c, g, {});
  auto labels = XLabels(c);
  for (const char* must : {"5e6", "1e7", "1e8", "4e8"}) EXPECT_TRUE(HasText(labels, must)) << must;
  std::sort(labels.begin(), labels.end(), [](auto& a, auto& b) { return a.from < b.from; });
  for (std::size_t i = 1; i < labels.size(); ++i)
    EXPECT_GE(labels[i].from - labels[i - 1].to, RecordingCanvas::kTextHeight / 2);

  // A power of ten wins over an earlier label it overlaps; with too little
  // room it goes too, the ends never.
  const std::vector<LabelSpan> spans = {{0, 20, LabelSpan::Rank::End},
                                        {24, 44, LabelSpan::Rank::Other},
                                        {40, 60, LabelSpan::Rank::Decade},
                                        {90, 110, LabelSpan::Rank::End}};
  EXPECT_EQ(ThinLabels(spans, 4), (std::vector<bool>{true, false, true, true}));
  EXPECT_EQ(ThinLabels(spans, 25), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(RankOfTick(1e-7, false, false), LabelSpan::Rank::Decade);
  EXPECT_EQ(RankOfTick(2e-7, false, false), LabelSpan::Rank::Other);
  EXPECT_EQ(RankOfTick(2e-7, true, false), LabelSpan::Rank::End);

  // A linear axis across zero (-5..6 by 1, labels 30 px wide every 20 px):
  // every second round value, zero among them, never 6, 3, 1, -2, -4.
  std::vector<double> values;
  std::vector<LabelSpan> linear;
  for (int v = -5; v <= 6; ++v) {
    values.push_back(v);
    linear.push_back({20 * (v + 5), 20 * (v + 5) + 30, RankOfTick(v, v == -5, v == 6)});
  }
  std::vector<double> shown;
  const std::vector<bool> keep = EvenLabels(values, 1.0, linear, 4);
  for (std::size_t i = 0; i < values.size(); ++i)
    if (keep[i]) shown.push_back(values[i]);
  EXPECT_EQ(shown, (std::vector<double>{-4, -2, 0, 2, 4, 6}));
  // Room for all: all.
  EXPECT_EQ(EvenLabels({0, 1, 2}, 1.0, {{0, 10}, {20, 30}, {40, 50}}, 4),
            (std::vector<bool>{true, true, true}));
}

TEST(DrawAxes, NoMinusZeroLabel) {
  // The low end rounds to zero from below: truncation keeps the sign.
  GraphView g = ViewWithRange(AxisScale::Linear, -0.3, 9, AxisScale::Linear, -0.02, 0.5);
  RecordingCanvas c;
  DrawAxes(c, g, {});
  int zeros = 0;
  for (const std::string& t : c.Texts()) {
    EXPECT_NE(t, "-0");
    if (t == "0") ++zeros;
  }
  EXPECT_EQ(zeros, 2);
  EXPECT_EQ(TickLabel(-1e-9, false), "0");
  EXPECT_EQ(TickLabel(-0.0, true), "0");
  EXPECT_EQ(TickLabel(-0.5, false), "-0.5");
  // A zero tick reached by steps of 0.1 from below is exactly zero.
  const std::vector<double> ticks = TickValues(false, -0.3, 0.2, 0.1);
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_EQ(ticks[3], 0.0);
}

TEST(DrawAxes, YTitleStaysLeftOfTheWidestLabel) {
  GraphView g = ViewWithRange(AxisScale::Log, 1e6, 1e8, AxisScale::Log, 1.5e-11, 2e-3);
  RecordingCanvas c;
  DrawAxes(c, g, {});
  int widestLeft = 1 << 30;
  IntPoint title{};
  for (const auto& t : c.OfKind(DrawOp::Text)) {
    if (t.upward)
      title = t.points[0];
    else if (t.points[0].x < 70 && t.points[0].y < 304 + 2)
      widestLeft = std::min(widestLeft, t.points[0].x);
  }
  ASSERT_LT(widestLeft, 70 - 30);  // "1e-11" and its kind
  // The upward title covers x .. x + text height.
  EXPECT_LT(title.x + RecordingCanvas::kTextHeight, widestLeft);
  EXPECT_GE(title.x, 0);
}

}  // namespace
}  // namespace zx
