#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/correlation.h"
#include "calc/full_pass.h"
#include "calc/preview_pass.h"
#include "literal_model.h"
#include "model/format.h"
#include "model/series_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;
using literal::LiteralInputs;
using literal::LiteralModel;

constexpr int kSteps = 30;  // intervals: enough to be a real integral, quick to run

struct Lines {
  std::vector<std::string> header, data;
};

Lines ReadResult(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  Lines out;
  for (const std::string& l : SplitLines(bytes))
    (l.rfind('#', 0) == 0 ? out.header : out.data).push_back(l);
  for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
    EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << path << ": every line ends in CR LF";
  return out;
}

std::string Point(double x, double v) { return FormatLe(x) + " " + FormatLe(v); }

// Two data files and three conditions (0 and 2 on file 0, 1 on file 1).
class CalcPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.ProgramFolder = dir_.Root() + "/";
    p_.Params.IntStepNum = kSteps;
    lit_.N = kSteps;
    AddDataFile(p_, Path("data0.dat"));
    AddDataFile(p_, Path("data1.dat"));
    AddCalcCond(p_, 0, 20.0, 2.0, Path("out0.txt"));
    AddCalcCond(p_, 1, 10.0, 1.0, Path("out1.txt"));
    AddCalcCond(p_, 0, 25.0, 3.0, Path("out2.txt"));
  }

  std::string Path(const std::string& name) const { return dir_.Path(name); }

  // n measured points along a curve whose logarithm is not a line.
  void WriteData(const std::string& name, int n, double x0, double dx, bool logX) {
    std::ofstream f(Path(name), std::ios::binary);
    f << "# measured\r\n";
    for (int k = 0; k < n; ++k) {
      double x = logX ? x0 * std::pow(10.0, k * dx) : x0 + k * dx;
      f << FormatLe(x) << "\t" << FormatLe(1e-6 * std::pow(1.0 + k, 3) + 1e-9 * k) << "\r\n";
    }
  }

  test::TempDir dir_;
  Project p_;
  LiteralInputs lit_;
};

TEST_F(CalcPasses, FullPassEJWritesTheGridInDataFileThenDescendingConditionOrder) {
  std::vector<std::pair<int, int>> written;
  FullCalcProgress last;
  FullCalcHooks hooks;
  hooks.fileWritten = [&](const CalcCondEntry& c, int points) {
    written.emplace_back(c.No, points);
  };
  hooks.progress = [&](const FullCalcProgress& pr) {
    EXPECT_GE(pr.pointsDone, last.pointsDone);
    last = pr;
  };
  const FullCalcInput in = TakeFullCalcInput(p_);
  p_.Params.Re_A_m = 5.0;  // later edits do not reach a running pass
  const FullCalcOutcome out = RunFullCalculation(in, hooks);

  EXPECT_EQ(out.filesWritten, 3);
  EXPECT_EQ(out.filesFailed, 0);
  EXPECT_FALSE(out.cancelled);
  EXPECT_EQ(written, (std::vector<std::pair<int, int>>{{2, 31}, {0, 31}, {1, 31}}));
  EXPECT_EQ(last.conditionsDone, 3);
  EXPECT_EQ(last.conditionsTotal, 3);
  EXPECT_EQ(last.pointsDone, 93);
  EXPECT_EQ(last.pointsTotal, 93);

  for (const CalcCondEntry& c : p_.CalcConds.items) {
    Lines r = ReadResult(c.OutpFilePath);
    ASSERT_EQ(r.header.size(), 17u);
    EXPECT_EQ(r.header[6], "# Temperature(K)\t" + FormatLe(c.Temp));
    EXPECT_EQ(r.header[7], "# Magnetic Field(T)\t" + FormatLe(c.MagField));
    ASSERT_EQ(r.data.size(), 31u);
    LiteralModel ref(lit_);
    for (int k = 0; k < 31; ++k) {
      const double j = std::pow(10.0, k / 5.0) * 1e5;
      EXPECT_EQ(r.data[static_cast<std::size_t>(k)], Point(j, ref.E(j, c.MagField, c.Temp)))
          << c.No << " " << k;
    }
  }
}

