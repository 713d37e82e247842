#include "model/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "model/limits.h"
#include "model/text_codec.h"
#include "model/text_file.h"
#include "model/view_state.h"
#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

// The defaults file, byte for byte, written by hand from the file layout.
const char kDefaultFile[] =
    "#\r\n"
    "# \x83[\x83\x93\x83g\x83\x8A\x83N\x83X\x90\xDD\x92\xE8\x83t\x83@\x83"
    "C\x83\x8B\r\n"
    "# (\x82\xB1\x82\xCC\x83t\x83@\x83"
    "C\x83\x8B\x82\xCC\x91\x80\x8D\xEC\x82\xCD\x8A\xEE\x96{\x93I\x82\xC9\x83\x5C\x83t\x83g\x83"
    "E\x83"
    "F\x83"
    "A\r\n"
    "# "
    "\x82\xCC\x95\xFB\x82\xC5\x82\xB7\x82\xE9\x82\xE6\x82\xA4\x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82"
    "\xBE\x82\xB3\x82\xA2\x81"
    "B\x82\xA0\x82\xDC\x82\xE8\x82\xB1\x82\xEA\x82\xF0\r\n"
    "# "
    "\x82\xA2\x82\xB6\x82\xE7\x82\xEA\x82\xE9\x83P\x81["
    "\x83X\x82\xF0\x91z\x92\xE8\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1m(__)m)\r\n"
    "#\r\n"
    "Re(A_m)\t1.000000e+009\r\n"
    "Sigma^2\t1.000000e-001\r\n"
    "Re(Gamma)\t8.000000e-001\r\n"
    "Re(m)\t3.000000e+000\r\n"
    "Re(g^2)\t1.000000e+000\r\n"
    "T_c\t3.900000e+001\r\n"
    "Rho_n(0)\t1.500000e-006\r\n"
    "B_c2(0)\t9.000000e+000\r\n"
    "Re(Zeta)\t6.283185e+000\r\n"
    "SampleName\tMgB2SUS\r\n"
    "Length\t2.000000e-003\r\n"
    "Width\t1.000000e-003\r\n"
    "Thickness\t1.000000e-006\r\n"
    "Tcn\t1\r\n"
    "Bcn\t1\r\n"
    "IntStepNum\t900\r\n"
    "E_c\t1.000000e-004\r\n"
    "E_cAllowableError\t1.000000e+000\r\n"
    "MiniE\t1.000000e-010\r\n"
    "MaxE\t1.000000e+000\r\n"
    "JIni\t1.000000e+005\r\n"
    "JFin\t1.000000e+011\r\n"
    "JStepLevel\t3\r\n"
    "BIni\t1.000000e+000\r\n"
    "BFin\t7.000000e+000\r\n"
    "BStepLevel\t3\r\n"
    "MiniRe(Am)\t1.000000e+008\r\n"
    "MaxRe(Am)\t1.000000e+011\r\n"
    "MiniSigma^2\t0.000000e+000\r\n"
    "MaxSigma^2\t1.000000e+000\r\n"
    "MiniRe(Gamma)\t0.000000e+000\r\n"
    "MaxRe(Gamma)\t1.000000e+000\r\n"
    "MiniRe(m)\t1.000000e+000\r\n"
    "MaxRe(m)\t1.000000e+001\r\n"
    "MiniRe(g^2)\t1.000000e+000\r\n"
    "MaxRe(g^2)\t1.000000e+001\r\n"
    "CalcMode\t0\r\n"
    "XType\tLog\r\n"
    "XAutoScale\t1\r\n"
    "XMin\t0.000000e+000\r\n"
    "XMax\t0.000000e+000\r\n"
    "YType\tLog\r\n"
    "YAutoScale\t1\r\n"
    "YMin\t0.000000e+000\r\n"
    "YMax\t0.000000e+000\r\n"
    "\r\n"
    "--------------------------------------------------\r\n"
    "\r\n"
    "--------------------------------------------------\r\n"
    "\r\n"
    "--------------------------------------------------\r\n";

using test::TempDir;

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::string b;
  ReadWholeFile(path, b);
  return b;
}

Project Loaded(const std::string& path) {
  Project p;
  EXPECT_TRUE(LoadSettingsFile(p, path));
  return p;
}

