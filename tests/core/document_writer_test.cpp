// The document as the only writer of its project: what the compiler refuses,
// and the calls that replaced the windows' own writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <type_traits>

#include "calc/preview_pass.h"
#include "document_access.h"
#include "graph/paint_pass.h"
#include "model/document.h"
#include "model/settings_file.h"
#include "model/settings_lines.h"
#include "model/settings_save.h"
#include "model/view_follow.h"
#include "recording_canvas.h"
#include "temp_files.h"

namespace zx {
namespace {

template <class D>
concept AssignsThroughProject = requires(D& d) {
  d.project.Modified = true;
};
template <class D>
concept ReachesTheRecord = requires(D& d) {
  d.project_;
};
template <class D>
concept CopiesTheDocument = std::is_copy_constructible_v<D> || std::is_copy_assignable_v<D>;

static_assert(!AssignsThroughProject<Document>, "the project is read-only outside the document");
static_assert(!ReachesTheRecord<Document>, "the record itself is private");
static_assert(std::is_same_v<decltype((std::declval<Document&>().project)), const Project&>);
// A copy would read another document's record through its reference.
static_assert(!CopiesTheDocument<Document>);

AxisSettings Manual(AxisScale type, double min, double max) { return {type, false, min, max}; }

TEST(DocumentAxes, AcceptedSettingsMarkTheProjectRefitAndTellTheObservers) {
  Recorded r;
  r.v.View.RangeValid = true;
  const AxisSettings y = r.doc.project.Axes.Y;
  SetAxisSettings(r.doc, Manual(AxisScale::Linear, -1.0, 5.0), y, AxisApply::Accepted);
  const SavedAxes& g = r.doc.project.Axes;
  EXPECT_EQ(g.X.type, AxisScale::Linear);
  EXPECT_FALSE(g.X.autoScale);
  EXPECT_EQ(g.X.min, -1.0);
  EXPECT_EQ(g.X.max, 5.0);
  EXPECT_EQ(g.Y.type, AxisScale::Log);
  EXPECT_TRUE(g.Y.autoScale);
  EXPECT_TRUE(r.doc.project.Modified);
  EXPECT_TRUE(r.v.View.RescalePending);
  EXPECT_FALSE(r.v.View.RangeValid);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::AxesChanged});
}

TEST(DocumentAxes, RefusedSettingsKeepWhatWasReadButMarkNothing) {
  Recorded r;
  r.v.View.RangeValid = true;
  AxisSettings x = r.doc.project.Axes.X;
  x.type = AxisScale::Linear;  // read before the refused bound
  SetAxisSettings(r.doc, x, r.doc.project.Axes.Y, AxisApply::Refused);
  EXPECT_EQ(r.doc.project.Axes.X.type, AxisScale::Linear);
  EXPECT_FALSE(r.doc.project.Modified);
  EXPECT_FALSE(r.v.View.RescalePending);
  EXPECT_TRUE(r.v.View.RangeValid);
  EXPECT_EQ(r.doc.refitRequests, 0u);
  EXPECT_TRUE(r.told.empty());
}

TEST(DocumentSave, SaveWritesTheProjectsFileAndTellsNobody) {
  test::TempDir dir;
  Recorded r;
  ASSERT_EQ(AddDataFile(r.doc, "/d.dat"), "");
  r.told.clear();
  SetDocumentPaths(r.doc, "/pf/", dir.Path("p.zx2"));
  ASSERT_EQ(SaveDocument(r.doc), WriteResult::Written);
  EXPECT_TRUE(r.told.empty());
  // Saving alone does not answer the save question; the window does.
  EXPECT_TRUE(r.doc.project.Modified);
  Project read;
  ASSERT_TRUE(LoadSettingsFile(read, dir.Path("p.zx2")));
  EXPECT_EQ(read.DataFiles.Count(), 1);

  SetDocumentPaths(r.doc, "/pf/", "/dev/null/p.zx2");
  EXPECT_EQ(SaveDocument(r.doc), WriteResult::Failed);
  EXPECT_EQ(r.doc.project.SettingsFilePath, "/dev/null/p.zx2");

  MarkUnmodified(r.doc);
  EXPECT_FALSE(r.doc.project.Modified);
  EXPECT_TRUE(r.told.empty());
}