TEST_F(CalcPasses, FullPassJcBSearchesEachFieldAndHeadsWithTheLastField) {
  p_.Settings.Mode = zx::CalcMode::JcB;
  p_.Settings.BIni = 1.0;
  p_.Settings.BFin = 3.0;
  p_.Settings.BStepLevel = 1;
  ApplyBStepLevel(p_.Params, 1);
  lit_.EcError = 1.0;
  p_.CalcConds.items[0].Temp = 5.0;   // bracketed at every field
  p_.CalcConds.items[2].Temp = 37.0;  // beyond Bc2(T) at higher fields
  const FullCalcOutcome out = RunFullCalculation(TakeFullCalcInput(p_), {});
  EXPECT_EQ(out.filesWritten, 3);

  bool sawNoBracket = false;
  for (const CalcCondEntry& c : p_.CalcConds.items) {
    Lines r = ReadResult(c.OutpFilePath);
    ASSERT_EQ(r.data.size(), 3u);
    EXPECT_EQ(r.header[6], "# Temperature(K)\t" + FormatLe(c.Temp));
    EXPECT_EQ(r.header[7], "# Magnetic Field(T)\t" + FormatLe(3.0));
    LiteralModel ref(lit_);
    for (int k = 0; k < 3; ++k) {
      const double b = k / 1.0 + 1.0;
      const double jc = ref.Jc(b, c.Temp, 1e5, 1e11);
      sawNoBracket = sawNoBracket || jc == 1.0;
      EXPECT_EQ(r.data[static_cast<std::size_t>(k)], Point(b, jc)) << c.No << " " << k;
    }
  }
  EXPECT_TRUE(sawNoBracket);
}

TEST_F(CalcPasses, FullPassSkipsTheRestOfADataFileAfterAWriteFailureAndStopsOnCancel) {
  p_.CalcConds.items[2].OutpFilePath = Path("missing/out2.txt");
  std::vector<std::string> failures;
  std::vector<int> written;
  FullCalcProgress last;
  FullCalcHooks hooks;
  hooks.writeFailed = [&](const std::string& msg, const std::string& path) {
    EXPECT_EQ(msg, "計算結果出力ファイルを作成できません。");
    failures.push_back(path);
  };
  hooks.fileWritten = [&](const CalcCondEntry& c, int) { written.push_back(c.No); };
  hooks.progress = [&](const FullCalcProgress& pr) { last = pr; };
  FullCalcOutcome out = RunFullCalculation(TakeFullCalcInput(p_), hooks);
  EXPECT_EQ(failures, std::vector<std::string>{Path("missing/out2.txt")});
  EXPECT_EQ(written, std::vector<int>{1});  // 0 skipped with its data file's rest
  EXPECT_FALSE(fs::exists(Path("out0.txt")));
  EXPECT_EQ(out.filesFailed, 1);
  EXPECT_EQ(last.conditionsDone, 3);
  EXPECT_EQ(last.pointsDone, last.pointsTotal);

  std::atomic<bool> cancel{false};
  hooks.cancel = &cancel;
  hooks.writeFailed = {};
  written.clear();
  hooks.fileWritten = [&](const CalcCondEntry& c, int) {
    written.push_back(c.No);
    cancel = true;
  };
  p_.CalcConds.items[2].OutpFilePath = Path("out2.txt");
  out = RunFullCalculation(TakeFullCalcInput(p_), hooks);
  EXPECT_TRUE(out.cancelled);
  EXPECT_EQ(written, std::vector<int>{2});
}