TEST(SettingsFile, DefaultFileMatchesTheLayoutByteForByte) {
  EXPECT_EQ(DefaultSettingsBytes(), std::string(kDefaultFile));
  TempDir dir;
  ASSERT_TRUE(WriteDefaultSettings(dir.Path("new.zx2")));
  EXPECT_EQ(ReadBytes(dir.Path("new.zx2")), std::string(kDefaultFile));
}

TEST(SettingsFile, DefaultFileLoadsAsANewProject) {
  TempDir dir;
  WriteBytes(dir.Path("d.zx2"), kDefaultFile);
  Project p;
  p.Params.E_cAllowableError = 42;
  ASSERT_TRUE(LoadSettingsFile(p, dir.Path("d.zx2")));
  EXPECT_EQ(p.Params.E_cAllowableError, 0.01);  // BStepLevel 3 wins over the 1.0 line
  EXPECT_EQ(p.Params.SampleName, "MgB2SUS");
  EXPECT_EQ(p.Params.Re_Zeta, 6.283185);
  EXPECT_TRUE(p.DataFiles.Empty());
  EXPECT_TRUE(p.CalcConds.Empty());
  EXPECT_TRUE(MakeViewState(p).DataSeries.Empty());
}

Project FullProject(int mode) {
  Project p;
  p.ProgramFolder = "/opt/zx/";
  p.Settings.Mode = static_cast<CalcMode>(mode);
  p.Params.Re_A_m = 2.5e9;
  p.Params.Sigma_2 = 0.25;
  p.Params.Re_Gamma = 0.6;
  p.Params.Re_m = 2.0;
  p.Params.Re_g_2 = 3.0;
  p.Params.T_c = 38.5;
  p.Params.Rho_n_0 = 2e-6;
  p.Params.B_c2_0 = 12.0;
  p.Params.Re_Zeta = 6.2831852;
  p.Params.SampleName = "サンプルA";
  p.Params.Length = 0.004;
  p.Params.Width = 0.002;
  p.Params.Thickness = 3e-6;
  p.Params.Tcn = 0;
  p.Params.Bcn = 0;
  p.Params.IntStepNum = 600;
  p.Params.E_c = 2e-4;
  p.Params.MiniE = 1e-9;
  p.Params.MaxE = 2.0;
  p.Settings.JIni = 1e4;
  p.Settings.JFin = 1e10;
  p.Settings.JStepLevel = 5;
  p.Settings.BIni = 0.5;
  p.Settings.BFin = 6.5;
  p.Settings.BStepLevel = 4;
  p.Params.E_cAllowableError = 0.005;
  p.Settings.MiniRe_Am = 1e7;
  p.Settings.MaxRe_Am = 1e12;
  p.Settings.MaxSigma_2 = 0.8;
  p.Settings.MiniRe_Gamma = 0.1;
  p.Settings.MaxRe_Gamma = 0.9;
  p.Settings.MiniRe_m = 1.5;
  p.Settings.MaxRe_m = 8.0;
  p.Settings.MiniRe_g_2 = 2.0;
  p.Settings.MaxRe_g_2 = 9.0;
  p.Axes.X.autoScale = false;
  p.Axes.X.min = 1e5;
  p.Axes.X.max = 1e9;
  p.Axes.Y.min = 1e-8;
  p.Axes.Y.max = 1e-2;
  p.Axes.X.type = AxisScale::Linear;
  AddDataFile(p, "/data/with space/run 1.dat");
  AddDataFile(p, "/data/測定/run2.txt");
  p.DataFiles.items[1].Mark = 3;
  AddCalcCond(p, 1, 20.0, 1.5, "/out dir/r0.dat");
  AddCalcCond(p, 0, 25.5, 2.0, "/out/r1.txt");
  AddCalcCond(p, 1, 30.0, 3.0, "/out/r2.dat");
  return p;
}

