#include "graph/point_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "graph/axes.h"
#include "recording_canvas.h"

namespace zx {
namespace {

TEST(PointPlot, RangeFollowsTheDrawablePointsAndUnjoinedSetsDrawNoLines) {
  GraphView g;  // log-log
  PointSet kept;
  kept.x = {1e8, 1e9, 1e10};
  kept.y = {1e-6, -1e-7, 1e-3};  // the negative one cannot be shown
  kept.style.MarkerColor = Rgb{255, 0, 0};
  kept.style.LineStyle = LinePattern::None;
  PointSet line;
  line.x = {1e8, 1e10};
  line.y = {1e-5, 1e-5};
  line.style.Marker = MarkerShape::None;
  line.style.LineColor = Rgb{0, 0, 255};
  test::RecordingCanvas c;
  ASSERT_TRUE(DrawPointSets(c, g, {kept, line}));
  EXPECT_LE(g.X.Low, 1e8);
  EXPECT_GE(g.X.High, 1e10);
  EXPECT_LE(g.Y.Low, 1e-6);
  EXPECT_GE(g.Y.High, 1e-3);
  int red = 0;
  for (const auto& op : c.OfKind(test::DrawOp::Ellipse)) red += op.fill == Rgb{255, 0, 0};
  EXPECT_EQ(red, 2);
  int blue = 0;
  for (const auto& op : c.OfKind(test::DrawOp::Line)) blue += op.pen.color == Rgb{0, 0, 255};
  EXPECT_EQ(blue, 1);

  // Nothing drawable: the empty graph, and no stale range.
  test::RecordingCanvas empty;
  PointSet none;
  none.x = {1, 2};
  none.y = {0, -1};
  EXPECT_FALSE(DrawPointSets(empty, g, {none}));
  EXPECT_FALSE(g.RangeValid);
  EXPECT_TRUE(empty.OfKind(test::DrawOp::Ellipse).empty());
}

TEST(PointPlot, EveryResidualIsDrawn) {
  // Residuals in decades against J, as the fit window plots them.
  GraphView g;
  g.GraphRect = IntRect{0, 0, 600, 300};
  g.X.Type = AxisScale::Log;
  g.Y.Type = AxisScale::Linear;
  PointSet residuals{MarkersOnly({255, 0, 0}), {}, {}};
  const double r[] = {-0.27, 0.04, -0.13, 0.11, -0.062, 0.009, -0.19, 0.15};
  for (std::size_t i = 0; i < std::size(r); ++i) {
    residuals.x.push_back(1e8 * static_cast<double>(i + 1));
    residuals.y.push_back(r[i]);
  }
  test::RecordingCanvas c;
  ASSERT_TRUE(DrawPointSets(c, g, {residuals}));
  EXPECT_LE(g.Y.Low, -0.27);
  EXPECT_EQ(c.OfKind(test::DrawOp::Ellipse).size(), std::size(r));
}

TEST(PointPlot, ScalesToTheSeriesAndDrawsMarkersWithoutLines) {
  GraphView g;
  g.GraphRect = IntRect{0, 0, 600, 400};
  ApplyModeAxes(g, CalcMode::EJ);
  test::RecordingCanvas c;
  // A point <= 0 cannot sit on the log axes and does not widen them.
  DrawPointSets(c, g, {{MarkersOnly({255, 0, 0}), {1e6, 1e7, -1.0}, {1e-6, 1e-4, 1e-3}}});
  EXPECT_TRUE(g.RangeValid);
  EXPECT_LE(g.X.Low, 1e6);
  EXPECT_GE(g.X.High, 1e7);
  EXPECT_LT(g.X.High, 1e8);
  EXPECT_EQ(c.OfKind(test::DrawOp::Kind::Ellipse).size(), 2u);
  const std::size_t axisLines = c.OfKind(test::DrawOp::Kind::Line).size();

  test::RecordingCanvas withLine;
  DrawPointSets(withLine, g,
                {{MarkersOnly({255, 0, 0}), {1e6, 1e7}, {1e-6, 1e-4}},
                 {LineOnly({0, 0, 255}), {1e6, 3e6, 1e7}, {1e-6, 1e-5, 1e-4}}});
  EXPECT_EQ(withLine.OfKind(test::DrawOp::Kind::Line).size(), axisLines + 2);

  test::RecordingCanvas empty;
  GraphView e = g;
  DrawPointSets(empty, e, {{MarkersOnly({0, 0, 0}), {-1.0}, {1.0}}});
  EXPECT_FALSE(e.RangeValid);
  EXPECT_TRUE(empty.OfKind(test::DrawOp::Kind::Ellipse).empty());
}

TEST(PointPlot, APointWithoutAPlaceBreaksTheLineAndDrawsNoStub) {
  GraphView g;  // log-log
  g.GraphRect = IntRect{0, 0, 600, 400};
  const Rgb blue{0, 0, 255};
  // A model curve with a failed point in the middle and a zero at the end.
  const PointSet curve{
      LineOnly(blue), {1e6, 2e6, 3e6, 4e6, 5e6, 6e6}, {1e-6, 2e-6, std::nan(""), 4e-6, 5e-6, 0.0}};
  test::RecordingCanvas c;
  ASSERT_TRUE(DrawPointSets(c, g, {curve}));
  std::vector<test::DrawOp> lines;
  for (const auto& op : c.OfKind(test::DrawOp::Line))
    if (op.pen.color == blue) lines.push_back(op);
  // 1-2 and 4-5 only: no bridge over the gap, no zero-length stubs.
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& op : lines) EXPECT_NE(op.points[0].x, op.points[1].x);
}

TEST(PointPlot, BandsAreDrawnUnderTheSetsInsideThePlotAreaAndCutWhereAxesCannotShowThem) {
  GraphView g;  // log-log
  g.GraphRect = IntRect{0, 0, 600, 400};
  const Rgb pale{200, 200, 255};
  // The band reaches far beyond the points at both ends and has no place
  // on the log axis at its fourth abscissa.
  const PointBand band{pale,
                       {1e6, 2e6, 3e6, 4e6, 5e6, 6e6},
                       {1e-12, 1e-6, 2e-6, -1.0, 4e-6, 5e-6},
                       {1e-5, 1e-5, 1e-5, 1e-5, 1e-5, 1e3}};
  const PointSet curve{LineOnly({0, 0, 255}), {1e6, 6e6}, {2e-6, 4e-6}};
  test::RecordingCanvas c;
  ASSERT_TRUE(DrawPointSets(c, g, {curve}, {band}));
  // Left out of the range: the axes follow the curve alone.
  EXPECT_GT(g.Y.Low, 1e-12);
  EXPECT_LT(g.Y.High, 1e3);
  const PlotGeometry pg = GetPlotGeometry(g);
  std::size_t firstPolygon = c.ops.size(), lastCurveLine = 0;
  std::vector<test::DrawOp> polygons;
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    const test::DrawOp& op = c.ops[i];
    if (op.kind == test::DrawOp::Polygon) {
      firstPolygon = std::min(firstPolygon, i);
      polygons.push_back(op);
    }
    if (op.kind == test::DrawOp::Line && op.pen.color == Rgb{0, 0, 255}) lastCurveLine = i;
  }
  // Two runs (1-3 and 5-6), each upper edge out and lower edge back.
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0].points.size(), 6u);
  EXPECT_EQ(polygons[1].points.size(), 4u);
  EXPECT_LT(firstPolygon, lastCurveLine);
  for (const test::DrawOp& p : polygons) {
    EXPECT_EQ(p.fill, pale);
    for (const IntPoint& pt : p.points) {
      EXPECT_GT(pt.x, pg.x0);
      EXPECT_LT(pt.x, pg.x0 + pg.W);
      EXPECT_GT(pt.y, pg.y0 - pg.H);
      EXPECT_LT(pt.y, pg.y0);
    }
  }
}

}  // namespace
}  // namespace zx
