// zentrix2-calc builds a project without the window: several sweeps into a
// new or an existing project, and settings by their keys.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli_run.h"
#include "model/project.h"
#include "model/settings_file.h"
#include "model/text_codec.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

using test::CliRun;
using test::RunCli;

// A logger sweep at `kelvin`: time first, units line, the voltage in uV.
std::string Logger(double kelvin, double ic = 80) {
  std::string t = "datetime t_s iHTS_A vHTS_V tHTS_K tTAR_K\ns A uV K\n";
  for (int k = 0; k <= 300; ++k) {
    const double amps = 0.3 * k;
    const double uv = 2.0 + 0.001 * amps + std::pow(amps / ic, 25) + (k % 2 ? 0.005 : -0.005);
    char line[200];
    std::snprintf(line, sizeof line, "2024-05-01 10:00:%02d %d %.3f %.6f %.3f %.3f\n", k % 60, k,
                  amps, uv, kelvin, kelvin + 0.2);
    t += line;
  }
  return t;
}

// A lab sweep: TAB-separated, metadata lines, blanks in the names, uV.
std::string LabFile(const std::string& metadata, double ic = 80) {
  std::string t = metadata + "Current / A\tV1  -sample/ uV\ttime/s\n";
  for (int k = 0; k <= 300; ++k) {
    const double amps = 0.3 * k;
    char line[200];
    std::snprintf(line, sizeof line, "%.3f\t%.6f\t%d\n", amps,
                  0.5 + 0.002 * amps + std::pow(amps / ic, 22) + (k % 2 ? 0.005 : -0.005), k);
    t += line;
  }
  return t;
}

Project Load(const std::string& path) {
  Project p;
  EXPECT_TRUE(LoadSettingsFile(p, path));
  return p;
}

const char kGeometry[] = " --tap-length 0.01 --width 4e-3 --thickness 1e-6";

TEST(CliProjectImport, SeveralSweepsIntoANewThenAnExistingProject) {
  test::TempDir dir;
  const std::string a = dir.Write("a.txt", Logger(60.0)), b = dir.Write("b.txt", Logger(70.0, 60));
  const std::string project = dir.Path("p.zx2");
  CliRun r = RunCli("--import-vi " + a + " " + b + " --project " + project + kGeometry +
                    " --temperature-column 4 --field 1.5");
  ASSERT_EQ(r.code, 0) << r.err;
  // One line per file, in order, each ending with the temperature.
  ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
  EXPECT_NE(r.out.find("temperature 60.000\t"), std::string::npos);
  EXPECT_GT(r.out.find("temperature 70.000\t"), r.out.find("temperature 60.000\t"));
  EXPECT_EQ(r.out.rfind("kept ", 0), 0u);
  Project p = Load(project);
  ASSERT_EQ(p.DataFiles.Count(), 2);
  ASSERT_EQ(p.CalcConds.Count(), 2);
  EXPECT_EQ(p.DataFiles.items[0].Path, dir.Path("a_EJ.dat"));
  EXPECT_EQ(p.CalcConds.items[1].RelatedDatFileNo, 1);
  EXPECT_DOUBLE_EQ(p.CalcConds.items[1].Temp, 70.0);
  EXPECT_DOUBLE_EQ(p.CalcConds.items[1].MagField, 1.5);
  EXPECT_EQ(p.CalcConds.items[0].OutpFilePath, dir.Path("a_EJ_result.dat"));
  // The rest of a new project is the default.
  EXPECT_DOUBLE_EQ(p.Params.T_c, Project{}.Params.T_c);
  EXPECT_NE(r.err.find("T_c"), std::string::npos);  // 60 K is above the default T_c

  // Into the existing project: a failing file is named, the others go on.
  const std::string c = dir.Write("c.txt", Logger(77.0));
  r = RunCli("--import-vi " + dir.Path("missing.txt") + " " + c + " " + a + " --project " +
             project + kGeometry + " --temperature 77 --field 2");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("missing.txt"), std::string::npos);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
  p = Load(project);
  // a.txt again replaces its condition instead of adding one.
  EXPECT_EQ(p.DataFiles.Count(), 3);
  ASSERT_EQ(p.CalcConds.Count(), 3);
  EXPECT_DOUBLE_EQ(p.CalcConds.items[0].Temp, 77.0);
  EXPECT_DOUBLE_EQ(p.CalcConds.items[0].MagField, 2.0);
}

