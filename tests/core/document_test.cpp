#include "model/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "document_access.h"
#include "model/settings_file.h"
#include "model/text_codec.h"
#include "model/view_follow.h"
#include "temp_files.h"

namespace zx {
namespace {

CalcCondInput Cond(int related, double temp = 20.0, double field = 1.0) {
  CalcCondInput in;
  in.relatedDatFileNo = related;
  in.temp = temp;
  in.magField = field;
  in.folder = "/res";
  in.name = "out";
  return in;
}

// Four data files and conditions on files 1, 2, 3 and 0.
void FillFourAndFour(Recorded& r) {
  for (const char* path : {"/d0.dat", "/d1.dat", "/d2.dat", "/d3.dat"})
    ASSERT_EQ(AddDataFile(r.doc, path), "");
  for (int related : {1, 2, 3, 0}) ASSERT_EQ(AddCalcCond(r.doc, Cond(related)), "");
  r.p().Modified = false;
  r.told.clear();
}

// The colour rule: data file n in DataPalette[n], a condition's curve in
// the light colour of its data file, an orphan grey.
void ExpectColourRule(const ViewState& v, const Project& p) {
  ASSERT_EQ(v.DataSeries.Count(), p.DataFiles.Count());
  ASSERT_EQ(v.CurveSeries.Count(), p.CalcConds.Count());
  for (const RegistryEntry& e : p.DataFiles.items) {
    EXPECT_EQ(v.DataSeries.items[e.No].MarkerColor, DataPalette[PaletteIndex(e.No)]) << e.No;
    EXPECT_EQ(v.DataSeries.items[e.No].Path, e.Path);
  }
  for (const RegistryEntry& c : p.CalcConds.items) {
    EXPECT_EQ(v.CurveSeries.items[c.No].LineColor, CurvePalette[PaletteIndex(c.RelatedDatFileNo)])
        << c.No;
    EXPECT_EQ(v.CurveSeries.items[c.No].Path, c.Path);
  }
}

TEST(Document, DeletingADataFileInTheMiddleRenumbersOrphansAndRecolours) {
  Recorded r;
  FillFourAndFour(r);
  ASSERT_TRUE(DeleteDataFiles(r.doc, {1}));
  const Project& p = r.p();
  ASSERT_EQ(p.DataFiles.Count(), 3);
  EXPECT_EQ(p.DataFiles.items[1].Path, "/d2.dat");
  EXPECT_EQ(p.DataFiles.items[1].No, 1);
  const int related[] = {-1, 1, 2, 0};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(p.CalcConds.items[k].RelatedDatFileNo, related[k]) << k;
  // The data file that moved down takes the colour of its new number, as
  // its list row does; before, it kept the old one.
  EXPECT_EQ(r.v.DataSeries.items[1].MarkerColor, DataPalette[1]);
  EXPECT_EQ(r.v.CurveSeries.items[0].LineColor, CurvePalette[5]);
  ExpectColourRule(r.v, p);
  EXPECT_TRUE(p.Modified);
  EXPECT_TRUE(r.v.View.RescalePending);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::DataFilesDeleted});

  // Several at once, named as they stand; unknown numbers are ignored.
  ASSERT_TRUE(DeleteDataFiles(r.doc, {2, 0, 9, 0}));
  ASSERT_EQ(p.DataFiles.Count(), 1);
  EXPECT_EQ(p.DataFiles.items[0].Path, "/d2.dat");
  const int after[] = {-1, 0, -1, -1};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(p.CalcConds.items[k].RelatedDatFileNo, after[k]) << k;
  ExpectColourRule(r.v, p);

  r.told.clear();
  EXPECT_FALSE(DeleteDataFiles(r.doc, {}));
  EXPECT_FALSE(DeleteDataFiles(r.doc, {-1, 5}));
  EXPECT_TRUE(r.told.empty());
}

TEST(Document, DeletingConditionsRenamesCurveFilesAndSetsModified) {
  Recorded r;
  FillFourAndFour(r);
  Project& p = r.p();
  r.v.View.RangeValid = true;
  ASSERT_TRUE(DeleteCalcConds(r.doc, {3}));  // the top: no file changes name
  EXPECT_TRUE(r.v.View.RangeValid);
  EXPECT_TRUE(p.Modified);  // was lost without a question before
  ASSERT_TRUE(DeleteCalcConds(r.doc, {0, 1}));
  ASSERT_EQ(p.CalcConds.Count(), 1);
  EXPECT_EQ(p.CalcConds.items[0].RelatedDatFileNo, 3);
  EXPECT_EQ(p.CalcConds.items[0].Path, "/pf/tmp0.dat");
  EXPECT_FALSE(r.v.View.RangeValid);
  ExpectColourRule(r.v, p);
  EXPECT_EQ(r.told,
            (std::vector<ChangeKind>{ChangeKind::CalcCondsDeleted, ChangeKind::CalcCondsDeleted}));
  EXPECT_FALSE(DeleteCalcConds(r.doc, {4}));
}

