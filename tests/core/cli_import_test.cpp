#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/series_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

using test::CliRun;
using test::RunCli;

// A sweep file as a logger writes it: date, time, then the channels.
std::string SweepFile() {
  std::string t = "datetime t_s iHTS_A vHTS_V tHTS_K\n";
  for (int k = 0; k <= 40; ++k) {
    const double amps = 2.5 * k;
    const double volts = 4e-8 + 1e-9 * amps + (amps > 70 ? 1e-7 * (amps - 70) : 0.0);
    char line[160];
    std::snprintf(line, sizeof line, "2024-05-01 10:00:%02d %d %.17g %.17g 60.0\n", k % 60, k, amps,
                  volts);
    t += line;
  }
  return t + "# sweep stopped\n";
}

TEST(CliImport, ViSweepIsConvertedAndReported) {
  test::TempDir dir;
  const std::string raw = dir.Write("sweep.txt", SweepFile());
  const std::string out = dir.Path("sweep_EJ.dat");
  const std::string base = "--import-vi " + raw + " --out " + out +
                           " --tap-length 0.02 --width 4e-3 --thickness 1e-6 --columns 2,3";
  const CliRun r = RunCli(base + " --min-field 1e-7");
  ASSERT_EQ(r.code, 0);
  // 12 points above 70 A; 28 at or below it and the one at 0 A.
  EXPECT_EQ(r.out,
            "kept 12\tdropped 29\toffset 4.000000e-08\tslope 1.000000e-09\tmin-field "
            "1.000000e-07\n");
  GraphView g;
  SeriesEntry s;
  s.Path = out;
  std::vector<double> x, y;
  ASSERT_TRUE(ReadSeriesFile(g, s, &x, &y));
  ASSERT_EQ(x.size(), 12u);
  EXPECT_NEAR(y[0], 1e-7 * 2.5 / 0.02, 1e-12);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(out, bytes));
  EXPECT_NE(bytes.find("# Columns\tI 2 (iHTS_A), V 3 (vHTS_V)\r\n"), std::string::npos);

  // Without --columns the names choose iHTS_A and vHTS_V, never the time.
  const CliRun named = RunCli("--import-vi " + raw + " --out " + dir.Path("named.dat") +
                              " --tap-length 0.02 --width 4e-3 --thickness 1e-6 --min-field 1e-7");
  EXPECT_EQ(named.code, 0);
  EXPECT_EQ(named.out, r.out);

  const CliRun icb =
      RunCli("--import-icb " + dir.Write("icb.txt", "B Ic\n1 100\n2 50\n3 -1\n") + " --out " +
             dir.Path("icb_JcB.dat") + " --width 4e-3 --thickness 1e-6 --current-unit mA");
  EXPECT_EQ(icb.code, 0);
  EXPECT_EQ(icb.out, "kept 2\tdropped 1\n");
}

TEST(CliImport, ExitCodesAndNothingWrittenOnErrors) {
  test::TempDir dir;
  const std::string raw = dir.Write("sweep.txt", SweepFile());
  const std::string out = dir.Path("o.dat");
  const std::string geo = " --tap-length 0.02 --width 4e-3 --thickness 1e-6";
  auto code = [&](const std::string& args) { return RunCli(args).code; };
  // Usage.
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + " --width 4e-3 --thickness 1e-6"), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --tap-length 0"), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --voltage-unit kV"), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --columns 2"), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --columns 2,9"), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --background-fraction 2"), 2);
  EXPECT_EQ(code("--import-icb " + raw + " --out " + out + geo), 2);
  EXPECT_EQ(code("--import-vi " + raw + geo), 2);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + raw + geo + " --columns 2,3"), 2);
  // Files.
  EXPECT_EQ(code("--import-vi " + dir.Path("none.txt") + " --out " + out + geo), 1);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + dir.Path("no/such/dir/o.dat") + geo +
                 " --columns 2,3"),
            1);
  // Nothing left.
  EXPECT_EQ(code("--import-vi " + dir.Write("w.txt", "a b\nc d\n") + " --out " + out + geo), 3);
  EXPECT_EQ(code("--import-vi " + raw + " --out " + out + geo + " --columns 2,3 --min-field 1"), 3);
  EXPECT_FALSE(FileExists(out));
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(raw, kept));
  EXPECT_EQ(kept, SweepFile());
}

}  // namespace
}  // namespace zx
