#include "graph/series_draw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/series_file.h"
#include "recording_canvas.h"
#include "temp_files.h"

namespace zx {
namespace {

using test::DrawOp;
using test::RecordingCanvas;

// Linear axes 0..10 in both directions: one unit is 32.8 px across, 25.1 px up.
GraphView UnitView(AxisScale xType = AxisScale::Linear, double xl = 0, double xh = 10) {
  GraphView g;
  g.X.Type = xType;
  g.Y.Type = AxisScale::Linear;
  g.X.Low = xl;
  g.X.High = xh;
  g.Y.Low = 0;
  g.Y.High = 10;
  return g;
}

SeriesEntry Scanned(GraphView& g, const std::string& path, SeriesEntry s = MakeDataSeries(0, "")) {
  s.Path = path;
  const GraphView keep = g;
  EXPECT_TRUE(ScanSeriesFile(g, s));
  g = keep;  // the tests set the ranges themselves
  return s;
}

TEST(DrawSeries, InsidePointsGetMarkersJoinedBySegments) {
  test::TempDir dir;
  GraphView g = UnitView();
  const SeriesEntry s = Scanned(g, dir.Write("a.dat", "1 1\n5 5\n10 10\n"));
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, s));
  const auto markers = c.OfKind(DrawOp::Ellipse);
  ASSERT_EQ(markers.size(), 3u);  // the point on XHigh is inside
  EXPECT_EQ(markers[0].rect.left, 70 + 32 - 5);
  EXPECT_EQ(markers[0].rect.top, 304 - 25 - 5);
  EXPECT_EQ(markers[0].rect.right, 70 + 32 + 5);
  EXPECT_EQ(markers[0].rect.bottom, 304 - 25 + 5);
  EXPECT_EQ(markers[0].fill, (Rgb{255, 0, 0}));
  EXPECT_EQ(markers[0].pen, (Pen{1, {255, 0, 0}, PenStyle::Solid}));
  EXPECT_EQ(markers[2].rect.left, 398 - 5);
  const auto lines = c.OfKind(DrawOp::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<IntPoint>{{102, 279}, {234, 179}}));
  EXPECT_EQ(lines[0].pen, (Pen{1, {255, 0, 0}, PenStyle::Solid}));
  // Marker of a point, then the segment that ends in it.
  EXPECT_EQ(c.ops[0].kind, DrawOp::Ellipse);
  EXPECT_EQ(c.ops[1].kind, DrawOp::Ellipse);
  EXPECT_EQ(c.ops[2].kind, DrawOp::Line);
}

TEST(DrawSeries, SegmentsTowardsPointsAboveAManualMaximumEndOnTheTopEdge) {
  test::TempDir dir;
  GraphView g = UnitView();
  const SeriesEntry s = Scanned(g, dir.Write("a.dat", "2 2\n4 12\n6 2\n"));
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, s));
  EXPECT_EQ(c.OfKind(DrawOp::Ellipse).size(), 2u);
  const auto lines = c.OfKind(DrawOp::Line);
  ASSERT_EQ(lines.size(), 2u);
  // From the inside point to the exit at x = 3.6 and x = 4.4 on y = 10.
  EXPECT_EQ(lines[0].points, (std::vector<IntPoint>{{MapX(g, 2), MapY(g, 2)}, {MapX(g, 3.6), 53}}));
  EXPECT_EQ(lines[1].points, (std::vector<IntPoint>{{MapX(g, 6), MapY(g, 2)}, {MapX(g, 4.4), 53}}));
}

TEST(DrawSeries, NoSegmentBetweenTwoOutsidePoints) {
  test::TempDir dir;
  GraphView g = UnitView();
  const SeriesEntry s = Scanned(g, dir.Write("a.dat", "-1 5\n11 5\n5 -3\n5 13\n"));
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, s));
  EXPECT_TRUE(c.ops.empty());
}

TEST(DrawSeries, NonPositiveValuesOnALogAxisAreLeftOut) {
  test::TempDir dir;
  GraphView g = UnitView(AxisScale::Log, 1, 100);
  const SeriesEntry s = Scanned(g, dir.Write("a.dat", "1 1\n-3 2\n0 4\n10 3\n"));
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, s));
  EXPECT_EQ(c.OfKind(DrawOp::Ellipse).size(), 2u);
  const auto lines = c.OfKind(DrawOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<IntPoint>{{70, MapY(g, 1)}, {70 + 164, MapY(g, 3)}}));
}

TEST(DrawSeries, HollowTriangleAndCurveDefaults) {
  test::TempDir dir;
  GraphView g = UnitView();
  g.BackColor = Rgb{1, 2, 3};
  SeriesEntry tri = MakeDataSeries(1, "");
  tri.Marker = MarkerShape::Triangle;
  tri = Scanned(g, dir.Write("a.dat", "5 5\n"), tri);
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, tri));
  ASSERT_EQ(c.ops.size(), 1u);
  EXPECT_EQ(c.ops[0].kind, DrawOp::Polygon);
  EXPECT_EQ(c.ops[0].points, (std::vector<IntPoint>{{234, 174}, {229, 184}, {239, 184}}));
  EXPECT_EQ(c.ops[0].fill, (Rgb{1, 2, 3}));
  EXPECT_EQ(c.ops[0].pen, (Pen{1, {0, 0, 255}, PenStyle::Solid}));

  const SeriesEntry curve = Scanned(g, dir.Write("b.dat", "5 5\n6 6\n"), MakeCurveSeries(0, 1, ""));
  RecordingCanvas cc;
  ASSERT_TRUE(DrawSeries(cc, g, curve));
  const auto markers = cc.OfKind(DrawOp::Ellipse);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0].rect.right - markers[0].rect.left, 6);
  EXPECT_EQ(markers[0].fill, (Rgb{150, 150, 255}));
  EXPECT_EQ(cc.OfKind(DrawOp::Line)[0].pen, (Pen{1, {150, 150, 255}, PenStyle::Dot}));
}