TEST(Document, ChangingAConditionRecoloursItsCurveAndKeepsItsFile) {
  Recorded r;
  FillFourAndFour(r);
  Project& p = r.p();
  SetCorrCoef(r.v, p.CalcConds.items[1], 0.5);
  const std::uint64_t uid = p.CalcConds.items[1].Uid;
  ASSERT_EQ(ChangeCalcCond(r.doc, uid, Cond(3, 30.0, 2.0)), "");
  const RegistryEntry& c = p.CalcConds.items[1];
  EXPECT_EQ(c.RelatedDatFileNo, 3);
  EXPECT_EQ(c.Temp, 30.0);
  EXPECT_EQ(c.MagField, 2.0);
  EXPECT_EQ(CorrCoefOf(r.v, c), 0.0);
  EXPECT_EQ(c.OutpFilePath, "/res/out.dat");
  EXPECT_EQ(c.Path, "/pf/tmp1.dat");
  EXPECT_EQ(r.v.CurveSeries.items[1].LineColor, CurvePalette[3]);  // kept the old one before
  ExpectColourRule(r.v, p);
  EXPECT_TRUE(p.Modified);

  // A refused input or a vanished entry changes nothing.
  EXPECT_EQ(ChangeCalcCond(r.doc, uid, Cond(3, 0.0)), "不正な値の入力 : 温度");
  EXPECT_EQ(ChangeCalcCond(r.doc, 999999, Cond(0)), "");
  EXPECT_EQ(p.CalcConds.items[1].Temp, 30.0);
}

TEST(Document, ModeChangeEmptiesTheRegistriesAndIsAChange) {
  Recorded r;
  FillFourAndFour(r);
  Project& p = r.p();
  SetCalcMode(r.doc, CalcMode::EJ);  // the current mode: nothing happens
  EXPECT_TRUE(r.told.empty());
  EXPECT_FALSE(p.Modified);
  SetCalcMode(r.doc, CalcMode::JcB);
  EXPECT_TRUE(p.DataFiles.Empty());
  EXPECT_TRUE(p.CalcConds.Empty());
  EXPECT_TRUE(r.v.DataSeries.Empty());
  EXPECT_TRUE(r.v.CurveSeries.Empty());
  EXPECT_EQ(p.Axes.X.type, AxisScale::Linear);
  EXPECT_EQ(r.v.View.Y.Title, "Jc(A/m^2)");
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::ModeChanged});
}

TEST(Document, RangeSettingsAreCheckedAppliedAndMarkTheProjectModified) {
  Recorded r;
  Project& p = r.p();
  EXPECT_EQ(SetJRange(r.doc, 1e9, 1e8, 3), "不正な値の入力 : J範囲終了値");
  EXPECT_FALSE(p.Modified);
  EXPECT_EQ(SetJRange(r.doc, 1e4, 1e8, 7), "");
  EXPECT_EQ(p.Settings.JStepLevel, 7);
  EXPECT_TRUE(p.Modified);

  p.Modified = false;
  JcConditions c{1e4, 1e10, 0.0, 5.0, 2e-4, 5};
  EXPECT_EQ(SetJcConditions(r.doc, c), "");
  EXPECT_EQ(p.Params.E_cAllowableError, 0.001);  // the tolerance of level 5
  EXPECT_EQ(p.Params.E_c, 2e-4);
  EXPECT_TRUE(p.Modified);

  p.Modified = false;
  ParamRanges ranges = ParamRangesOf(p.Settings);
  ranges.hi[1] = 0.2;
  EXPECT_EQ(SetParamRanges(r.doc, ranges), "");
  EXPECT_EQ(p.Settings.MaxSigma_2, 0.2);
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(r.told.size(), 3u);
}

