#include <gtest/gtest.h>
#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/preview_pass.h"
#include "cli_run.h"
#include "literal_model.h"
#include "model/format.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;
using literal::LiteralInputs;
using literal::LiteralModel;

using test::CliRun;

class CliCalc : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.Path(name); }

  static CliRun Cli(const std::string& args, const std::string& env = {}) {
    return test::RunCli(args, env);
  }

  // Two data files and three conditions, saved as project.zx2.
  std::string WriteProject(int calcMode, const std::string& badOutput = {}) {
    for (int f = 0; f < 2; ++f) {
      std::ofstream d(Path("data" + std::to_string(f) + ".dat"), std::ios::binary);
      for (int k = 0; k < 12; ++k) {
        double x = calcMode == 0 ? 1e6 * std::pow(10.0, 0.4 * k) : 0.5 + 0.5 * k;
        d << FormatLe(x) << " " << FormatLe(1e-8 * std::pow(2.0 + k + f, 4)) << "\r\n";
      }
    }
    Project p;
    p.Settings.Mode = static_cast<CalcMode>(calcMode);
    ApplyModeAxes(p.Axes, p.Settings.Mode);
    p.Settings.BFin = 3.0;
    p.Settings.BStepLevel = 1;
    ApplyBStepLevel(p.Params, 1);
    AddDataFile(p, Path("data0.dat"));
    AddDataFile(p, Path("data1.dat"));
    AddCalcCond(p, 1, 5.0, 2.0, Path("r0.txt"));
    AddCalcCond(p, 0, 20.0, 1.0, badOutput.empty() ? Path("r1.txt") : badOutput);
    AddCalcCond(p, 0, 10.0, 3.0, Path("r2.txt"));
    const std::string path = Path("project.zx2");
    EXPECT_TRUE(WriteSettings(p, path));
    return path;
  }

  test::TempDir dir_;
};

// The parameters as the project file carries them (seven digits).
LiteralInputs InputsOf(const ModelParams& m) {
  LiteralInputs in;
  in.Am = m.Re_A_m;
  in.sigma2 = m.Sigma_2;
  in.gamma = m.Re_Gamma;
  in.m = m.Re_m;
  in.g2 = m.Re_g_2;
  in.Tc = m.T_c;
  in.Bc20 = m.B_c2_0;
  in.rhon0 = m.Rho_n_0;
  in.zeta = m.Re_Zeta;
  in.d = m.Thickness;
  in.Tcn = m.Tcn;
  in.Bcn = m.Bcn;
  in.N = m.IntStepNum;
  in.Ec = m.E_c;
  in.EcError = m.E_cAllowableError;
  return in;
}

std::vector<std::string> DataLines(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  std::vector<std::string> out;
  for (const std::string& l : SplitLines(bytes))
    if (l.rfind('#', 0) != 0) out.push_back(l);
  return out;
}

TEST_F(CliCalc, FullCalculationInBothModesMatchesTheLiteralFormulas) {
  for (int mode : {0, 1}) {
    const std::string project = WriteProject(mode);
    Project loaded;
    ASSERT_TRUE(LoadSettingsFile(loaded, project));
    CliRun r = Cli("'" + project + "'");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const int n = mode == 0 ? 31 : 3;
    const std::string count = std::to_string(n);
    EXPECT_EQ(r.out, "2\t" + count + "\t" + Path("r2.txt") + "\n1\t" + count + "\t" +
                         Path("r1.txt") + "\n0\t" + count + "\t" + Path("r0.txt") + "\n");

    LiteralModel ref(InputsOf(loaded.Params));
    for (const CalcCondEntry& c : loaded.CalcConds.items) {
      std::vector<std::string> lines = DataLines(c.OutpFilePath);
      ASSERT_EQ(static_cast<int>(lines.size()), n);
      for (int k = 0; k < n; ++k) {
        double x, v;
        if (mode == 0) {
          x = std::pow(10.0, k / 5.0) * 1e5;
          v = ref.E(x, c.MagField, c.Temp);
        } else {
          x = k / 1.0 + 1.0;
          v = ref.Jc(x, c.Temp, 1e5, 1e11);
        }
        EXPECT_EQ(lines[static_cast<std::size_t>(k)], FormatLe(x) + " " + FormatLe(v))
            << "mode " << mode << " condition " << c.No << " point " << k;
      }
    }
  }
}

TEST_F(CliCalc, UnwritableResultFileIsReportedAndExitsWithOne) {
  const std::string bad = Path("no such folder/r1.txt");
  const std::string project = WriteProject(0, bad);
  CliRun r = Cli("'" + project + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "The result file cannot be written. " + bad + "\n");
  // Condition 2 is written before 1 fails; 0 belongs to the other data file.
  EXPECT_EQ(r.out, "2\t31\t" + Path("r2.txt") + "\n0\t31\t" + Path("r0.txt") + "\n");
}

