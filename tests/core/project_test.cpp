#include "model/project.h"

#include <gtest/gtest.h>

#include "model/view_state.h"

namespace zx {
namespace {

TEST(Registry, NumbersRunWithoutGapsAndRemovalRenumbers) {
  Project p;
  p.ProgramFolder = "/pf/";
  AddDataFile(p, "/a.dat");
  AddDataFile(p, "/b.dat");
  AddDataFile(p, "/c.dat");
  EXPECT_EQ(p.DataFiles.HeadNo(), 2);
  ViewState v = MakeViewState(p);
  EXPECT_EQ(v.DataSeries.items[0].MarkerColor, (Rgb{255, 0, 0}));
  EXPECT_EQ(v.DataSeries.items[1].MarkerColor, (Rgb{0, 0, 255}));
  EXPECT_EQ(v.DataSeries.items[2].LineColor, (Rgb{0, 255, 0}));
  EXPECT_TRUE(p.Modified);
  EXPECT_TRUE(v.View.RescalePending);

  ASSERT_TRUE(RemoveEntry(p.DataFiles, 0));
  ASSERT_TRUE(RemoveEntry(v.DataSeries, 0));
  ASSERT_EQ(p.DataFiles.Count(), 2);
  EXPECT_EQ(p.DataFiles.items[0].No, 0);
  EXPECT_EQ(p.DataFiles.items[0].Path, "/b.dat");
  EXPECT_EQ(p.DataFiles.items[1].No, 1);
  EXPECT_EQ(p.DataFiles.items[1].Path, "/c.dat");
  EXPECT_EQ(v.DataSeries.items[1].No, 1);
  EXPECT_FALSE(RemoveEntry(p.DataFiles, 5));
  EXPECT_FALSE(RemoveEntry(p.DataFiles, -1));

  Registry empty;
  EXPECT_FALSE(RemoveEntry(empty, 0));
  EXPECT_EQ(empty.HeadNo(), -1);
}

TEST(Registry, ConditionsGetCurveFilesAndLighterColours) {
  Project p;
  p.ProgramFolder = "/pf/";
  AddCalcCond(p, 7, 20, 1, "/o0.dat");
  AddCalcCond(p, -1, 20, 1, "/o1.dat");
  EXPECT_EQ(p.CalcConds.items[0].Path, "/pf/tmp0.dat");
  ViewState v = MakeViewState(p);
  EXPECT_EQ(v.CurveSeries.items[0].Path, "/pf/tmp0.dat");
  EXPECT_EQ(v.CurveSeries.items[0].LineColor, (Rgb{150, 150, 255}));  // 7 mod 6 = 1
  EXPECT_EQ(v.CurveSeries.items[1].LineColor, (Rgb{150, 150, 150}));  // no data file: grey
  EXPECT_EQ(v.CurveSeries.items[0].LineStyle, LinePattern::Dot);

  RemoveEntry(p.CalcConds, 0);
  RemoveEntry(v.CurveSeries, 0);
  RenumberCurvePaths(p);
  RebuildSeriesLists(v, p);
  EXPECT_EQ(p.CalcConds.items[0].Path, "/pf/tmp0.dat");
  EXPECT_EQ(v.CurveSeries.items[0].Path, "/pf/tmp0.dat");
}

TEST(Registry, ClearRegistriesReportsRowsFromTheTopDown) {
  Project p;
  AddDataFile(p, "/a.dat");
  AddDataFile(p, "/b.dat");
  AddCalcCond(p, 0, 20, 1, "/o.dat");
  ViewState v = MakeViewState(p);
  std::vector<std::pair<ListKind, int>> rows;
  ClearRegistries(p, [&](ListKind k, int r) { rows.emplace_back(k, r); });
  EXPECT_EQ(rows,
            (std::vector<std::pair<ListKind, int>>{
                {ListKind::DataFiles, 1}, {ListKind::DataFiles, 0}, {ListKind::CalcConds, 0}}));
  EXPECT_TRUE(p.DataFiles.Empty());
  EXPECT_TRUE(p.CalcConds.Empty());
  RebuildSeriesLists(v, p);
  EXPECT_TRUE(v.DataSeries.Empty());
  EXPECT_TRUE(v.CurveSeries.Empty());
}

TEST(Registry, BStepLevelSelectsTheTolerance) {
  ModelParams m;
  const double expected[] = {1.0, 0.5, 0.01, 0.005, 0.001};
  for (int level = 1; level <= 5; ++level) {
    ApplyBStepLevel(m, level);
    EXPECT_EQ(m.E_cAllowableError, expected[level - 1]);
  }
  ApplyBStepLevel(m, 9);
  EXPECT_EQ(m.E_cAllowableError, 0.001);
}

}  // namespace
}  // namespace zx
