#include "graph/paint_pass.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/series_file.h"
#include "recording_canvas.h"
#include "temp_files.h"

namespace zx {
namespace {

using test::DrawOp;
using test::RecordingCanvas;

struct Scene {
  Project p;
  ViewState v;
};

Scene TwoDataFiles(const test::TempDir& dir) {
  Scene s;
  ResetGraphView(s.v.View, CalcMode::EJ);
  s.v.View.RescalePending = true;
  s.v.DataSeries.Add(MakeDataSeries(0, dir.Write("a.dat", "1e6 1e-6\n1e7 1e-4\n1e8 1e-2\n")));
  s.v.DataSeries.Add(MakeDataSeries(1, dir.Write("b.dat", "2e6 2e-6\n2e7 2e-4\n")));
  return s;
}

TEST(PaintGraph, WithoutDataSeriesOnlyTheEmptyGraph) {
  Project p;
  ViewState v;
  ResetGraphView(v.View, CalcMode::EJ);
  bool previewRan = false;
  PaintHooks hooks;
  hooks.runPreview = [&](const Project&, ViewState&) { return previewRan = true; };
  RecordingCanvas c;
  const PaintResult r = PaintGraph(p, v, c, hooks);
  EXPECT_FALSE(r.hadData);
  EXPECT_FALSE(previewRan);
  EXPECT_EQ(c.OfKind(DrawOp::Line).size(), 2u);
  EXPECT_EQ(c.Texts(), (std::vector<std::string>{"J(A/m^2)", "E(V/m)"}));
}

TEST(PaintGraph, UnreadableFilesGiveTheEmptyGraph) {
  test::TempDir dir;
  Project p;
  ViewState v;
  ResetGraphView(v.View, CalcMode::EJ);
  v.View.RescalePending = true;
  v.DataSeries.Add(MakeDataSeries(0, dir.Path("missing.dat")));
  std::vector<std::string> warnings;
  PaintHooks hooks;
  hooks.warn = [&](const std::string& w) { warnings.push_back(w); };
  RecordingCanvas c;
  EXPECT_FALSE(PaintGraph(p, v, c, hooks).hadData);
  EXPECT_EQ(c.OfKind(DrawOp::Line).size(), 2u);
  EXPECT_TRUE(warnings.empty());
}

TEST(PaintGraph, DrawsDataThenCurvesAndDeletesTheCurveFiles) {
  test::TempDir dir;
  Scene s = TwoDataFiles(dir);
  Project& p = s.p;
  ViewState& v = s.v;
  const std::string curve = dir.Write("tmp0.dat", "1e6 1e-5\n1e8 1e-3\n");
  v.CurveSeries.Add(MakeCurveSeries(0, 1, curve));
  RecordingCanvas c;
  const PaintResult r = PaintGraph(p, v, c, {});
  EXPECT_TRUE(r.hadData);
  EXPECT_FALSE(std::filesystem::exists(curve));
  EXPECT_TRUE(std::filesystem::exists(v.DataSeries.items[0].Path));
  // Ranges 1e6..1e8 -> 1e6..1e9 and 1e-6..1e-2 -> 1e-6..0.1, decade ticks.
  EXPECT_EQ(v.View.X.High, 1e9);
  EXPECT_DOUBLE_EQ(v.View.Y.High, 0.1);
  EXPECT_FALSE(v.View.RescalePending);

  std::vector<Rgb> markerColours;
  for (const DrawOp& op : c.OfKind(DrawOp::Ellipse)) markerColours.push_back(op.fill);
  EXPECT_EQ(markerColours, (std::vector<Rgb>{{255, 0, 0},
                                             {255, 0, 0},
                                             {255, 0, 0},
                                             {0, 0, 255},
                                             {0, 0, 255},
                                             {150, 150, 255},
                                             {150, 150, 255}}));
  // Axes come before the series: the first marker follows the last title.
  std::size_t lastText = 0, firstMarker = 0;
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    if (c.ops[i].kind == DrawOp::Text) lastText = i;
    if (c.ops[i].kind == DrawOp::Ellipse && firstMarker == 0) firstMarker = i;
  }
  EXPECT_LT(lastText, firstMarker);
}

TEST(PaintGraph, ThePreviewHookScansTheDataSeries) {
  test::TempDir dir;
  Scene s = TwoDataFiles(dir);
  Project& p = s.p;
  ViewState& v = s.v;
  int calls = 0;
  PaintHooks hooks;
  hooks.runPreview = [&](const Project&, ViewState&) {
    ++calls;
    return false;  // pretends that no data file could be read
  };
  RecordingCanvas c;
  EXPECT_FALSE(PaintGraph(p, v, c, hooks).hadData);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(v.View.RangeValid);  // the pass did not scan the data itself
  EXPECT_TRUE(c.OfKind(DrawOp::Ellipse).empty());
}

TEST(PaintGraph, ManualRangesApplyAfterTheScanAndFailuresWarn) {
  test::TempDir dir;
  Scene s = TwoDataFiles(dir);
  Project& p = s.p;
  ViewState& v = s.v;
  p.Axes.Y.autoScale = false;
  p.Axes.Y.min = -1;
  p.Axes.Y.max = 1;
  std::vector<std::string> warnings;
  PaintHooks hooks;
  hooks.warn = [&](const std::string& w) { warnings.push_back(w); };
  RecordingCanvas c;
  EXPECT_TRUE(PaintGraph(p, v, c, hooks).hadData);
  EXPECT_EQ(v.View.Y.Low, -1);
  EXPECT_EQ(warnings, std::vector<std::string>{kYAxisWarning});
  EXPECT_TRUE(v.View.RescalePending);
  EXPECT_TRUE(c.OfKind(DrawOp::Ellipse).empty());  // log10(-1) leaves no usable range
}

TEST(PaintGraph, NoPointAnywhereFallsBackToANewProjectsAxes) {
  test::TempDir dir;
  Project p;
  ViewState v;
  ResetGraphView(v.View, CalcMode::EJ);
  v.DataSeries.Add(MakeDataSeries(0, dir.Write("empty.dat", "# nothing measured\n")));
  // The range an earlier project left behind.
  v.View.X.Low = 1e6;
  v.View.X.High = 1e8;
  v.View.Y.Low = 1e-6;
  v.View.Y.High = 1e-2;
  v.View.RangeValid = false;
  const GraphView fresh;
  for (int paint = 0; paint < 3; ++paint) {
    v.View.RescalePending = true;  // a slider moved
    RecordingCanvas c;
    PaintGraph(p, v, c, {});
    EXPECT_EQ(v.View.X.Low, fresh.X.Low);
    EXPECT_EQ(v.View.X.High, fresh.X.High);
    EXPECT_EQ(v.View.Y.Low, fresh.Y.Low);
    EXPECT_EQ(v.View.Y.High, fresh.Y.High);
    EXPECT_EQ(c.Texts(), (std::vector<std::string>{"J(A/m^2)", "E(V/m)"}));
  }
  // A point later refits as usual.
  dir.Write("empty.dat", "1e6 1e-6\n1e7 1e-4\n");
  v.View.RescalePending = true;
  RecordingCanvas c;
  PaintGraph(p, v, c, {});
  EXPECT_EQ(v.View.X.Low, 1e6);
  EXPECT_EQ(v.View.X.High, 2e7);
}

// Every marker of a linear graph, negative points too, inside the plot area.
void ExpectAllMarkersInside(const RecordingCanvas& c, const GraphView& g, std::size_t count) {
  const std::vector<DrawOp> markers = c.OfKind(DrawOp::Ellipse);
  EXPECT_EQ(markers.size(), count);
  const PlotGeometry area = GetPlotGeometry(g);
  for (const DrawOp& m : markers) {
    const int x = (m.rect.left + m.rect.right) / 2, y = (m.rect.top + m.rect.bottom) / 2;
    EXPECT_GE(x, area.x0);
    EXPECT_LE(x, area.x0 + area.W);
    EXPECT_LE(y, area.y0);
    EXPECT_GE(y, area.y0 - area.H);
  }
}

TEST(PaintGraph, PointsBelowANegativeLowEndAreDrawn) {
  test::TempDir dir;
  Project p;
  ViewState v;
  ResetGraphView(v.View, CalcMode::EJ);
  p.Axes.X.type = p.Axes.Y.type = AxisScale::Linear;
  v.View.RescalePending = true;
  // A two-way sweep: the reverse branch lies below zero on both axes.
  v.DataSeries.Add(MakeDataSeries(
      0, dir.Write("sweep.dat", "-75 -2.7e-6\n-40 -1.3e-6\n0 0\n50 1.1e-6\n100 3.1e-6\n")));
  RecordingCanvas c;
  EXPECT_TRUE(PaintGraph(p, v, c, {}).hadData);
  EXPECT_EQ(v.View.X.Low, -100);
  EXPECT_DOUBLE_EQ(v.View.Y.Low, -3e-6);
  ExpectAllMarkersInside(c, v.View, 5);

  // Wholly negative data, as residuals below the line.
  dir.Write("sweep.dat", "-2.7 -0.31\n-2.2 -0.12\n-1.5 -0.27\n");
  v.View.RescalePending = true;
  RecordingCanvas negative;
  EXPECT_TRUE(PaintGraph(p, v, negative, {}).hadData);
  ExpectAllMarkersInside(negative, v.View, 3);
}

TEST(PaintGraph, EachFileIsReadOncePerPaint) {
  test::TempDir dir;
  Scene s = TwoDataFiles(dir);
  Project& p = s.p;
  ViewState& v = s.v;
  PaintHooks hooks;
  // The files are gone after the scan: drawing must not need them again.
  hooks.runPreview = [&](const Project&, ViewState& w) {
    const bool any = ScanSeriesList(w.View, w.DataSeries);
    std::filesystem::remove(dir.Path("a.dat"));
    std::filesystem::remove(dir.Path("b.dat"));
    return any;
  };
  RecordingCanvas c;
  EXPECT_TRUE(PaintGraph(p, v, c, hooks).hadData);
  EXPECT_EQ(c.OfKind(DrawOp::Ellipse).size(), 5u);
  // The points do not outlive the paint.
  EXPECT_EQ(v.DataSeries.items[0].Points, nullptr);

  // A file too large to show is reported.
  std::string lines;
  for (std::size_t i = 0; i <= kMaxSeriesPoints; ++i) lines += "1 1\n";
  dir.Write("a.dat", lines);
  dir.Write("b.dat", "2e6 2e-6\n");
  std::vector<std::string> warnings;
  hooks = {};
  hooks.warn = [&](const std::string& w) { warnings.push_back(w); };
  RecordingCanvas big;
  EXPECT_TRUE(PaintGraph(p, v, big, hooks).hadData);
  EXPECT_EQ(warnings, std::vector<std::string>{kSeriesTooLargeText});
  EXPECT_EQ(big.OfKind(DrawOp::Ellipse).size(), 1u);
}

}  // namespace
}  // namespace zx