TEST(SettingsFile, RoundTripKeepsEveryStoredFieldInBothModes) {
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    Project src = FullProject(mode);
    ASSERT_TRUE(WriteSettings(src, dir.Path("p.zx2")));
    Project p;
    p.ProgramFolder = "/opt/zx/";
    ASSERT_TRUE(LoadSettingsFile(p, dir.Path("p.zx2")));
    EXPECT_EQ(p.Params.Re_A_m, 2.5e9);
    EXPECT_EQ(p.Params.Sigma_2, 0.25);
    EXPECT_EQ(p.Params.Re_Gamma, 0.6);
    EXPECT_EQ(p.Params.Re_m, 2.0);
    EXPECT_EQ(p.Params.Re_g_2, 3.0);
    EXPECT_EQ(p.Params.T_c, 38.5);
    EXPECT_EQ(p.Params.Rho_n_0, 2e-6);
    EXPECT_EQ(p.Params.B_c2_0, 12.0);
    EXPECT_EQ(p.Params.SampleName, "サンプルA");
    EXPECT_EQ(p.Params.Thickness, 3e-6);
    EXPECT_EQ(p.Params.Tcn, 0);
    EXPECT_EQ(p.Params.Bcn, 0);
    EXPECT_EQ(p.Params.IntStepNum, 600);
    EXPECT_EQ(p.Params.E_c, 2e-4);
    EXPECT_EQ(p.Params.E_cAllowableError, 0.005);
    EXPECT_EQ(p.Params.MiniE, 1e-9);
    EXPECT_EQ(p.Settings.JIni, 1e4);
    EXPECT_EQ(p.Settings.JStepLevel, 5);
    EXPECT_EQ(p.Settings.BFin, 6.5);
    EXPECT_EQ(p.Settings.BStepLevel, 4);
    EXPECT_EQ(p.Settings.MiniRe_Am, 1e7);
    EXPECT_EQ(p.Settings.MaxRe_g_2, 9.0);
    EXPECT_EQ(p.Settings.Mode, static_cast<CalcMode>(mode));
    // Axis types follow the mode and autoscale is on; manual limits remain.
    EXPECT_EQ(p.Axes.X.type, mode == 0 ? AxisScale::Log : AxisScale::Linear);
    EXPECT_EQ(p.Axes.Y.type, AxisScale::Log);
    EXPECT_TRUE(p.Axes.X.autoScale);
    EXPECT_TRUE(p.Axes.Y.autoScale);
    EXPECT_EQ(p.Axes.X.min, 1e5);
    EXPECT_EQ(p.Axes.Y.max, 1e-2);

    ASSERT_EQ(p.DataFiles.Count(), 2);
    EXPECT_EQ(p.DataFiles.items[0].Path, "/data/with space/run 1.dat");
    EXPECT_EQ(p.DataFiles.items[1].Path, "/data/測定/run2.txt");
    EXPECT_EQ(p.DataFiles.items[1].Mark, 3);
    ASSERT_EQ(p.CalcConds.Count(), 3);
    const RegistryEntry& c0 = p.CalcConds.items[0];
    EXPECT_EQ(c0.RelatedDatFileNo, 1);
    EXPECT_EQ(c0.Temp, 20.0);
    EXPECT_EQ(c0.MagField, mode == 0 ? 1.5 : 0.0);
    EXPECT_EQ(c0.OutpFilePath, "/out dir/r0.dat");
    EXPECT_EQ(c0.Path, "/opt/zx/tmp0.dat");
    EXPECT_EQ(p.CalcConds.items[1].Temp, 25.5);
    EXPECT_EQ(p.CalcConds.items[2].Path, "/opt/zx/tmp2.dat");
    // Series rebuilt with the palette of their entries.
    const ViewState v = MakeViewState(p);
    ASSERT_EQ(v.DataSeries.Count(), 2);
    EXPECT_EQ(v.DataSeries.items[1].MarkerColor, (Rgb{0, 0, 255}));
    ASSERT_EQ(v.CurveSeries.Count(), 3);
    EXPECT_EQ(v.CurveSeries.items[1].LineColor, (Rgb{255, 150, 150}));
    EXPECT_EQ(v.CurveSeries.items[1].LineStyle, LinePattern::Dot);
    EXPECT_EQ(v.CurveSeries.items[1].MarkerSize, 3);
  }
}

TEST(SettingsFile, JcBModeWritesAFixedZeroField) {
  std::string bytes;
  ASSERT_TRUE(SettingsBytes(FullProject(1), bytes));
  EXPECT_NE(bytes.find("CalcCondTemp\t2.000000e+001\r\nCalcCondMagField\t0\r\n"),
            std::string::npos);
  ASSERT_TRUE(SettingsBytes(FullProject(0), bytes));
  EXPECT_NE(bytes.find("CalcCondMagField\t1.500000e+000\r\n"), std::string::npos);
}

