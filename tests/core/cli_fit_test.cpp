#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "fit_fixture.h"
#include "model/format.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

class CliFit : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.Path(name); }

  // Under an English locale unless `locale` names another.
  static int Cli(const std::string& args, std::string* out = nullptr, std::string* err = nullptr,
                 const std::string& locale = "en_US.UTF-8") {
    const test::CliRun r = test::RunCli(args, {}, locale);
    if (out) *out = r.out;
    if (err) *err = r.err;
    return r.code;
  }

  // Synthetic E-J data of two conditions (Am, gamma and m 10 % off in the
  // project), and a third condition whose data file is missing.
  std::string WriteProject() {
    const ModelParams truth = fit_test::TruthParams();
    const FitInput in = fit_test::MakeEJInput(truth, {{20, 1.5}, {25, 2.5}, {30, 1.5}}, 8);
    Project p;
    p.Params = truth;
    p.Params.Re_A_m *= 1.1;
    p.Params.Re_Gamma *= 1.1;
    p.Params.Re_m *= 1.1;
    fit_test::AddConditionFiles(p, in, Path(""), Path("r.dat"));
    AddDataFile(p, Path("absent.dat"));
    AddCalcCond(p, 3, 25.0, 1.0, Path("r.dat"));
    const std::string path = Path("p.zx2");
    EXPECT_TRUE(WriteSettings(p, path));
    return path;
  }

  test::TempDir dir_;
};

std::vector<std::vector<std::string>> Records(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, '\t')) fields.push_back(cell);
    rows.push_back(fields);
  }
  return rows;
}

// The records of one kind, in their order.
std::vector<std::vector<std::string>> OfKind(const std::vector<std::vector<std::string>>& rows,
                                             const std::string& kind) {
  std::vector<std::vector<std::string>> out;
  for (const auto& r : rows)
    if (!r.empty() && r[0] == kind) out.push_back(r);
  return out;
}