TEST_F(CalcPasses, FullPassRangesGivingNoOrNegativeCountsAndUnrelatedConditions) {
  AddCalcCond(p_, -1, 20.0, 2.0, Path("orphan.txt"));
  AddCalcCond(p_, 7, 20.0, 2.0, Path("nofile.txt"));
  p_.Settings.JIni = 1e11;
  p_.Settings.JFin = 1e5;  // reversed: a header without points
  std::vector<int> points;
  FullCalcHooks hooks;
  hooks.fileWritten = [&](const CalcCondEntry&, int n) { points.push_back(n); };
  RunFullCalculation(TakeFullCalcInput(p_), hooks);
  EXPECT_EQ(points, (std::vector<int>{0, 0, 0}));
  Lines r = ReadResult(Path("out1.txt"));
  EXPECT_EQ(r.header.size(), 17u);
  EXPECT_TRUE(r.data.empty());
  EXPECT_FALSE(fs::exists(Path("orphan.txt")));
  EXPECT_FALSE(fs::exists(Path("nofile.txt")));

  fs::remove(Path("out1.txt"));
  p_.Settings.Mode = zx::CalcMode::JcB;
  p_.Settings.BIni = 2.0;
  p_.Settings.BFin = 1.75;  // a count of 0 skips everything
  points.clear();
  RunFullCalculation(TakeFullCalcInput(p_), hooks);
  EXPECT_TRUE(points.empty());
  EXPECT_FALSE(fs::exists(Path("out1.txt")));
}

TEST_F(CalcPasses, PreviewSamplesEachDataFileWritesCurveFilesAndCoefficients) {
  WriteData("data0.dat", 100, 1e6, 0.05, true);
  WriteData("data1.dat", 4, 1e7, 0.5, true);
  std::vector<std::pair<int, std::string>> shown;
  PreviewHooks hooks;
  hooks.readPanelValues = [this] { p_.Params.Re_Gamma = 0.6; };
  hooks.showCorrCoef = [&](int row, const std::string& text) { shown.emplace_back(row, text); };
  hooks.warning = [](const std::string&, const std::string& path) { ADD_FAILURE() << path; };
  ViewState v = MakeViewState(p_);
  EXPECT_TRUE(PreviewRunner(hooks)(p_, v));
  lit_.gamma = 0.6;

  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].first, 2);  // highest No first within data file 0
  EXPECT_EQ(shown[1].first, 0);
  EXPECT_EQ(shown[2].first, 1);

  for (const CalcCondEntry& c : p_.CalcConds.items) {
    std::vector<double> x, y;
    ASSERT_TRUE(ReadSeriesFile(v.View, *v.DataSeries.Find(c.RelatedDatFileNo), &x, &y));
    const std::vector<int> idx = c.RelatedDatFileNo == 0 ? std::vector<int>{0, 20, 40, 60, 80}
                                                         : std::vector<int>{0, 1, 2, 3};
    Lines r = ReadResult(c.Path);
    ASSERT_EQ(r.data.size(), idx.size());
    LiteralModel ref(lit_);
    std::vector<double> lm, lc;
    for (std::size_t k = 0; k < idx.size(); ++k) {
      const double j = x[static_cast<std::size_t>(idx[k])];
      const double e = ref.E(j, c.MagField, c.Temp);
      EXPECT_EQ(r.data[k], Point(j, e));
      lm.push_back(std::log10(y[static_cast<std::size_t>(idx[k])]));
      lc.push_back(std::log10(e));
    }
    const double expected =
        CorrelationCoefficient(lm.data(), lc.data(), static_cast<int>(lm.size()));
    EXPECT_EQ(CorrCoefOf(v, c), expected);
    EXPECT_NE(CorrCoefOf(v, c), 0.0);
    for (const auto& s : shown) {
      if (s.first == c.No) {
        EXPECT_EQ(s.second, CorrCoefText(expected));
      }
    }
  }
  // The scan merged the measured extents into the graph range.
  EXPECT_TRUE(v.View.RangeValid);
}