TEST(SettingsFile, RecordsAreFollowedByOneEmptyLine) {
  std::string bytes;
  ASSERT_TRUE(SettingsBytes(FullProject(0), bytes));
  const std::string sep = "--------------------------------------------------";
  EXPECT_NE(bytes.find("YMax\t1.000000e-002\r\n\r\n" + sep +
                       "\r\n\r\nDatFileNo\t0\r\nDatFileMark\t0\r\n"
                       "DatFilePath\t/data/with space/run 1.dat\r\n\r\nDatFileNo\t1\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("CalcCondOutpFilePath\t/out/r2.dat\r\n\r\n" + sep + "\r\n"),
            std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - sep.size() - 2), sep + "\r\n");
}

TEST(SettingsReader, CommentsUnknownKeysDuplicatesAndMissingKeys) {
  Project p;
  p.Params.IntStepNum = 123;  // not in the file below: keeps its value
  ReadSettingsValues(
      p, {"# Re(A_m)\t5", "Re(A_m)\t2e9", "Bogus\t7", "re(a_m)\t8", "T_c\t30", "T_c\t31xyz",
          "Sigma^2\tabc", "SampleName\tMy Sample", "XAutoScale\t0", "Tcn\t5", "Bcn\t0",
          "E_cAllowableError\t3", "BStepLevel\t1", "JStepLevel", "E_c\t"});
  EXPECT_EQ(p.Params.Re_A_m, 2e9);
  EXPECT_EQ(p.Params.T_c, 31.0);  // last duplicate, leading number
  EXPECT_EQ(p.Params.Sigma_2, 0.0);
  EXPECT_EQ(p.Params.SampleName, "My");
  EXPECT_FALSE(p.Axes.X.autoScale);
  EXPECT_EQ(p.Params.Tcn, 1);  // only 0 and 1 are orders
  EXPECT_EQ(p.Params.Bcn, 0);
  EXPECT_EQ(p.Params.E_cAllowableError, 1.0);  // the level read later wins
  EXPECT_EQ(p.Settings.JStepLevel, 3);         // key without value: unchanged
  EXPECT_EQ(p.Params.E_c, 1e-4);
  EXPECT_EQ(p.Params.IntStepNum, 123);
}