TEST(CliProjectImport, ModeFieldAndTemperatureAreCheckedBeforeAnythingIsWritten) {
  test::TempDir dir;
  const std::string a = dir.Write("a.txt", Logger(60.0));
  const std::string project = dir.Path("p.zx2");
  // B = 0 says why; nothing is written.
  CliRun r = RunCli("--import-vi " + a + " --project " + project + kGeometry +
                    " --temperature 60 --field 0");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("B = 0"), std::string::npos);
  EXPECT_FALSE(FileExists(project));
  EXPECT_FALSE(FileExists(dir.Path("a_EJ.dat")));
  ASSERT_EQ(RunCli("--import-vi " + a + " --project " + project + kGeometry +
                   " --temperature 60 --field 1")
                .code,
            0);
  // Ic-B data into an E-J project that holds data: stop.
  const std::string icb = dir.Write("icb.txt", "B Ic\n1 100\n2 50\n");
  r = RunCli("--import-icb " + icb + " --project " + project +
             " --width 4e-3 --thickness 1e-6 --temperature 20");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("mode"), std::string::npos);
  // An empty project takes the mode of its first data.
  const std::string jcb = dir.Path("jcb.zx2");
  ASSERT_EQ(RunCli("--import-icb " + icb + " --project " + jcb +
                   " --width 4e-3 --thickness 1e-6 --temperature 20")
                .code,
            0);
  const Project q = Load(jcb);
  EXPECT_EQ(q.Settings.Mode, CalcMode::JcB);
  ASSERT_EQ(q.CalcConds.Count(), 1);
  EXPECT_DOUBLE_EQ(q.CalcConds.items[0].Temp, 20.0);
  // --out and several files without a project are usage errors.
  EXPECT_EQ(RunCli("--import-vi " + a + " " + a + " --out x.dat" + kGeometry).code, 2);
  EXPECT_EQ(RunCli("--import-vi " + a + " --out x.dat --project " + project + kGeometry).code, 2);
}

TEST(CliProjectImport, OneCommandFromLabFilesWithTheirHeadersToAFitReadyProject) {
  test::TempDir dir;
  const std::string a =
      dir.Write("a.txt", LabFile("Temperature (K)\t77.00\nfield / T\t0.300000\n"));
  const std::string b =
      dir.Write("b.txt", LabFile("# Ic = 40.1 A, n = 22 , Tavg = 30.03 K\nB = 150 mT\n", 60));
  const std::string project = dir.Path("p.zx2");
  const CliRun r = RunCli("--import-vi " + a + " " + b + " --project " + project + kGeometry +
                          " --set T_c=92 --set E_c=1e-4");
  ASSERT_EQ(r.code, 0) << r.err;
  // The uV of the name are read: no unit is assumed, no E is implausible,
  // and T_c is the one set in the same command.
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("temperature 77.000\ttemperature-from header\tfield 3.000000e-01\t"
                       "field-from header\n"),
            std::string::npos);
  const Project p = Load(project);
  EXPECT_DOUBLE_EQ(p.Params.T_c, 92.0);
  ASSERT_EQ(p.CalcConds.Count(), 2);
  EXPECT_DOUBLE_EQ(p.CalcConds.items[1].Temp, 30.03);
  EXPECT_NEAR(p.CalcConds.items[1].MagField, 0.15, 1e-12);
  // A column by its name wins over the header; options over both.
  const std::string c = dir.Write("c.txt", Logger(60.0));
  CliRun k = RunCli("--import-vi " + c + " --project " + project + kGeometry +
                    " --temperature-column tHTS_K --field 1");
  EXPECT_NE(k.out.find("temperature 60.000\ttemperature-from column\tfield 1.000000e+00\t"
                       "field-from option"),
            std::string::npos);

  // Without the unit (and with the header gone) E is a million times too
  // large: said, with the likely unit.
  std::string bare = LabFile("");
  bare.replace(0, bare.find('\n'), "I\tV\tt");
  k = RunCli("--import-vi " + dir.Write("bare.txt", bare) + " --out " + dir.Path("o.dat") +
             kGeometry);
  EXPECT_EQ(k.code, 0);
  EXPECT_NE(k.err.find("no unit found for the voltage column; taken as V"), std::string::npos);
  EXPECT_NE(k.err.find("probably in uV"), std::string::npos);
  // A floor above the criterion leaves Jc unknown: said.
  k = RunCli("--import-vi " + a + " --out " + dir.Path("o.dat") + kGeometry + " --min-field 1e-3");
  EXPECT_NE(k.err.find("the data's Jc is unknown"), std::string::npos);
}