// Two writers that read the same file: the second to write is refused
// instead of undoing the first, whichever way it writes (the window's save,
// the fit's parameter lines), and a writer that keeps its own file up to
// date goes on saving. Threads that read, change and write in a loop lose
// no update.
TEST(DocumentSave, AWriterOfAnOlderReadIsRefusedAndNoUpdateIsLost) {
  test::TempDir dir;
  const std::string path = dir.Path("p.zx2");
  ASSERT_TRUE(WriteDefaultSettings(path));
  Document a, b;
  ASSERT_TRUE(LoadDocument(a, path));
  Project fitted;  // as --fit --write reads it
  ReadStamp fitRead;
  ASSERT_TRUE(LoadSettingsFileStamped(fitted, path, fitRead));
  ASSERT_TRUE(LoadDocument(b, path));
  ModelParams m = b.project.Params;
  m.T_c = 50;
  SetModelParams(b, m);
  ASSERT_EQ(SaveDocument(b), WriteResult::Written);
  m = a.project.Params;
  m.Re_A_m = 7e9;
  SetModelParams(a, m);
  EXPECT_EQ(SaveDocument(a), WriteResult::ChangedSinceRead);
  EXPECT_EQ(WriteProjectLines(path, {{"Re(g^2)", "3.0"}}, fitRead), WriteResult::ChangedSinceRead);
  Project read;
  ASSERT_TRUE(LoadSettingsFile(read, path));
  EXPECT_EQ(read.Params.T_c, 50);
  EXPECT_NE(read.Params.Re_A_m, 7e9);
  m.T_c = 60;
  SetModelParams(b, m);
  EXPECT_EQ(SaveDocument(b), WriteResult::Written);
  // Saving under another name writes whatever the file there holds.
  EXPECT_TRUE(SaveDocumentAs(a, path));

  constexpr int kWriters = 2, kUpdates = 40;
  auto bump = [&path] {
    for (int done = 0; done < kUpdates;) {
      Project p;
      ReadStamp read;
      if (!LoadSettingsFileStamped(p, path, read)) continue;
      const SettingsLines line = {{"IntStepNum", std::to_string(p.Params.IntStepNum + 1)}};
      if (WriteProjectLines(path, line, read) == WriteResult::Written) ++done;
    }
  };
  ASSERT_TRUE(LoadSettingsFile(read, path));
  const int start = read.Params.IntStepNum;
  std::vector<std::thread> writers;
  for (int k = 0; k < kWriters; ++k) writers.emplace_back(bump);
  for (std::thread& t : writers) t.join();
  ASSERT_TRUE(LoadSettingsFile(read, path));
  EXPECT_EQ(read.Params.IntStepNum, start + kWriters * kUpdates);
}

// A project with one measured file and one condition on it, its curve
// files in the test's folder.
void OneFileOneCondition(Recorded& r, const test::TempDir& dir) {
  SetDocumentPaths(r.doc, dir.Path(""), dir.Path("p.zx2"));
  ASSERT_EQ(AddDataFile(r.doc, dir.Write("d.dat", "1e6 1e-6\n1e7 1e-4\n1e8 1e-2\n")), "");
  CalcCondInput in;
  in.relatedDatFileNo = 0;
  in.temp = 20.0;
  in.magField = 1.0;
  in.folder = dir.Path("");
  in.name = "out";
  ASSERT_EQ(AddCalcCond(r.doc, in), "");
  MarkUnmodified(r.doc);
  r.told.clear();
}

TEST(DocumentView, APaintKeepsWhatItFindsInTheViewAndLeavesTheSavedProjectAlone) {
  test::TempDir dir;
  Recorded r;
  OneFileOneCondition(r, dir);
  std::string before;
  ASSERT_TRUE(SettingsBytes(r.doc.project, before));

  std::vector<int> shown;
  PreviewHooks preview;
  preview.showCorrCoef = [&](int row, const std::string&) { shown.push_back(row); };
  PaintHooks hooks;
  hooks.runPreview = PreviewRunner(preview);
  test::RecordingCanvas c;
  EXPECT_TRUE(PaintGraph(r.doc.project, r.v, c, hooks).hadData);

  // What the paint found is the view's.
  EXPECT_TRUE(r.v.View.RangeValid);
  EXPECT_FALSE(r.v.View.RescalePending);
  EXPECT_LE(r.v.View.X.Low, 1e6);
  EXPECT_GE(r.v.View.X.High, 1e8);
  EXPECT_EQ(r.v.DataSeries.items[0].PointCount, 3);
  EXPECT_EQ(shown, std::vector<int>{0});
  // The curve file was drawn and removed.
  EXPECT_FALSE(std::filesystem::exists(r.doc.project.CalcConds.items[0].Path));
  // Nothing the settings file stores moved, and nobody was told.
  std::string after;
  ASSERT_TRUE(SettingsBytes(r.doc.project, after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(r.doc.project.Modified);
  EXPECT_EQ(r.doc.project.CalcConds.items[0].Temp, 20.0);
  EXPECT_TRUE(r.told.empty());
}

TEST(DocumentView, ARegistryChangeRebuildsTheSeriesAndRefitsTheNextPaint) {
  test::TempDir dir;
  Recorded r;
  OneFileOneCondition(r, dir);
  test::RecordingCanvas c;
  PaintGraph(r.doc.project, r.v, c, {});
  ASSERT_TRUE(r.v.View.RangeValid);
  ASSERT_FALSE(r.v.View.RescalePending);

  // A range setting changes no series and no range.
  ASSERT_EQ(SetJRange(r.doc, 1e4, 1e8, 3), "");
  EXPECT_TRUE(r.v.View.RangeValid);
  EXPECT_FALSE(r.v.View.RescalePending);

  ASSERT_EQ(AddDataFile(r.doc, dir.Write("e.dat", "1e9 1\n1e10 10\n")), "");
  ASSERT_EQ(r.v.DataSeries.Count(), 2);
  EXPECT_EQ(r.v.DataSeries.items[1].Path, dir.Path("e.dat"));
  EXPECT_EQ(r.v.DataSeries.items[1].MarkerColor, DataPalette[1]);
  EXPECT_FALSE(r.v.View.RangeValid);
  EXPECT_TRUE(r.v.View.RescalePending);
  PaintGraph(r.doc.project, r.v, c, {});
  EXPECT_GE(r.v.View.X.High, 1e10);  // the new file is inside

  // The view that missed the notice still refits at its next look.
  ViewState late = r.v;
  late.View.RescalePending = false;
  late.RefitsFollowed = 0;
  FollowRefits(late, r.doc);
  EXPECT_TRUE(late.View.RescalePending);
}

}  // namespace
}  // namespace zx