TEST(DrawSeries, MarkerShapesAndLineStyles) {
  GraphView g = UnitView();
  SeriesEntry s = MakeDataSeries(0, "");
  for (MarkerShape shape : {MarkerShape::FilledRectangle, MarkerShape::FilledTriangle,
                            MarkerShape::Circle, MarkerShape::Rectangle, MarkerShape::None}) {
    const int name = static_cast<int>(shape);
    s.Marker = shape;
    RecordingCanvas c;
    DrawMarker(c, g, s, {100, 100});
    if (shape == MarkerShape::None) {
      EXPECT_TRUE(c.ops.empty());
      continue;
    }
    ASSERT_EQ(c.ops.size(), 1u) << name;
    const bool filled =
        shape == MarkerShape::FilledRectangle || shape == MarkerShape::FilledTriangle;
    EXPECT_EQ(c.ops[0].fill, filled ? s.MarkerColor : g.BackColor) << name;
  }
  EXPECT_EQ(LineStyleOf(LinePattern::Dash), PenStyle::Dash);
  EXPECT_EQ(LineStyleOf(LinePattern::DashDot), PenStyle::DashDot);
  EXPECT_EQ(LineStyleOf(LinePattern::DashDotDot), PenStyle::DashDotDot);
  EXPECT_EQ(LineStyleOf(LinePattern::Solid), PenStyle::Solid);
}

TEST(DrawSeries, ReadsNoMorePointsThanTheScanCountedAndSkipsMissingFiles) {
  test::TempDir dir;
  GraphView g = UnitView();
  SeriesEntry s = Scanned(g, dir.Write("a.dat", "1 1\n2 2\n3 3\n"));
  s.PointCount = 2;
  RecordingCanvas c;
  ASSERT_TRUE(DrawSeries(c, g, s));
  EXPECT_EQ(c.OfKind(DrawOp::Ellipse).size(), 2u);

  s.Path = dir.Path("gone.dat");
  RecordingCanvas none;
  EXPECT_FALSE(DrawSeries(none, g, s));
  EXPECT_TRUE(none.ops.empty());
}

TEST(DrawSeries, AnUnusableRangeDrawsNothing) {
  test::TempDir dir;
  GraphView g = UnitView(AxisScale::Linear, 5, 5);  // one x value: the axis check has warned
  const SeriesEntry s = Scanned(g, dir.Write("a.dat", "5 1\n5 2\n"));
  RecordingCanvas c;
  EXPECT_TRUE(DrawSeries(c, g, s));
  EXPECT_TRUE(c.ops.empty());
}

TEST(ClipSegment, ExitEdgesFollowTheSlopeAndTheOutsideSide) {
  const AxisBox box{0, 10, 0, 10};
  auto exit = [&](AxisPoint in, AxisPoint out) {
    const auto seg = ClipSegment(box, out, in);
    EXPECT_TRUE(seg.has_value());
    EXPECT_EQ(seg->from.x, in.x);
    EXPECT_EQ(seg->from.y, in.y);
    return seg->to;
  };
  auto near = [](AxisPoint a, double x, double y) {
    EXPECT_NEAR(a.x, x, 1e-12);
    EXPECT_NEAR(a.y, y, 1e-12);
  };
  near(exit({2, 2}, {-2, -2}), 0, 0);      // left, rising, exactly through the corner: left edge
  near(exit({4, 3}, {-4, -1}), 0, 1);      // left, rising: left edge at y = 1
  near(exit({2, 0.5}, {-2, -1.5}), 1, 0);  // left, rising, below at x = 0: bottom
  near(exit({2, 8}, {-2, 12}), 0.0, 10);   // left, falling, above hy at x = 0: top
  near(exit({2, 6}, {-2, 8}), 0, 7);       // left, falling: left edge
  near(exit({8, 6}, {12, 8}), 10, 7);      // right, rising: right edge
  near(exit({8, 9}, {12, 13}), 9, 10);     // right, rising, above: top
  near(exit({8, 1}, {12, -3}), 9, 0);      // right, falling, below: bottom
  near(exit({8, 4}, {12, 2}), 10, 3);      // right, falling: right edge
  near(exit({5, 5}, {5, -5}), 5, 0);       // straight down
  near(exit({5, 5}, {7, 15}), 6, 10);      // within x, above: top
  EXPECT_FALSE(ClipSegment(box, {-1, 5}, {11, 5}).has_value());
  const auto both = ClipSegment(box, {0, 0}, {10, 10});
  ASSERT_TRUE(both.has_value());
  EXPECT_EQ(both->to.x, 10);
}

}  // namespace
}  // namespace zx