TEST(CliProjectImport, NothingIsLeftBehindWhenFilesCannotGoIn) {
  test::TempDir dir;
  const std::string project = dir.Path("p.zx2");
  const std::string good = dir.Write("good.txt", LabFile("Temperature (K)\t77\nfield / T\t1\n"));
  const std::string bare = dir.Write("bare.txt", LabFile(""));
  struct Case {
    std::string files, options;
    int code;
    const char* said;
  };
  for (const Case& c : std::vector<Case>{
           // No temperature from any source: refused before anything is written.
           {good + " " + bare, "", 2, "bare.txt: no temperature"},
           {bare, " --temperature 77", 2, "bare.txt: no field"},
           // Every file fails: the project this command made goes again.
           {dir.Write("empty.txt", "") + " " + dir.Write("one.txt", "1 2\n"), "", 1,
            "was not imported"},
           // A temperature column that holds no temperature fails its file.
           {dir.Write("log.txt", Logger(60)), " --temperature-column datetime --field 1", 1,
            "holds no temperature"},
           {good, " --set T_c=abc", 2, "--set"},
       }) {
    SCOPED_TRACE(c.files + c.options);
    const CliRun r =
        RunCli("--import-vi " + c.files + " --project " + project + kGeometry + c.options);
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(project));
    EXPECT_FALSE(FileExists(dir.Path("good_EJ.dat")));
  }
  // A project that cannot be written gets no data file either.
  ASSERT_TRUE(WriteDefaultSettings(project));
  ASSERT_EQ(chmod(project.c_str(), 0444), 0);
  const CliRun r = RunCli("--import-vi " + good + " --project " + project + kGeometry);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no data file was written"), std::string::npos) << r.err;
  EXPECT_FALSE(FileExists(dir.Path("good_EJ.dat")));
}

TEST(CliSet, EachKindOfKeyChangesOnlyItsLine) {
  test::TempDir dir;
  const std::string project = dir.Path("p.zx2");
  ASSERT_TRUE(WriteDefaultSettings(project));
  std::string before;
  ASSERT_TRUE(ReadWholeFile(project, before));
  const CliRun r = RunCli(
      "--set T_c=88.8 --set Thickness=2e-6 --set 'MaxRe(Am)=1e13' "
      "--set Tcn=0 --set IntStepNum=2000 --set SampleName=YBCO-1 "
      "--set JIni=1e6 --set 'Re(A_m)=5e9' " +
      project);
  ASSERT_EQ(r.code, 0) << r.err;
  std::string after;
  ASSERT_TRUE(ReadWholeFile(project, after));
  const Project p = Load(project);
  EXPECT_DOUBLE_EQ(p.Params.T_c, 88.8);
  EXPECT_DOUBLE_EQ(p.Params.Thickness, 2e-6);
  EXPECT_DOUBLE_EQ(p.Settings.MaxRe_Am, 1e13);
  EXPECT_EQ(p.Params.Tcn, 0);
  EXPECT_EQ(p.Params.IntStepNum, 2000);
  EXPECT_EQ(p.Params.SampleName, "YBCO-1");
  EXPECT_DOUBLE_EQ(p.Settings.JIni, 1e6);
  // Line by line: only the eight lines differ, in the file's format.
  auto lines = [](const std::string& s) { return SplitLines(s); };
  const auto b = lines(before), a = lines(after);
  ASSERT_EQ(a.size(), b.size());
  int changed = 0;
  for (std::size_t k = 0; k < a.size(); ++k) changed += a[k] != b[k];
  EXPECT_EQ(changed, 8);
  EXPECT_NE(after.find("T_c\t8.880000e+001\r\n"), std::string::npos);
}