TEST(SettingsReader, AxisTextsAndModeNumbers) {
  Project p;
  ReadSettingsValues(p, {"XType\tLinear", "YType\tLogarithmic", "CalcMode\t1"});
  EXPECT_EQ(p.Axes.X.type, AxisScale::Linear);
  EXPECT_EQ(p.Axes.Y.type, AxisScale::Linear);  // any other text draws linear
  EXPECT_EQ(p.Settings.Mode, CalcMode::JcB);
  ReadSettingsValues(p, {"YType\tLog", "XType\tLog"});
  EXPECT_EQ(p.Axes.X.type, AxisScale::Log);
  EXPECT_EQ(p.Axes.Y.type, AxisScale::Log);

  // A mode number of neither mode is kept, so that the file saves back as
  // it was read; such a project writes no field lines.
  TempDir dir;
  ReadSettingsValues(p, {"CalcMode\t7"});
  AddDataFile(p, "/d.dat");
  AddCalcCond(p, 0, 20.0, 1.5, "/r.dat");
  ASSERT_TRUE(WriteSettings(p, dir.Path("p.zx2")));
  const std::string bytes = ReadBytes(dir.Path("p.zx2"));
  EXPECT_NE(bytes.find("CalcMode\t7\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("CalcCondMagField"), std::string::npos);
  EXPECT_NE(bytes.find("XType\tLog\r\n"), std::string::npos);
}

TEST(SettingsReader, IntStepNumIsBoundToWhatAPassCanFinish) {
  Project p;
  ReadSettingsValues(p, {"IntStepNum\t1000000000"});
  EXPECT_EQ(p.Params.IntStepNum, kMaxIntStepNum);
  ReadSettingsValues(p, {"IntStepNum\t20000"});
  EXPECT_EQ(p.Params.IntStepNum, 20000);
  ReadSettingsValues(p, {"IntStepNum\t600"});
  EXPECT_EQ(p.Params.IntStepNum, 600);
  // No interval at all would give no integral.
  for (const char* line : {"IntStepNum\t0", "IntStepNum\t-5", "IntStepNum\tmany"}) {
    p.Params.IntStepNum = 600;
    ReadSettingsValues(p, {line});
    EXPECT_EQ(p.Params.IntStepNum, 1) << line;
  }
}

TEST(SettingsReader, ValueBlockOnlyLeavesRegistriesEmpty) {
  Project p;
  AddDataFile(p, "/x.dat");
  ReadSettingsLists(p, {"Re(A_m)\t1e9", "T_c\t20"});
  EXPECT_TRUE(p.DataFiles.Empty());
}

TEST(SettingsReader, BlankLinesGapsAndOddNumbersNeverDuplicateOrDrop) {
  Project p;
  p.ProgramFolder = "/pf/";
  ReadSettingsLists(p, {"-----",
                        "",
                        "DatFileNo\t3",
                        "DatFileMark\t1",
                        "",
                        "",
                        "DatFilePath\t/a.dat",
                        "",
                        "",
                        "DatFileNo\t7",
                        "DatFilePath\t/b.dat",
                        "DatFileNo\t3",
                        "DatFilePath\t/c.dat",
                        "------",
                        "",
                        "CalcCondNo\t5",
                        "CalcCondRelatedDatFileNo\t7",
                        "CalcCondTemp\t20",
                        "",
                        "",
                        "CalcCondOutpFilePath\t/o.dat",
                        "CalcCondNo\t5",
                        "CalcCondRelatedDatFileNo\t9",
                        "CalcCondOutpFilePath\t/p.dat",
                        "-----"});
  ASSERT_EQ(p.DataFiles.Count(), 3);
  EXPECT_EQ(p.DataFiles.items[0].Path, "/a.dat");
  EXPECT_EQ(p.DataFiles.items[0].Mark, 1);
  EXPECT_EQ(p.DataFiles.items[1].Path, "/b.dat");
  EXPECT_EQ(p.DataFiles.items[2].Path, "/c.dat");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.DataFiles.items[static_cast<std::size_t>(i)].No, i);
  ASSERT_EQ(p.CalcConds.Count(), 2);
  EXPECT_EQ(p.CalcConds.items[0].RelatedDatFileNo, 1);  // file number 7 is entry 1
  EXPECT_EQ(p.CalcConds.items[0].Temp, 20.0);
  EXPECT_EQ(p.CalcConds.items[0].Path, "/pf/tmp0.dat");
  EXPECT_EQ(p.CalcConds.items[1].RelatedDatFileNo, -1);  // names no data file
  EXPECT_EQ(p.CalcConds.items[1].No, 1);
  EXPECT_EQ(p.CalcConds.items[1].Path, "/pf/tmp1.dat");
}

TEST(SettingsFile, LongPathsSurviveWhole) {
  TempDir dir;
  Project src;
  std::string longPath = "/" + std::string(300, 'd') + "/" + std::string(200, 'f') + ".dat";
  AddDataFile(src, longPath);
  AddDataFile(src, "/short.dat");
  AddCalcCond(src, 0, 10, 1, longPath + ".out");
  AddCalcCond(src, 1, 11, 1, "/o.dat");
  ASSERT_TRUE(WriteSettings(src, dir.Path("l.zx2")));
  Project p = Loaded(dir.Path("l.zx2"));
  ASSERT_EQ(p.DataFiles.Count(), 2);
  EXPECT_EQ(p.DataFiles.items[0].Path, longPath);
  EXPECT_EQ(p.DataFiles.items[1].Path, "/short.dat");
  ASSERT_EQ(p.CalcConds.Count(), 2);
  EXPECT_EQ(p.CalcConds.items[0].OutpFilePath, longPath + ".out");
  EXPECT_EQ(p.CalcConds.items[1].OutpFilePath, "/o.dat");
}

TEST(SettingsFile, RelativePathsResolveAgainstTheSettingsFolder) {
  TempDir dir;
  std::string text = std::string(kDefaultFile);
  std::string sep = "--------------------------------------------------\r\n";
  std::size_t first = text.find(sep) + sep.size() + 2;
  text.insert(first, "DatFileNo\t0\r\nDatFileMark\t0\r\nDatFilePath\tdata/a b.dat\r\n\r\n");
  std::size_t second = text.find(sep, first) + sep.size() + 2;
  text.insert(second,
              "CalcCondNo\t0\r\nCalcCondRelatedDatFileNo\t0\r\nCalcCondMark\t0\r\n"
              "CalcCondTemp\t2.000000e+001\r\nCalcCondMagField\t1.000000e+000\r\n"
              "CalcCondOutpFilePath\tout/r.dat\r\n\r\n");
  WriteBytes(dir.Path("rel.zx2"), text);
  Project p = Loaded(dir.Path("rel.zx2"));
  ASSERT_EQ(p.DataFiles.Count(), 1);
  EXPECT_EQ(p.DataFiles.items[0].Path, dir.Path("data/a b.dat"));
  EXPECT_EQ(MakeViewState(p).DataSeries.items[0].Path, dir.Path("data/a b.dat"));
  EXPECT_EQ(p.CalcConds.items[0].OutpFilePath, dir.Path("out/r.dat"));
}

TEST(SettingsFile, UnreadableFileLeavesTheProjectAsItWas) {
  Project p = FullProject(0);
  int rowsDeleted = 0;
  LoadHooks hooks;
  hooks.rowDeleted = [&](ListKind, int) { ++rowsDeleted; };
  EXPECT_FALSE(LoadSettingsFile(p, "/nonexistent/dir/p.zx2", hooks));
  EXPECT_EQ(rowsDeleted, 0);
  EXPECT_EQ(p.DataFiles.Count(), 2);
  EXPECT_EQ(p.CalcConds.Count(), 3);
  EXPECT_EQ(p.Params.Re_A_m, 2.5e9);
}

TEST(SettingsFile, LoadRunsTheWindowStepsInOrder) {
  TempDir dir;
  ASSERT_TRUE(WriteSettings(FullProject(0), dir.Path("p.zx2")));
  Project p = FullProject(0);
  std::vector<std::string> steps;
  LoadHooks hooks;
  hooks.rowDeleted = [&](ListKind k, int row) {
    steps.push_back((k == ListKind::DataFiles ? "d" : "c") + std::to_string(row));
  };
  hooks.showProjectInPanel = [&] {
    steps.push_back("panel");
    EXPECT_TRUE(p.DataFiles.Empty());
  };
  hooks.fillListsPanel = [&] {
    steps.push_back("lists");
    EXPECT_EQ(p.DataFiles.Count(), 2);
  };
  ASSERT_TRUE(LoadSettingsFile(p, dir.Path("p.zx2"), hooks));
  EXPECT_EQ(steps, (std::vector<std::string>{"d1", "d0", "c2", "c1", "c0", "panel", "lists"}));
}

TEST(SettingsFile, FailedSaveLeavesTheOldFileIntact) {
  TempDir dir;
  std::string target = dir.Path("keep.zx2");
  WriteBytes(target, "old contents");
  Project p;
  AddDataFile(p, "/only/ascii/\xF0\x9F\x98\x80.dat");  // an emoji has no CP932 form
  EXPECT_FALSE(WriteSettings(p, target));
  EXPECT_EQ(ReadBytes(target), "old contents");
  // Failures that hold for root too: a write-protected file, and a path
  // below a regular file, which nobody can create.
  chmod(target.c_str(), 0444);
  EXPECT_FALSE(WriteSettings(Project{}, target));
  EXPECT_EQ(ReadBytes(target), "old contents");
  chmod(target.c_str(), 0644);
  EXPECT_FALSE(WriteSettings(Project{}, "/dev/null/x.zx2"));
  EXPECT_FALSE(WriteSettings(Project{}, dir.Path("missing/dir/x.zx2")));
  for (const auto& e : fs::directory_iterator(dir.Root()))
    EXPECT_EQ(e.path().filename(), "keep.zx2");  // no temporary left behind
}

TEST(SettingsFile, SampleNameIsWrittenAsOneToken) {
  Project p;
  p.Params.SampleName = "two words";
  std::string bytes;
  ASSERT_TRUE(SettingsBytes(p, bytes));
  EXPECT_NE(bytes.find("SampleName\ttwo\r\n"), std::string::npos);
}

TEST(SettingsFile, ReadsLfOnlyFiles) {
  TempDir dir;
  std::string text = kDefaultFile;
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  std::size_t pos = lf.find("T_c\t3.900000e+001");
  lf.replace(pos, 17, "T_c\t2.000000e+01");  // two exponent digits read too
  WriteBytes(dir.Path("lf.zx2"), lf);
  Project p = Loaded(dir.Path("lf.zx2"));
  EXPECT_EQ(p.Params.T_c, 20.0);
  EXPECT_EQ(p.Params.IntStepNum, 900);
}

}  // namespace
}  // namespace zx