TEST_F(CliFit, FitPrintsTheRecordsAndWriteChangesOnlyTheFiveLines) {
  const std::string project = WriteProject();
  std::string before;
  ASSERT_TRUE(ReadWholeFile(project, before));

  std::string out, err;
  ASSERT_EQ(Cli("--fit --starts 4 --fix sigma2,g2 --threads 2 '" + project + "'", &out, &err), 0);
  EXPECT_EQ(err, "zentrix2-calc: condition 3 left out: its data file cannot be read\n");
  auto rows = Records(out);
  // The kinds come in blocks, in this order.
  const std::vector<std::string> order = {"param", "corr", "minimum", "cond", "total"};
  std::size_t block = 0;
  for (const auto& r : rows) {
    while (block < order.size() && r[0] != order[block]) ++block;
    ASSERT_LT(block, order.size()) << "out of order: " << r[0] << "\n" << out;
  }
  const auto params = OfKind(rows, "param");
  ASSERT_EQ(params.size(), 5u) << out;
  const char* names[] = {"Am", "sigma2", "gamma", "m", "g2"};
  for (int k = 0; k < 5; ++k) {
    ASSERT_EQ(params[k].size(), 5u);
    EXPECT_EQ(params[k][1], names[k]);
  }
  EXPECT_EQ(params[1][4], "fixed");
  EXPECT_EQ(params[1][3], "nan");
  EXPECT_EQ(params[0][4], "free");
  EXPECT_NEAR(std::stod(params[0][2]) / 1.25e9, 1.0, 1e-4);
  EXPECT_EQ(params[1][2], "8.000000000e-02");  // untouched
  // One correlation row per parameter, symmetric, 1 on the diagonal of
  // the free ones and nan for the fixed ones.
  const auto corr = OfKind(rows, "corr");
  ASSERT_EQ(corr.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(corr[i].size(), 7u);
    EXPECT_EQ(corr[i][1], names[i]);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(corr[i][2 + j], corr[j][2 + i]);
  }
  EXPECT_EQ(corr[0][2], "1.000");
  EXPECT_EQ(corr[1][3], "nan");
  EXPECT_EQ(corr[0][3], "nan");
  const auto minima = OfKind(rows, "minimum");
  ASSERT_GE(minima.size(), 1u);
  EXPECT_EQ(minima[0][1], "1");
  ASSERT_EQ(minima[0].size(), 10u);
  EXPECT_EQ(minima[0][4], params[0][2]);  // the best minimum is the result
  int reached = 0;
  for (const auto& m : minima) reached += std::stoi(m[3]);
  EXPECT_GE(reached, 1);  // starts dropped early reach none
  EXPECT_LE(reached, 4);
  EXPECT_TRUE(OfKind(rows, "warn").empty()) << out;
  const auto conds = OfKind(rows, "cond");
  ASSERT_EQ(conds.size(), 4u);
  EXPECT_EQ(conds[0][2], "8");
  EXPECT_EQ(conds[3], (std::vector<std::string>{"cond", "3", "0", "-", "-", "-", "-", "-"}));
  const auto total = OfKind(rows, "total");
  ASSERT_EQ(total.size(), 1u);
  ASSERT_EQ(total[0].size(), 6u);
  EXPECT_EQ(total[0][1], "24");
  EXPECT_EQ(total[0][4], "converged");
  std::string unchanged;
  ASSERT_TRUE(ReadWholeFile(project, unchanged));
  EXPECT_EQ(unchanged, before);  // no --write: the project stays

  ASSERT_EQ(Cli("--fit --starts 1 --fix sigma2,g2 --write '" + project + "'"), 0);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(project, after));
  const auto a = SplitLines(before), b = SplitLines(after);
  ASSERT_EQ(a.size(), b.size());
  int changed = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      ++changed;
      EXPECT_TRUE(a[i].rfind("Re(A_m)\t", 0) == 0 || a[i].rfind("Re(Gamma)\t", 0) == 0 ||
                  a[i].rfind("Re(m)\t", 0) == 0)
          << a[i];
    }
  EXPECT_EQ(changed, 3);  // the two fixed values are rewritten as they were
  EXPECT_EQ(after.size(), before.size());
  Project loaded;
  ASSERT_TRUE(LoadSettingsFile(loaded, project));
  EXPECT_NEAR(loaded.Params.Re_A_m / 1.25e9, 1.0, 1e-4);

  // The quality of the written values: the current values with nan errors,
  // 0 iterations.
  ASSERT_EQ(Cli("--quality '" + project + "'", &out), 0);
  rows = Records(out);
  ASSERT_EQ(rows.size(), 5u + 5u);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(rows[k][0], "param");
    EXPECT_EQ(rows[k][1], names[k]);
    EXPECT_EQ(rows[k][3], "nan");
  }
  EXPECT_EQ(std::stod(rows[0][2]), loaded.Params.Re_A_m);
  EXPECT_EQ(rows[5][0], "cond");
  EXPECT_EQ(rows[9][3], "0");
  EXPECT_LT(std::stod(rows[9][2]), 1e-5);
}

