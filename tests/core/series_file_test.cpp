#include "model/series_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
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

GraphView Axes(AxisScale xType, AxisScale yType) {
  GraphView g;
  g.X.Type = xType;
  g.Y.Type = yType;
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
  const Read r = ReadAll(Axes(AxisScale::Linear, AxisScale::Linear), path);
  ASSERT_TRUE(r.ok);
  // The third column is ignored; " #" is no comment and its '#' reads as 0.
  EXPECT_EQ(r.x, (std::vector<double>{3, 1, 0, 2}));
  EXPECT_EQ(r.y, (std::vector<double>{30, 10, 5, 20}));
}

TEST(SeriesFile, EveryCommentCharacterCountsOnlyFirst) {
  test::TempDir dir;
  const std::string path = dir.Write("a.dat", "%x y\n#x y\n1 2\n3 4 % not a comment\n");
  GraphView g = Axes(AxisScale::Linear, AxisScale::Linear);
  g.CommentChars = "#%";
  EXPECT_EQ(ReadAll(g, path).x, (std::vector<double>{1, 3}));
  g.CommentChars = "#";
  EXPECT_EQ(ReadAll(g, path).x, (std::vector<double>{0, 1, 3}));  // "%x" reads as 0
}

TEST(SeriesFile, LogAxesRejectNonPositiveValuesLinearOnesKeepThem) {
  test::TempDir dir;
  const std::string path = dir.Write("a.dat", "0 1\n-2 3\n4 0\n5 abc\n6 7\n");
  EXPECT_EQ(ReadAll(Axes(AxisScale::Log, AxisScale::Linear), path).x,
            (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(ReadAll(Axes(AxisScale::Linear, AxisScale::Log), path).x,
            (std::vector<double>{0, -2, 6}));
  EXPECT_EQ(ReadAll(Axes(AxisScale::Linear, AxisScale::Linear), path).y,
            (std::vector<double>{1, 3, 0, 0, 7}));
}

TEST(SeriesFile, LinesWithoutBothColumnsAndNonFiniteValuesAddNoPoint) {
  test::TempDir dir;
  const std::string longToken = "1" + std::string(40, '0') + "e-40";  // 1.0, 45 characters
  const std::string path =
      dir.Write("a.dat", "1 2\n\n7\n   \n1e999 5\n2 -1e999\n" + longToken + " 4\n3 6x\n");
  const Read r = ReadAll(Axes(AxisScale::Linear, AxisScale::Linear), path);
  EXPECT_EQ(r.x, (std::vector<double>{1, 1, 3}));
  EXPECT_EQ(r.y, (std::vector<double>{2, 4, 6}));
}

TEST(SeriesFile, ScanCountsExtentsAndMergesIntoTheRange) {
  test::TempDir dir;
  GraphView g = Axes(AxisScale::Log, AxisScale::Log);
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
  EXPECT_EQ(g.X.Low, 1);
  EXPECT_EQ(g.X.High, 8);
  EXPECT_EQ(g.Y.Low, 5);
  EXPECT_EQ(g.Y.High, 60);
}

TEST(SeriesFile, EmptyOrMissingFilesDoNotTouchTheRange) {
  test::TempDir dir;
  GraphView g = Axes(AxisScale::Log, AxisScale::Log);
  g.X.Low = 3;
  g.X.High = 4;
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
  EXPECT_EQ(g.X.Low, 3);
}

TEST(SeriesFile, OnlyRegularFilesWithinTheLimitsAreRead) {
  test::TempDir dir;
  GraphView g = Axes(AxisScale::Log, AxisScale::Log);
  g.X.Low = 5;
  SeriesEntry s;
  // Endless or blocking sources are refused at once and change nothing.
  const std::string fifo = dir.Path("pipe.dat");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo, dir.Path("")}) {
    s.Path = path;
    EXPECT_EQ(ScanSeries(g, s), SeriesRead::Unreadable) << path;
  }
  EXPECT_EQ(g.X.Low, 5);

  // One point too many, and one line too long, are too large; the limit
  // itself is not.
  std::string many;
  for (std::size_t i = 0; i < kMaxSeriesPoints; ++i) many += "1 2\n";
  s.Path = dir.Write("limit.dat", many);
  ASSERT_EQ(ScanSeries(g, s), SeriesRead::Ok);
  EXPECT_EQ(s.PointCount, static_cast<int>(kMaxSeriesPoints));
  s.Path = dir.Write("more.dat", many + "3 4\n");
  EXPECT_EQ(ScanSeries(g, s), SeriesRead::TooLarge);
  EXPECT_EQ(s.PointCount, static_cast<int>(kMaxSeriesPoints));  // unchanged
  EXPECT_EQ(s.Points, nullptr);
  const std::string wide(kMaxSeriesLineBytes, '7');
  s.Path = dir.Write("wide.dat", "1 " + wide.substr(2) + "\r\n2 2\n");
  EXPECT_EQ(ScanSeries(g, s), SeriesRead::Ok);
  s.Path = dir.Write("wider.dat", "1 " + wide + "\n2 2\n");
  EXPECT_EQ(ScanSeries(g, s), SeriesRead::TooLarge);
  s.Path = dir.Write("endless.dat", "1 2\n" + std::string(3 * kMaxSeriesLineBytes, '#'));
  EXPECT_EQ(ScanSeries(g, s), SeriesRead::TooLarge);
}

TEST(SeriesFile, TheScanKeepsThePointsForTheSameFileOnly) {
  test::TempDir dir;
  GraphView g = Axes(AxisScale::Linear, AxisScale::Linear);
  SeriesEntry s;
  s.Path = dir.Write("a.dat", "1 10\r\n# c\n2 20\n3 30");  // last line unterminated
  ASSERT_TRUE(ScanSeriesFile(g, s));
  ASSERT_NE(s.Points, nullptr);
  EXPECT_EQ(s.Points->x, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(s.Points->y, (std::vector<double>{10, 20, 30}));
  std::filesystem::remove(s.Path);
  std::vector<double> x;
  EXPECT_TRUE(ReadSeriesFile(g, s, &x, nullptr));  // from memory
  EXPECT_EQ(x.size(), 3u);
  s.Path = dir.Path("other.dat");
  EXPECT_FALSE(ReadSeriesFile(g, s, &x, nullptr));
  SeriesList list;
  list.Add(s);
  DropScannedPoints(list);
  EXPECT_EQ(list.items[0].Points, nullptr);
}

}  // namespace
}  // namespace zx