TEST(CliSet, UnknownKeysAndInvalidValuesWriteNothingInEitherMode) {
  test::TempDir dir;
  const std::string ej = dir.Path("p.zx2"), jcb = dir.Path("jcb.zx2");
  ASSERT_TRUE(WriteDefaultSettings(ej));
  std::string jcbBytes;
  ASSERT_TRUE(ReadWholeFile(ej, jcbBytes));
  const std::size_t mode = jcbBytes.find("CalcMode\t0");
  ASSERT_NE(mode, std::string::npos);
  jcbBytes[mode + 9] = '1';
  ASSERT_TRUE(WriteFileAtomically(jcb, jcbBytes));
  const std::string project = ej;
  // Each key by its own rule whatever the mode: the B range and E_c of an
  // E-J project count as much as the J range of a Jc-B one.
  for (const std::string& file : {ej, jcb}) {
    std::string before;
    ASSERT_TRUE(ReadWholeFile(file, before));
    for (const char* bad : {"Foo=1",
                            "T_c=abc",
                            "T_c=1e999",
                            "Thickness=-1",
                            "Thickness=1mm",
                            "Tcn=2",
                            "IntStepNum=0",
                            "'Sigma^2=1.5'",
                            "'MiniRe(Am)=1e12'",
                            "JFin=1",
                            "'Re(A_m)='",
                            "CalcMode=1",
                            "'SampleName=a b'",
                            "=1",
                            "T_c",
                            "BStepLevel=2147483647",
                            "BIni=-1",
                            "BFin=0",
                            "JStepLevel=-5",
                            "E_c=0",
                            "T_c=5e-324",
                            "Width=1e-308",
                            "Length=1e-10",
                            "'Rho_n(0)=4e-320'"}) {
      SCOPED_TRACE(file + " " + bad);
      const CliRun r = RunCli(std::string("--set T_c=90 --set ") + bad + " " + file);
      EXPECT_EQ(r.code, 2);
      EXPECT_FALSE(r.err.empty());
      std::string now;
      ASSERT_TRUE(ReadWholeFile(file, now));
      EXPECT_EQ(now, before);
    }
  }
  // The messages are the dialogs', in English.
  const CliRun r = RunCli("--set 'MiniRe(Am)=1e12' " + project);
  EXPECT_EQ(r.err, "zentrix2-calc: --set: Invalid input: maximum of Am; nothing was written\n");
  EXPECT_EQ(RunCli("--set T_c=90 " + dir.Path("none.zx2")).code, 1);
}

TEST(CliSet, RefusesFilesThatAreNoSettingsFile) {
  test::TempDir dir;
  std::string random(4096, '\0');
  unsigned state = 7;
  for (char& c : random) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  const std::pair<const char*, std::string> files[] = {
      {"data.dat", "# J E\r\n1.0e+006\t1.0e-006\r\n2.0e+006\t3.0e-005\r\n"},
      {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"empty.zx2", ""},
      {"random.zx2", random},
      {"text.txt", "T_c is the critical temperature\n"}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const std::string path = dir.Path(name);
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
    const CliRun r = RunCli("--set T_c=40 " + path);
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("is not a settings file"), std::string::npos) << r.err;
    std::string now;
    ASSERT_TRUE(ReadWholeFile(path, now));
    EXPECT_EQ(now, bytes);
  }
}

}  // namespace
}  // namespace zx
