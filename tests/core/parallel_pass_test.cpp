// The passes on several threads: the same bytes in every file, the same
// order of files and coefficients, and a clean stop on cancel.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "calc/full_pass.h"
#include "calc/preview_pass.h"
#include "model/format.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

// Three data files, six conditions spread over them unevenly.
class ParallelPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.ProgramFolder = dir_.Root() + "/";
    p_.Params.IntStepNum = 30;
    for (int f = 0; f < 3; ++f) AddDataFile(p_, Path("data" + std::to_string(f) + ".dat"));
    const int files[] = {0, 2, 0, 1, 0, 2};
    for (int c = 0; c < 6; ++c)
      AddCalcCond(p_, files[c], 8.0 + 4.0 * c, 0.5 + 0.4 * c,
                  Path("out" + std::to_string(c) + ".txt"));
  }

  std::string Path(const std::string& name) const { return dir_.Path(name); }

  void WriteData(int file, bool fields) {
    std::ofstream f(Path("data" + std::to_string(file) + ".dat"), std::ios::binary);
    for (int k = 0; k < 12; ++k) {
      const double x = fields ? 0.5 + 0.5 * k : 1e6 * std::pow(10.0, 0.4 * k);
      f << FormatLe(x) << "\t" << FormatLe(1e-7 * std::pow(2.0 + k, 3 + file)) << "\r\n";
    }
  }

  // Every result file's bytes after a full pass on `threads` threads, and
  // the order in which the files were reported.
  std::map<std::string, std::string> FullPass(int threads, std::vector<int>* order) {
    for (const CalcCondEntry& c : p_.CalcConds.items) fs::remove(c.OutpFilePath);
    FullCalcInput in = TakeFullCalcInput(p_);
    in.threads = threads;
    FullCalcHooks hooks;
    hooks.fileWritten = [order](const CalcCondEntry& c, int) { order->push_back(c.No); };
    const FullCalcOutcome out = RunFullCalculation(in, hooks);
    EXPECT_EQ(out.filesWritten, 6);
    return Files();
  }

  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir_.Root())) {
      std::string bytes;
      EXPECT_TRUE(ReadWholeFile(entry.path().string(), bytes));
      files[entry.path().filename().string()] = bytes;
    }
    return files;
  }

  test::TempDir dir_;
  Project p_;
};

TEST_F(ParallelPasses, FullPassFilesAreIdenticalForOneAndFourThreadsInBothModes) {
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    p_.Settings.Mode = static_cast<CalcMode>(mode);
    p_.Settings.BStepLevel = 2;
    std::vector<int> one, four;
    const auto a = FullPass(1, &one);
    const auto b = FullPass(4, &four);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 6u);  // and nothing else left in the folder
    // Data files rising, within each the highest No first.
    EXPECT_EQ(one, (std::vector<int>{4, 2, 0, 3, 5, 1}));
    EXPECT_EQ(four, one);
  }
}

TEST_F(ParallelPasses, ProgressRisesToTheTotalOnTheCallingThread) {
  FullCalcInput in = TakeFullCalcInput(p_);
  in.threads = 3;
  const std::thread::id caller = std::this_thread::get_id();
  FullCalcProgress last;
  int reports = 0;
  FullCalcHooks hooks;
  hooks.progress = [&](const FullCalcProgress& pr) {
    EXPECT_EQ(std::this_thread::get_id(), caller);
    EXPECT_GE(pr.pointsDone, last.pointsDone);
    EXPECT_LE(pr.pointsDone, pr.pointsTotal);
    last = pr;
    ++reports;
  };
  RunFullCalculation(in, hooks);
  EXPECT_EQ(last.conditionsDone, 6);
  EXPECT_EQ(last.pointsDone, 6 * 31);
  EXPECT_EQ(last.pointsTotal, 6 * 31);
  EXPECT_GE(reports, 6);  // at least once per condition
}

TEST_F(ParallelPasses, ACancelledPassLeavesOnlyCompleteFiles) {
  std::vector<int> order;
  const auto complete = FullPass(1, &order);
  for (int threads : {1, 4}) {
    SCOPED_TRACE(threads);
    for (const CalcCondEntry& c : p_.CalcConds.items) fs::remove(c.OutpFilePath);
    std::atomic<bool> cancel{false};
    FullCalcInput in = TakeFullCalcInput(p_);
    in.threads = threads;
    FullCalcHooks hooks;
    hooks.cancel = &cancel;
    // Stop in the middle of the third condition.
    hooks.progress = [&](const FullCalcProgress& pr) {
      if (pr.pointsDone >= 2 * 31 + 10) cancel = true;
    };
    const FullCalcOutcome out = RunFullCalculation(in, hooks);
    EXPECT_TRUE(out.cancelled);
    EXPECT_LT(out.filesWritten, 6);
    const auto left = Files();
    EXPECT_EQ(static_cast<int>(left.size()), out.filesWritten);
    for (const auto& [name, bytes] : left) EXPECT_EQ(bytes, complete.at(name)) << name;
  }
}

TEST_F(ParallelPasses, PreviewCurvesAndCoefficientsDoNotDependOnTheThreadCount) {
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    p_.Settings.Mode = static_cast<CalcMode>(mode);
    for (int f = 0; f < 3; ++f) WriteData(f, mode == 1);
    std::map<int, std::vector<std::string>> runs;
    std::map<int, std::vector<double>> coefs;
    for (int threads : {1, 4}) {
      PreviewHooks hooks;
      hooks.threads = threads;
      std::vector<std::string>& shown = runs[threads];
      hooks.showCorrCoef = [&shown](int row, const std::string& text) {
        shown.push_back(std::to_string(row) + " " + text);
      };
      ViewState view = MakeViewState(p_);
      EXPECT_TRUE(RunPreviewCalculation(p_, view, hooks));
      for (const CalcCondEntry& c : p_.CalcConds.items) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(c.Path, bytes));
        shown.push_back(bytes);
        coefs[threads].push_back(CorrCoefOf(view, c));
      }
    }
    EXPECT_EQ(runs[1], runs[4]);
    EXPECT_EQ(coefs[1], coefs[4]);
    EXPECT_EQ(runs[1].front().substr(0, 2), "4 ");  // data file 0, highest No first
  }
}

}  // namespace
}  // namespace zx