std::string Exact(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
  return std::string(buf, res.ptr);
}

TEST_F(CliCalc, PreviewPrintsEveryCoefficientAndLeavesNoCurveFiles) {
  const std::string project = WriteProject(0);
  fs::remove(Path("data1.dat"));  // condition 0 cannot be previewed

  Project loaded;
  ASSERT_TRUE(LoadSettingsFile(loaded, project));
  loaded.ProgramFolder = Path("curves/");
  fs::create_directories(Path("curves"));
  RenumberCurvePaths(loaded);
  ViewState view = MakeViewState(loaded);
  RunPreviewCalculation(loaded, view, {});
  const double r1 = CorrCoefOf(view, loaded.CalcConds.items[1]);
  const double r2 = CorrCoefOf(view, loaded.CalcConds.items[2]);
  const std::string expected = "0\t1\tskipped\n1\t0\t" + Exact(r1) + "\n2\t0\t" + Exact(r2) + "\n";
  EXPECT_NE(r1, 0.0);

  // The curve files go to a private folder under TMPDIR, removed afterwards.
  fs::create_directories(Path("scratch"));
  CliRun r = Cli("--preview '" + project + "'", "TMPDIR='" + Path("scratch") + "' ");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, expected);
  // The skipped condition's file and why, on stderr.
  EXPECT_EQ(r.err,
            "zentrix2-calc: cannot read " + Path("data1.dat") + ": No such file or directory\n");
  EXPECT_TRUE(fs::is_empty(Path("scratch")));
  EXPECT_FALSE(fs::exists(Path("tmp1.dat")));
}

TEST_F(CliCalc, PreviewNamesEveryFileItSkipsOnce) {
  const std::string project = WriteProject(0);
  // Conditions 1 and 2 share data0, which is now a folder.
  fs::remove(Path("data0.dat"));
  fs::create_directory(Path("data0.dat"));
  CliRun r = Cli("--preview '" + project + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "zentrix2-calc: cannot read " + Path("data0.dat") + ": not a regular file\n");
  EXPECT_EQ(r.out.find("0\t1\tskipped"), std::string::npos);
  EXPECT_NE(r.out.find("1\t0\tskipped\n2\t0\tskipped\n"), std::string::npos);

  // A step count of 0 is read as 1: numbers, not nan.
  fs::remove(Path("data0.dat"));
  WriteProject(0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(project, bytes));
  const std::size_t at = bytes.find("IntStepNum\t");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, bytes.find('\r', at) - at, "IntStepNum\t0");
  ASSERT_TRUE(WriteFileAtomically(project, bytes));
  r = Cli("--preview '" + project + "'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("skipped"), std::string::npos) << r.out;
}

TEST_F(CliCalc, AResultPathNamingAnInputIsSkippedAndTheInputKept) {
  for (const std::string& victim : {Path("data0.dat"), Path("project.zx2")}) {
    // Reached through "." so that only the file, not the text, is the same.
    const std::string alias = Path("./") + fs::path(victim).filename().string();
    const std::string project = WriteProject(0, alias);
    std::string before;
    ASSERT_TRUE(ReadWholeFile(victim, before));
    CliRun r = Cli("'" + project + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(alias), std::string::npos) << r.err;
    std::string after;
    ASSERT_TRUE(ReadWholeFile(victim, after));
    EXPECT_EQ(after, before) << victim;
    // Only that condition is skipped.
    EXPECT_EQ(r.out, "2\t31\t" + Path("r2.txt") + "\n0\t31\t" + Path("r0.txt") + "\n");
  }
}

TEST_F(CliCalc, UnreadableProjectAndWrongUsage) {
  CliRun r = Cli("'" + Path("absent.zx2") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("absent.zx2"), std::string::npos);
  EXPECT_EQ(Cli("--preview '" + Path("absent.zx2") + "'").code, 1);
  // A folder or a pipe is no project: refused at once, not read as empty.
  EXPECT_EQ(Cli("'" + Path("") + "'").code, 1);
  ASSERT_EQ(mkfifo(Path("pipe.zx2").c_str(), 0600), 0);
  EXPECT_EQ(Cli("--preview '" + Path("pipe.zx2") + "'").code, 1);
  EXPECT_EQ(Cli("--preview").code, 2);
  EXPECT_EQ(Cli("--threads 0 x.zx2").code, 2);
  EXPECT_EQ(Cli("a.zx2 b.zx2").code, 2);
  CliRun ok = Cli("--threads 2 --version");
  EXPECT_EQ(ok.code, 0);
}

}  // namespace
}  // namespace zx