TEST_F(CalcPasses, PreviewSkipsUnreadableDataFilesAndTheRestAfterACurveFileFailure) {
  WriteData("data1.dat", 4, 1e7, 0.5, true);
  std::vector<int> rows;
  std::vector<std::string> warnings;
  PreviewHooks hooks;
  hooks.showCorrCoef = [&](int row, const std::string&) { rows.push_back(row); };
  hooks.warning = [&](const std::string& msg, const std::string& path) {
    EXPECT_EQ(msg, "計算結果出力ファイルを作成できません。");
    warnings.push_back(path);
  };
  ViewState v = MakeViewState(p_);
  EXPECT_TRUE(RunPreviewCalculation(p_, v, hooks));  // data0.dat is missing
  EXPECT_EQ(rows, std::vector<int>{1});
  EXPECT_TRUE(warnings.empty());

  WriteData("data0.dat", 9, 1e6, 0.3, true);
  p_.CalcConds.items[2].Path = Path("missing/tmp2.dat");
  RebuildSeriesLists(v, p_);
  rows.clear();
  EXPECT_TRUE(RunPreviewCalculation(p_, v, hooks));
  EXPECT_EQ(warnings, std::vector<std::string>{Path("missing/tmp2.dat")});
  EXPECT_EQ(rows, std::vector<int>{1});  // 0 shares data file 0 and is skipped

  fs::remove(Path("data0.dat"));
  fs::remove(Path("data1.dat"));
  EXPECT_FALSE(RunPreviewCalculation(p_, v, hooks));
}

TEST_F(CalcPasses, PreviewLeavesOutWhatTheDeadlineDoesNotReach) {
  WriteData("data0.dat", 9, 1e6, 0.3, true);
  WriteData("data1.dat", 4, 1e7, 0.5, true);
  ViewState v = MakeViewState(p_);
  for (const CalcCondEntry& c : p_.CalcConds.items) SetCorrCoef(v, c, 0.5);
  std::vector<int> rows;
  PreviewHooks hooks;
  hooks.showCorrCoef = [&](int row, const std::string&) { rows.push_back(row); };
  hooks.deadline = std::chrono::steady_clock::now();  // already over
  // The data files are still scanned, so their points are drawn.
  EXPECT_TRUE(RunPreviewCalculation(p_, v, hooks));
  EXPECT_TRUE(rows.empty());
  for (const CalcCondEntry& c : p_.CalcConds.items) {
    EXPECT_FALSE(fs::exists(c.Path)) << c.Path;
    EXPECT_EQ(CorrCoefOf(v, c), 0.5);
  }
  hooks.deadline = std::chrono::steady_clock::now() + std::chrono::hours(1);
  EXPECT_TRUE(RunPreviewCalculation(p_, v, hooks));
  EXPECT_EQ(rows.size(), p_.CalcConds.items.size());
}

TEST_F(CalcPasses, PreviewJcBUsesTheMeasuredFieldsAndTheJRangeAsBracket) {
  p_.Settings.Mode = zx::CalcMode::JcB;
  ApplyModeAxes(p_.Axes, CalcMode::JcB);
  p_.CalcConds.items[1].Temp = 5.0;
  WriteData("data1.dat", 3, 0.5, 1.0, false);
  lit_.EcError = p_.Params.E_cAllowableError;
  ViewState v = MakeViewState(p_);
  RunPreviewCalculation(p_, v, {});
  Lines r = ReadResult(p_.CalcConds.items[1].Path);
  ASSERT_EQ(r.data.size(), 3u);
  LiteralModel ref(lit_);
  for (int k = 0; k < 3; ++k) {
    const double b = 0.5 + k;
    EXPECT_EQ(r.data[static_cast<std::size_t>(k)], Point(b, ref.Jc(b, 5.0, 1e5, 1e11)));
  }
}

}  // namespace
}  // namespace zx