TEST_F(CliFit, SampleConstantsAndOrdersAreFittedAndWritten) {
  // Data made with Tc 39.5 and the first-order temperature law; the project
  // says 38.5 and the second order.
  ModelParams truth = fit_test::TruthParams();
  truth.T_c = 39.5;
  truth.Tcn = 0;
  const FitInput in = fit_test::MakeEJInput(truth, {{20, 1.5}, {25, 2.5}, {30, 1.5}}, 8);
  Project p;
  p.Params = truth;
  p.Params.T_c = 38.5;
  p.Params.Tcn = 1;
  fit_test::AddConditionFiles(p, in, Path(""), Path("r.dat"));
  const std::string project = Path("p.zx2");
  ASSERT_TRUE(WriteSettings(p, project));
  std::string out, err;
  ASSERT_EQ(Cli("--fit --starts 2 --fix sigma2,g2 --free Tc --orders all --write --curves '" +
                    Path("c.txt") + "' '" + project + "'",
                &out, &err),
            0)
      << err;
  const auto rows = Records(out);
  const auto params = OfKind(rows, "param");
  ASSERT_EQ(params.size(), 6u) << out;
  EXPECT_EQ(params[5][1], "Tc");
  EXPECT_NEAR(std::stod(params[5][2]), 39.5, 1e-3);
  EXPECT_EQ(OfKind(rows, "corr")[0].size(), 8u);
  const auto orders = OfKind(rows, "order");
  ASSERT_EQ(orders.size(), 4u);
  EXPECT_EQ(orders[0][1], "1");  // the first order of the temperature, best first
  EXPECT_LT(std::stod(orders[0][3]), 1e-4);
  Project loaded;
  ASSERT_TRUE(LoadSettingsFile(loaded, project));
  EXPECT_EQ(loaded.Params.Tcn, 0);
  EXPECT_NEAR(loaded.Params.T_c, 39.5, 1e-3);
  // The curves: per condition a header and 200 lines inside their band.
  std::string curves;
  ASSERT_TRUE(ReadWholeFile(Path("c.txt"), curves));
  std::istringstream lines(curves);
  std::string line;
  int headers = 0, points = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("# cond ", 0) == 0) {
      ++headers;
      continue;
    }
    std::istringstream f(line);
    double x, y, lo, hi;
    ASSERT_TRUE(f >> x >> y >> lo >> hi) << line;
    EXPECT_LE(lo, y);
    EXPECT_GE(hi, y);
    ++points;
  }
  EXPECT_EQ(headers, 3);
  EXPECT_EQ(points, 600);
}

TEST_F(CliFit, TcFreedFromBelowAConditionFitsItWithoutSolverLogLines) {
  // Tc starts at 33 K under the 34 K condition: starts and steps without a
  // model value happen, and nothing of the solver's own logging shows.
  const ModelParams truth = fit_test::TruthParams();
  const FitInput in =
      fit_test::MakeEJInput(truth, {{20, 1.5}, {25, 2.5}, {30, 1.5}, {34, 1.5}}, 8, 0.02, 3);
  Project p;
  p.Params = truth;
  p.Params.T_c = 33;
  fit_test::AddConditionFiles(p, in, Path(""), Path("r.dat"));
  const std::string project = Path("p.zx2");
  ASSERT_TRUE(WriteSettings(p, project));
  std::string out, err;
  ASSERT_EQ(Cli("--fit --starts 6 --free Tc --bounds Tc=30:45 '" + project + "'", &out, &err), 0);
  EXPECT_EQ(err, "");
  const auto rows = Records(out);
  EXPECT_TRUE(OfKind(rows, "warn").empty()) << out;
  const auto total = OfKind(rows, "total");
  ASSERT_EQ(total.size(), 1u);
  EXPECT_EQ(total[0][1], "32");
  EXPECT_EQ(total[0][4], "converged");
  EXPECT_NEAR(std::stod(OfKind(rows, "param")[5][2]), 39.0, 0.2);
  // The merit ends the total line and is the first minimum's.
  EXPECT_EQ(total[0][5], OfKind(rows, "minimum")[0].back());
}