TEST(Document, ParameterChangesRefitAndOnlyTheUsersMarkTheProject) {
  Recorded r;
  r.v.View.RangeValid = true;
  r.v.View.RescalePending = false;
  ModelParams m = r.p().Params;
  m.Re_Gamma = 0.25;
  m.SampleName = "S2";

  // Before a pass: the values are taken silently.
  SyncModelParams(r.doc, m);
  EXPECT_EQ(r.p().Params.Re_Gamma, 0.25);
  EXPECT_FALSE(r.p().Modified);
  EXPECT_TRUE(r.v.View.RangeValid);
  EXPECT_TRUE(r.told.empty());

  // A slider or the fit window's apply: values, modified, refit, told.
  m.Re_A_m = 3e9;
  SetModelParams(r.doc, m);
  EXPECT_EQ(r.p().Params.Re_A_m, 3e9);
  EXPECT_EQ(r.p().Params.SampleName, "S2");
  EXPECT_TRUE(r.p().Modified);
  EXPECT_FALSE(r.v.View.RangeValid);
  EXPECT_TRUE(r.v.View.RescalePending);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::ParamsChanged});

  // A typed text: the same, with the values left for the next pass.
  r.p().Modified = false;
  r.v.View.RangeValid = true;
  r.told.clear();
  MarkParamsEdited(r.doc);
  EXPECT_EQ(r.p().Params.Re_A_m, 3e9);
  EXPECT_TRUE(r.p().Modified);
  EXPECT_FALSE(r.v.View.RangeValid);
  EXPECT_EQ(r.told, std::vector<ChangeKind>{ChangeKind::ParamsChanged});
}

TEST(Validation, EveryMessageInItsOrder) {
  Project p;
  p.DataFiles.Add({});
  p.DataFiles.Add({});
  EXPECT_EQ(CheckCalcCond(p, Cond(1)), "");
  EXPECT_EQ(CheckCalcCond(p, Cond(2)), "不正な値の入力 : 関連付けデータファイル番号");
  EXPECT_EQ(CheckCalcCond(p, Cond(-1)), "不正な値の入力 : 関連付けデータファイル番号");
  EXPECT_EQ(CheckCalcCond(p, Cond(0, 400.0)), "不正な値の入力 : 温度");
  EXPECT_EQ(CheckCalcCond(p, Cond(0, 0.0, 0.0)), "不正な値の入力 : 温度");  // first failure only
  EXPECT_EQ(CheckCalcCond(p, Cond(0, 20.0, 100.0)), "不正な値の入力 : 磁場");
  CalcCondInput noFolder = Cond(0);
  noFolder.folder.clear();
  EXPECT_EQ(CheckCalcCond(p, noFolder), "不正な値の入力 : 計算結果出力フォルダ");
  CalcCondInput noName = Cond(0);
  noName.name.clear();
  EXPECT_EQ(CheckCalcCond(p, noName), "不正な値の入力 : 出力ファイル名");
  p.Settings.Mode = zx::CalcMode::JcB;  // no field in Jc-B mode
  EXPECT_EQ(CheckCalcCond(p, Cond(0, 20.0, -5.0)), "");
  Project none;  // a condition without data files may stay unrelated
  EXPECT_EQ(CheckCalcCond(none, Cond(-1)), "");

  EXPECT_EQ(CheckJRange(0.0, 1e8, 3), "不正な値の入力 : J範囲開始値");
  EXPECT_EQ(CheckJRange(1e8, 1e8, 3), "不正な値の入力 : J範囲終了値");
  EXPECT_EQ(CheckJRange(1e5, 1e8, 11), "不正な値の入力 : 計算の細かさ");
  EXPECT_EQ(CheckJRange(1e5, 1e8, 10), "");

  const JcConditions good{1e5, 1e11, 0.0, 7.0, 1e-4, 3};
  EXPECT_EQ(CheckJcConditions(good), "");
  JcConditions c = good;
  c.jIni = 0.0;  // every Jc would come out as 1
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : J範囲開始値");
  c = good;
  c.jFin = 1e5;
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : J範囲終了値");
  c = good;
  c.bIni = -1.0;
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : B範囲開始値");
  c = good;
  c.bFin = 0.0;
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : B範囲終了値");
  c = good;
  c.ec = -1e-4;
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : 電界基準値");
  c = good;
  c.bStepLevel = 0;
  EXPECT_EQ(CheckJcConditions(c), "不正な値の入力 : 計算の細かさ");

  const ParamRanges defaults = ParamRangesOf(CalcSettings{});
  EXPECT_EQ(CheckParamRanges(defaults), "");
  ParamRanges r = defaults;
  r.lo[0] = 0.0;  // Am must stay above 0
  EXPECT_EQ(CheckParamRanges(r), "不正な値の入力 : Amの最小値");
  r = defaults;
  r.hi[1] = 1.5;
  EXPECT_EQ(CheckParamRanges(r), "不正な値の入力 : σ^2の最大値");
  r = defaults;
  r.lo[3] = r.hi[3];  // equal bounds leave the slider no scale
  EXPECT_EQ(CheckParamRanges(r), "不正な値の入力 : mの最大値");
  r = defaults;
  r.hi[4] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(CheckParamRanges(r), "不正な値の入力 : g^2の最大値");
}

