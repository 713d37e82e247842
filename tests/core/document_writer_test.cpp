// The document as the only writer of its project: what the compiler refuses,
// and the calls that replaced the windows' own writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <type_traits>

#include "document_access.h"
#include "model/document.h"
#include "model/settings_file.h"
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
  EditProject(r.doc).View.RangeValid = true;
  const AxisSettings y = AxisSettingsOf(r.doc.project.View.Y);
  SetAxisSettings(r.doc, Manual(AxisScale::Linear, -1.0, 5.0), y, AxisApply::Accepted);
  const GraphView& g = r.doc.project.View;
  EXPECT_EQ(g.X.Type, AxisScale::Linear);
  EXPECT_FALSE(g.X.AutoScale);
  EXPECT_EQ(g.X.Min, -1.0);
  EXPECT_EQ(g.X.Max, 5.0);
  EXPECT_EQ(g.Y.Type, AxisScale::Log);
  EXPECT_TRUE(g.Y.AutoScale);
  EXPECT_TRUE(r.doc.project.Modified);
  EXPECT_TRUE(g.RescalePending);
  EXPECT_FALSE(g.RangeValid);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::AxesChanged});
}

TEST(DocumentAxes, RefusedSettingsKeepWhatWasReadButMarkNothing) {
  Recorded r;
  EditProject(r.doc).View.RangeValid = true;
  AxisSettings x = AxisSettingsOf(r.doc.project.View.X);
  x.type = AxisScale::Linear;  // read before the refused bound
  SetAxisSettings(r.doc, x, AxisSettingsOf(r.doc.project.View.Y), AxisApply::Refused);
  EXPECT_EQ(r.doc.project.View.X.Type, AxisScale::Linear);
  EXPECT_FALSE(r.doc.project.Modified);
  EXPECT_FALSE(r.doc.project.View.RescalePending);
  EXPECT_TRUE(r.doc.project.View.RangeValid);
  EXPECT_TRUE(r.told.empty());
}

TEST(DocumentSave, SaveWritesTheProjectsFileAndTellsNobody) {
  test::TempDir dir;
  Recorded r;
  ASSERT_EQ(AddDataFile(r.doc, "/d.dat"), "");
  r.told.clear();
  SetDocumentPaths(r.doc, "/pf/", dir.Path("p.zx2"));
  ASSERT_TRUE(SaveDocument(r.doc));
  EXPECT_TRUE(r.told.empty());
  // Saving alone does not answer the save question; the window does.
  EXPECT_TRUE(r.doc.project.Modified);
  Project read;
  ASSERT_TRUE(LoadSettingsFile(read, dir.Path("p.zx2")));
  EXPECT_EQ(read.DataFiles.Count(), 1);

  SetDocumentPaths(r.doc, "/pf/", "/dev/null/p.zx2");
  EXPECT_FALSE(SaveDocument(r.doc));
  EXPECT_EQ(r.doc.project.SettingsFilePath, "/dev/null/p.zx2");

  MarkUnmodified(r.doc);
  EXPECT_FALSE(r.doc.project.Modified);
  EXPECT_TRUE(r.told.empty());
}

TEST(DocumentView, APaintedCopyGivesBackOnlyWhatThePaintFound) {
  Recorded r;
  ASSERT_EQ(AddDataFile(r.doc, "/d.dat"), "");
  CalcCondInput in;
  in.relatedDatFileNo = 0;
  in.temp = 20.0;
  in.magField = 1.0;
  in.folder = "/res";
  in.name = "out";
  ASSERT_EQ(AddCalcCond(r.doc, in), "");
  MarkUnmodified(r.doc);
  r.told.clear();

  Project painted = r.doc.project;
  painted.View.RangeValid = true;
  painted.View.RescalePending = false;
  painted.View.X.Low = 1e5;
  painted.DataSeries.items[0].PointCount = 7;
  painted.CalcConds.items[0].CorrCoef = 0.75;
  // Nothing else a paint might touch by mistake is taken back.
  painted.Params.Re_A_m = 42.0;
  painted.Modified = true;
  painted.CalcConds.items[0].Temp = 99.0;
  TakePaintState(r.doc, painted);

  const Project& p = r.doc.project;
  EXPECT_TRUE(p.View.RangeValid);
  EXPECT_FALSE(p.View.RescalePending);
  EXPECT_EQ(p.View.X.Low, 1e5);
  EXPECT_EQ(p.DataSeries.items[0].PointCount, 7);
  EXPECT_EQ(p.CalcConds.items[0].CorrCoef, 0.75);
  EXPECT_NE(p.Params.Re_A_m, 42.0);
  EXPECT_FALSE(p.Modified);
  EXPECT_EQ(p.CalcConds.items[0].Temp, 20.0);
  EXPECT_TRUE(r.told.empty());
}

TEST(DocumentView, AResetRebuildsTheSeriesAndAsksForARefit) {
  Recorded r;
  ASSERT_EQ(AddDataFile(r.doc, "/d.dat"), "");
  EditProject(r.doc).DataSeries.items.clear();
  EditProject(r.doc).View.RescalePending = false;
  GraphView fresh;
  fresh.X.Title = "x";
  ResetView(r.doc, fresh);
  EXPECT_EQ(r.doc.project.View.X.Title, "x");
  EXPECT_TRUE(r.doc.project.View.RescalePending);
  ASSERT_EQ(r.doc.project.DataSeries.Count(), 1);
  EXPECT_EQ(r.doc.project.DataSeries.items[0].Path, "/d.dat");
}

}  // namespace
}  // namespace zx
