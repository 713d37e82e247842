#include <gtest/gtest.h>

#include "import/raw_data_check.h"
#include "temp_files.h"

namespace zx {
namespace {

TEST(RawDataCheck, RawTablesAreToldFromDataFiles) {
  test::TempDir dir;
  GraphView logLog;  // E-J axes
  // A converted file: comments, increasing J, all points positive.
  RawDataCheck r = CheckDataFileLooksRaw(
      logLog, dir.Write("ej.dat", "# J E\r\n1e8 1e-6\r\n2e8 2e-6\r\n\r\n3e8 5e-6\r\n"));
  EXPECT_TRUE(r.readable);
  EXPECT_FALSE(r.LooksRaw());
  EXPECT_EQ(r.contentLines, 3);

  // A sweep with a date first: every line reads as x = 2024.
  r = CheckDataFileLooksRaw(logLog, dir.Write("sweep.txt",
                                              "datetime I V\n2024-05-01 1 1e-6\n"
                                              "2024-05-01 2 2e-6\n2024-05-01 3 3e-6\n"));
  EXPECT_TRUE(r.notIncreasing);
  EXPECT_TRUE(r.LooksRaw());

  // Negative voltages vanish on log axes: most lines give no point.
  r = CheckDataFileLooksRaw(
      logLog, dir.Write("offset.txt", "I V\n1 -1e-8\n2 -2e-8\n3 -1e-9\n4 1e-7\n5 1e-6\n"));
  EXPECT_TRUE(r.fewPoints);
  EXPECT_EQ(r.LinesWithoutPoint(), 4);

  // A decreasing field scan on a linear axis is still flagged.
  GraphView jcb;
  jcb.X.Type = AxisScale::Linear;
  r = CheckDataFileLooksRaw(jcb, dir.Write("jcb.dat", "3 1e9\n2 2e9\n1 3e9\n"));
  EXPECT_TRUE(r.notIncreasing);
  EXPECT_FALSE(r.fewPoints);

  EXPECT_FALSE(CheckDataFileLooksRaw(logLog, dir.Path("missing.dat")).readable);
  EXPECT_FALSE(CheckDataFileLooksRaw(logLog, dir.Write("empty.dat", "# only\n")).LooksRaw());
}

}  // namespace
}  // namespace zx