TEST(Document, PathsWithoutACp932FormAreRefusedWhereTheyEnter) {
  Recorded r;
  const std::string bad = "/home/caf\u00e9/d.dat";
  const std::string refused = AddDataFile(r.doc, bad);
  EXPECT_NE(refused.find(bad), std::string::npos) << refused;
  EXPECT_TRUE(r.p().DataFiles.Empty());
  EXPECT_EQ(AddDataFile(r.doc, "/home/データ/d.dat"), "");

  const std::uint64_t uid = r.p().DataFiles.items[0].Uid;
  EXPECT_NE(RenameDataFile(r.doc, uid, bad), "");
  EXPECT_EQ(r.p().DataFiles.items[0].Path, "/home/データ/d.dat");

  CalcCondInput in = Cond(0);
  in.folder = "/home/M\u00fcller";
  EXPECT_NE(AddCalcCond(r.doc, in).find("/home/M\u00fcller/out.dat"), std::string::npos);
  EXPECT_TRUE(r.p().CalcConds.Empty());
  EXPECT_EQ(CheckPathEntry("/home/データ/結果.dat"), "");
  // Everything admitted can be saved.
  std::string bytes;
  EXPECT_TRUE(SettingsBytes(r.p(), bytes));
}

TEST(Document, AFailedNewStillTellsTheObserversThatTheRegistriesAreGone) {
  Recorded r;
  FillFourAndFour(r);
  // Nobody, root included, can create a file below /dev/null.
  EXPECT_FALSE(NewDocument(r.doc, "/dev/null/initmp.zx2"));
  EXPECT_TRUE(r.p().DataFiles.Empty());
  EXPECT_TRUE(r.v.DataSeries.Empty());
  EXPECT_TRUE(r.v.CurveSeries.Empty());
  EXPECT_EQ(r.told,
            (std::vector<ChangeKind>{ChangeKind::DataFilesDeleted, ChangeKind::CalcCondsDeleted}));
}

TEST(Document, NewLoadAndSaveReplaceTheProject) {
  test::TempDir dir;
  Recorded r;
  FillFourAndFour(r);
  r.p().SettingsFilePath = dir.Path("old.zx2");
  ASSERT_TRUE(NewDocument(r.doc, dir.Path("initmp.zx2")));
  EXPECT_TRUE(r.p().DataFiles.Empty());
  EXPECT_EQ(r.p().SettingsFilePath, "");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("initmp.zx2")));
  ASSERT_EQ(AddDataFile(r.doc, "/d.dat"), "");
  ASSERT_TRUE(SaveDocumentAs(r.doc, dir.Path("saved.zx2")));
  EXPECT_EQ(r.p().SettingsFilePath, dir.Path("saved.zx2"));

  Recorded other;
  r.told.clear();
  EXPECT_FALSE(LoadDocument(other.doc, dir.Path("missing.zx2")));
  EXPECT_TRUE(other.told.empty());
  ASSERT_TRUE(LoadDocument(other.doc, dir.Path("saved.zx2")));
  EXPECT_EQ(other.p().DataFiles.Count(), 1);
  EXPECT_EQ(other.p().SettingsFilePath, dir.Path("saved.zx2"));
  EXPECT_EQ(other.told, std::vector<ChangeKind>{ChangeKind::ProjectReplaced});
}

TEST(TextDecoding, UtfEightThatIsNoCp932IsReadAsUtfEight) {
  const std::string utf8 = "DatFilePath\t/home/データ/あ.dat";
  EXPECT_EQ(DecodeText(utf8), utf8);
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(utf8, cp932));
  EXPECT_EQ(DecodeText(cp932), utf8);  // CP932 stays the rule
  EXPECT_EQ(DecodeText("plain"), "plain");

  // A settings file written by hand in UTF-8 loads its paths unchanged.
  test::TempDir dir;
  Project written;
  AddDataFile(written, "/home/データ/あ.dat");
  std::string bytes;
  ASSERT_TRUE(SettingsBytes(written, bytes));
  const std::string path = dir.Write("hand.zx2", Cp932ToUtf8(bytes));
  Project read;
  ASSERT_TRUE(LoadSettingsFile(read, path));
  ASSERT_EQ(read.DataFiles.Count(), 1);
  EXPECT_EQ(read.DataFiles.items[0].Path, "/home/データ/あ.dat");
}

}  // namespace
}  // namespace zx
