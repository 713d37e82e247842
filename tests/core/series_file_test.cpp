#include "model/series_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_files.h"

namespace zx {
namespace {

struct Read {
  bool ok = false;
  std::vector<double> x, y;
};

Read ReadAll(const GraphView& g, const std::string& path) {
  SeriesEntry s;
  s.Path = path;
  Read r;
  r.ok = ReadSeriesFile(g, s, &r.x, &r.y);
  return r;
}

GraphView Axes(const char* xType, const char* yType) {
  GraphView g;
  g.XType = xType;
  g.YType = yType;
  return g;
}

TEST(SeriesFile, CommentsColumnsAndFileOrder) {
  test::TempDir dir;
  const std::string path = dir.Write("a.dat",
                                     "# J E\r\n"
                                     "#\r\n"
                                     "3 30 99\r\n"
                                     "1\t10\n"
                                     " # 5\n"
                                     "2 20");
  const Read r = ReadAll(Axes("Linear", "Linear"), path);
  ASSERT_TRUE(r.ok);
  // The third column is ignored; " #" is no comment and its '#' reads as 0.
  EXPECT_EQ(r.x, (std::vector<double>{3, 1, 0, 2}));
  EXPECT_EQ(r.y, (std::vector<double>{30, 10, 5, 20}));
}

TEST(SeriesFile, EveryCommentCharacterCountsOnlyFirst) {
  test::TempDir dir;
  const std::string path = dir.Write("a.dat", "%x y\n#x y\n1 2\n3 4 % not a comment\n");
  GraphView g = Axes("Linear", "Linear");
  g.CommentChars = "#%";
  EXPECT_EQ(ReadAll(g, path).x, (std::vector<double>{1, 3}));
  g.CommentChars = "#";
  EXPECT_EQ(ReadAll(g, path).x, (std::vector<double>{0, 1, 3}));  // "%x" reads as 0
}

TEST(SeriesFile, LogAxesRejectNonPositiveValuesLinearOnesKeepThem) {
  test::TempDir dir;
  const std::string path = dir.Write("a.dat", "0 1\n-2 3\n4 0\n5 abc\n6 7\n");
  EXPECT_EQ(ReadAll(Axes("Log", "Linear"), path).x, (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(ReadAll(Axes("Linear", "Log"), path).x, (std::vector<double>{0, -2, 6}));
  EXPECT_EQ(ReadAll(Axes("Linear", "Linear"), path).y, (std::vector<double>{1, 3, 0, 0, 7}));
}

TEST(SeriesFile, LinesWithoutBothColumnsAndNonFiniteValuesAddNoPoint) {
  test::TempDir dir;
  const std::string longToken = "1" + std::string(40, '0') + "e-40";  // 1.0, 45 characters
  const std::string path =
      dir.Write("a.dat", "1 2\n\n7\n   \n1e999 5\n2 -1e999\n" + longToken + " 4\n3 6x\n");
  const Read r = ReadAll(Axes("Linear", "Linear"), path);
  EXPECT_EQ(r.x, (std::vector<double>{1, 1, 3}));
  EXPECT_EQ(r.y, (std::vector<double>{2, 4, 6}));
}

TEST(SeriesFile, ScanCountsExtentsAndMergesIntoTheRange) {
  test::TempDir dir;
  GraphView g = Axes("Log", "Log");
  SeriesEntry a, b;
  a.Path = dir.Write("a.dat", "2 50\n0 1\n8 5\n4 20\n");
  b.Path = dir.Write("b.dat", "1 60\n3 7\n");
  ASSERT_TRUE(ScanSeriesFile(g, a));
  EXPECT_EQ(a.PointCount, 3);
  EXPECT_EQ(a.SeriesXMin, 2);
  EXPECT_EQ(a.SeriesXMax, 8);
  EXPECT_EQ(a.SeriesYMin, 5);
  EXPECT_EQ(a.SeriesYMax, 50);
  EXPECT_TRUE(g.RangeValid);
  ASSERT_TRUE(ScanSeriesFile(g, b));
  EXPECT_EQ(g.XLow, 1);
  EXPECT_EQ(g.XHigh, 8);
  EXPECT_EQ(g.YLow, 5);
  EXPECT_EQ(g.YHigh, 60);
}

TEST(SeriesFile, EmptyOrMissingFilesDoNotTouchTheRange) {
  test::TempDir dir;
  GraphView g = Axes("Log", "Log");
  g.XLow = 3;
  g.XHigh = 4;
  SeriesEntry empty;
  empty.Path = dir.Write("e.dat", "# only a comment\n");
  empty.PointCount = 9;
  ASSERT_TRUE(ScanSeriesFile(g, empty));
  EXPECT_EQ(empty.PointCount, 0);
  EXPECT_FALSE(g.RangeValid);  // zero extents would break a logarithmic range

  SeriesEntry missing;
  missing.Path = dir.Path("none.dat");
  missing.PointCount = 4;
  EXPECT_FALSE(ScanSeriesFile(g, missing));
  EXPECT_EQ(missing.PointCount, 4);
  EXPECT_FALSE(ReadAll(g, missing.Path).ok);
  EXPECT_EQ(g.XLow, 3);
}

}  // namespace
}  // namespace zx