TEST_F(CliFit, RefusalsAndWarningsStayOnOneLineEach) {
  const std::string project = WriteProject();
  std::string out, err;
  // A start outside the ranges is clamped and said so.
  EXPECT_EQ(Cli("--fit --starts 1 --fix sigma2,g2 --bounds gamma=0.1:0.5 '" + project + "'", &out),
            0);
  const auto warns = OfKind(Records(out), "warn");
  ASSERT_FALSE(warns.empty()) << out;
  EXPECT_EQ(warns[0], (std::vector<std::string>{"warn", "start-clamped", "gamma"}));
  // Lines of numbers the fit cannot use are counted per condition and why;
  // a text line is no data line.
  std::ofstream(Path("d0.dat"), std::ios::app)
      << "1e7\t0\r\n2e7\t-1e-5\r\n3e7\tnan\r\n4e7\tinf\r\n5e7\t1e999\r\nJ E\r\n";
  std::ofstream(Path("d2.dat"), std::ios::app) << "-NaN\t1e-3\r\n";
  EXPECT_EQ(Cli("--fit --starts 1 --fix sigma2,g2 '" + project + "'", &out), 0);
  EXPECT_EQ(OfKind(Records(out), "warn").at(0),
            (std::vector<std::string>{"warn", "dropped-lines",
                                      "0:2 not-positive,0:3 not-finite,2:1 not-finite"}))
      << out;
  // Inverted bounds are refused with the range dialog's words, in English
  // under an English locale.
  EXPECT_EQ(Cli("--fit --bounds m=5:2 '" + project + "'", &out, &err), 2);
  EXPECT_EQ(err, "zentrix2-calc: Invalid input: maximum of m\n");
  // ... in Japanese under a Japanese or C locale, as the windows speak.
  for (const char* locale : {"ja_JP.UTF-8", "C"}) {
    EXPECT_EQ(Cli("--fit --bounds m=5:2 '" + project + "'", &out, &err, locale), 2);
    EXPECT_EQ(err, "zentrix2-calc: 不正な値の入力 : mの最大値\n") << locale;
  }
  EXPECT_EQ(Cli("--fit --free Tc --bounds Tc=40:30 '" + project + "'", &out, &err), 2);
  // A fixed value read as infinity is refused by its key before any fit.
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(project, bytes));
  const std::size_t at = bytes.find("Sigma^2\t");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, bytes.find('\r', at) - at, "Sigma^2\t1e999");
  ASSERT_TRUE(WriteFileAtomically(project, bytes));
  EXPECT_EQ(Cli("--fit --fix sigma2 '" + project + "'", &out, &err), 2);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("Sigma^2"), std::string::npos) << err;
}

TEST_F(CliFit, NoPointWithAModelValueIsNothingToFit) {
  const std::string project = WriteProject();
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(project, bytes));
  const std::size_t at = bytes.find("T_c\t");
  bytes.replace(at, bytes.find('\r', at) - at, "T_c\t1.500000e+001");  // below every condition
  ASSERT_TRUE(WriteFileAtomically(project, bytes));
  std::string out, err;
  EXPECT_EQ(Cli("--fit --write '" + project + "'", &out, &err), 3);
  EXPECT_NE(err.find("nothing to fit"), std::string::npos) << err;
  const auto warns = OfKind(Records(out), "warn");
  ASSERT_EQ(warns.size(), 1u) << out;
  EXPECT_EQ(warns[0][1], "no-model-value");
  EXPECT_EQ(warns[0][2], "0:8,1:8,2:8");
  std::string after;
  ASSERT_TRUE(ReadWholeFile(project, after));
  EXPECT_EQ(after, bytes);
}

TEST_F(CliFit, ExitCodes) {
  const std::string project = WriteProject();
  EXPECT_EQ(Cli("--fit --fix Am,sigma2,gamma,m,g2 '" + project + "'"), 3);
  EXPECT_EQ(Cli("--fit --fix Am,bogus '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --loss huber '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --loss-scale -1 '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit --weight file '" + project + "'"), 2);
  EXPECT_EQ(Cli("--quality --write '" + project + "'"), 2);
  EXPECT_EQ(Cli("--fit '" + Path("none.zx2") + "'"), 1);
  for (const char* d : {"d0.dat", "d1.dat", "d2.dat"}) fs::remove(Path(d));
  EXPECT_EQ(Cli("--fit '" + project + "'"), 3);
  EXPECT_EQ(Cli("--quality '" + project + "'"), 3);
}

}  // namespace
}  // namespace zx
