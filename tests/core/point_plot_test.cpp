#include "graph/point_plot.h"

#include <gtest/gtest.h>

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
  EXPECT_LE(g.XLow, 1e8);
  EXPECT_GE(g.XHigh, 1e10);
  EXPECT_LE(g.YLow, 1e-6);
  EXPECT_GE(g.YHigh, 1e-3);
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

}  // namespace
}  // namespace zx
