// Design data from a fit: maps and their bands against independent
// computations, the validity range, the fit record and the map files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "cli_run.h"
#include "design/design_point.h"
#include "design/fit_record.h"
#include "design/map_export.h"
#include "fit/fit_quality.h"
#include "fit/fit_solver.h"
#include "fit_fixture.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

// A noisy fit of three conditions at two fields, every pinning parameter
// free, done once for the tests below.
struct FittedSet {
  FitInput input;
  FitOutcome fit;
  FitOptions options;
  FitQuality quality;
  ModelParams fitted;
  FitRecord record;
};

const FittedSet& Fitted() {
  static const FittedSet set = [] {
    FittedSet s;
    s.input =
        fit_test::MakeEJInput(fit_test::TruthParams(), {{20, 1.0}, {25, 2.0}, {30, 1.0}}, 10, 0.05);
    s.options.starts = 1;
    s.options.threads = 2;
    s.fit = RunFit(s.input, s.options);
    s.fitted = s.input.params;
    SetParams(s.fitted, ValuesOf(s.fit));
    s.quality = EvaluateQuality(s.input, ValuesOf(s.fit), 2);
    s.record = MakeFitRecord(s.input, s.fit, s.options, s.quality, s.fitted);
    return s;
  }();
  return set;
}

DesignBasis FittedBasis() {
  const FittedSet& s = Fitted();
  Project p;
  p.Params = s.fitted;
  p.Settings = s.input.settings;
  return BasisOf(p, &s.record);
}

TEST(DesignMap, JcAtEachConditionIsTheFitsAndNoneOutsideTheModel) {
  const FittedSet& s = Fitted();
  ASSERT_EQ(s.fit.stop, FitStop::Converged);
  const DesignBasis basis = FittedBasis();
  ASSERT_EQ(basis.record, RecordState::Current);
  ASSERT_TRUE(basis.HasBands());
  const double eC = s.fitted.E_c;
  const DesignMap map = ComputeDesignMap(basis, {20, 25, 30}, {0.5, 1.0, 2.0}, eC, 2);
  for (const ConditionQuality& q : s.quality.conditions) {
    const ConditionData& c = s.input.conditions[static_cast<std::size_t>(q.no)];
    const std::size_t i = static_cast<std::size_t>((c.temp - 20) / 5);
    const std::size_t j = c.field == 1.0 ? 1 : 2;
    const DesignPoint& pt = map.points[i * 3 + j];
    EXPECT_NEAR(pt.jc / q.jcModel, 1.0, 1e-8) << c.temp;
    EXPECT_NEAR(pt.n, q.nModel, 1e-5) << c.temp;
    EXPECT_FALSE(pt.extrapolated) << c.temp;
    EXPECT_LT(pt.jcLower, pt.jc);
    EXPECT_GT(pt.jcUpper, pt.jc);
  }
  // No value at or above Tc, at or above Bc2(T), at B = 0.
  const double bc2At30 = UpperCriticalField(ToCreepFlowInputs(s.fitted), 30.0);
  const struct {
    double T, B;
  } none[] = {{s.fitted.T_c, 1.0}, {s.fitted.T_c + 5, 1.0},
              {30, bc2At30},       {30, bc2At30 + 1},
              {20, 0.0},           {20, -1.0}};
  for (auto [T, B] : none) {
    const DesignPoint pt = EvaluateDesignPoint(basis, T, B, eC);
    EXPECT_FALSE(pt.hasValue) << T << " " << B;
    EXPECT_TRUE(std::isnan(pt.jc) && std::isnan(pt.jcLower) && std::isnan(pt.n)) << T << " " << B;
  }
}

// The bands against a delta method on Jc solved afresh at shifted
// parameters (no implicit differentiation).
TEST(DesignMap, BandsAgreeWithFiniteDifferencesOfTheSolvedJc) {
  const FittedSet& s = Fitted();
  const DesignBasis basis = FittedBasis();
  const FitValues v = ParamsOf(s.fitted);
  for (auto [T, B] : std::vector<std::pair<double, double>>{{20, 1}, {27, 3}, {33, 0.5}}) {
    const DesignPoint pt = EvaluateDesignPoint(basis, T, B, s.fitted.E_c);
    std::vector<double> gJ(kFitParamCount, 0.0), gN(kFitParamCount, 0.0);
    for (std::size_t k = 0; k < kPinningParamCount; ++k) {
      if (!std::isfinite(s.fit.covariance[k][k])) continue;
      const double h = 1e-3 * std::fabs(v[k]);
      double logJc[2], n[2];
      for (int side = 0; side < 2; ++side) {
        FitValues w = v;
        w[k] += side == 0 ? h : -h;
        ModelParams q = s.fitted;
        SetParams(q, w);
        const double jc = ModelJc(q, T, B, q.E_c, 1e-13, 1e5, 1e11);
        logJc[side] = std::log10(jc);
        n[side] = ModelN(q, jc, T, B);
      }
      gJ[k] = (logJc[0] - logJc[1]) / (2 * h);
      gN[k] = (n[0] - n[1]) / (2 * h);
    }
    double varJ = 0, varN = 0;
    for (std::size_t a = 0; a < kPinningParamCount; ++a)
      for (std::size_t b = 0; b < kPinningParamCount; ++b) {
        const double c = s.fit.covariance[a][b];
        if (!std::isfinite(c)) continue;
        varJ += gJ[a] * gJ[b] * c;
        varN += gN[a] * gN[b] * c;
      }
    const double halfJ = 1.959963984540054 * std::sqrt(varJ);
    const double halfN = 1.959963984540054 * std::sqrt(varN);
    EXPECT_NEAR(std::log10(pt.jcUpper / pt.jc) / halfJ, 1.0, 0.02) << T << " " << B;
    EXPECT_NEAR(std::log10(pt.jc / pt.jcLower) / halfJ, 1.0, 0.02) << T << " " << B;
    EXPECT_NEAR((pt.nUpper - pt.n) / halfN, 1.0, 0.03) << T << " " << B;
  }
}

TEST(DesignMap, ExtrapolatedOutsideTheDataRangeAndItsEdgesInside) {
  const DesignBasis basis = FittedBasis();
  const DataRange& r = basis.range;
  ASSERT_EQ(r.tMin, 20);
  ASSERT_EQ(r.tMax, 30);
  ASSERT_EQ(r.bMin, 1);
  ASSERT_EQ(r.bMax, 2);
  const double e = 1e-4, tiny = 1e-9;
  const struct {
    double T, B, eC;
    bool outside;
  } cases[] = {
      {20, 1, e, false},
      {30, 2, e, false},
      {25, 1.5, r.eMin, false},
      {25, 1.5, r.eMax, false},
      {20 - tiny, 1, e, true},
      {30 + tiny, 2, e, true},
      {25, 1 - tiny, e, true},
      {25, 2 + tiny, e, true},
      {25, 1.5, r.eMin * 0.999, true},
      {25, 1.5, r.eMax * 1.001, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OutsideData(basis, c.T, c.B, c.eC), c.outside) << c.T << " " << c.B << " " << c.eC;
}

TEST(FitRecord, ReadsBackAndIsStaleWhenTheProjectsParametersDiffer) {
  const FittedSet& s = Fitted();
  FitRecord back;
  std::string why;
  ASSERT_TRUE(ParseFitRecord(FitRecordJson(s.record), back, why)) << why;
  EXPECT_EQ(FitRecordJson(back), FitRecordJson(s.record));
  EXPECT_TRUE(RecordMatches(back, s.fitted));
  // Any difference the settings file can hold makes it stale.
  ModelParams changed = s.fitted;
  changed.Re_A_m *= 1 + 1e-5;
  EXPECT_FALSE(RecordMatches(back, changed));
  changed = s.fitted;
  changed.Bcn = 0;
  EXPECT_FALSE(RecordMatches(back, changed));
  Project p;
  p.Params = changed;
  const DesignBasis stale = BasisOf(p, &back);
  EXPECT_EQ(stale.record, RecordState::Stale);
  EXPECT_FALSE(stale.HasBands());
  EXPECT_TRUE(std::isnan(EvaluateDesignPoint(stale, 25, 1.5, 1e-4).jcLower));
  // Refused, not thrown: another program's record, and fields of the wrong type.
  const std::string wrongFlag =
      std::string(R"({"model": "creep-flow", "parameters": [{"name": ")") + FitParamName(0) +
      R"(", "free": "yes"}]})";
  for (const std::string& text : {std::string(R"({"model": "other"})"),
                                  std::string(R"({"model": 1, "parameters": []})"), wrongFlag})
    EXPECT_FALSE(ParseFitRecord(text, back, why)) << text;
  EXPECT_EQ(FitRecordPath("/a/b.c/p.zx2"), "/a/b.c/p.fit.json");
  EXPECT_EQ(FitRecordPath("/a/p"), "/a/p.fit.json");
}

int Cli(const test::TempDir&, const std::string& args, std::string* out, std::string* err) {
  const test::CliRun r = test::RunCli(args);
  *out = r.out;
  *err = r.err;
  return r.code;
}

// --fit --write leaves a record; the COMSOL map is comment lines and then
// T B Jc n rows (NaN where the model has none); a changed parameter makes
// the record stale.
TEST(DesignCli, RecordComsolMapAndStaleRecord) {
  const test::TempDir dir;
  const FitInput in =
      fit_test::MakeEJInput(fit_test::TruthParams(), {{20, 1.0}, {30, 2.0}}, 8, 0.03);
  Project p;
  p.Params = fit_test::TruthParams();
  fit_test::AddConditionFiles(p, in, dir.Path(""), dir.Path("r.dat"));
  const std::string project = dir.Path("p.zx2");
  ASSERT_TRUE(WriteSettings(p, project));
  std::string out, err;
  ASSERT_EQ(Cli(dir, "--fit --starts 1 --write " + project, &out, &err), 0) << err;
  FitRecord rec;
  std::string why;
  ASSERT_TRUE(ReadFitRecord(dir.Path("p.fit.json"), rec, why)) << why;
  Project stored;
  ASSERT_TRUE(LoadSettingsFile(stored, project));
  EXPECT_TRUE(RecordMatches(rec, stored.Params));
  EXPECT_EQ(rec.conditions.size(), 2u);

  ASSERT_EQ(
      Cli(dir,
          "--map T=20:40:10 B=0:2:1 --format comsol --out " + dir.Path("m.txt") + " " + project,
          &out, &err),
      0)
      << err;
  EXPECT_EQ(err, "");
  std::string text;
  ASSERT_TRUE(ReadWholeFile(dir.Path("m.txt"), text));
  std::istringstream lines(text);
  std::vector<std::vector<std::string>> rows;
  bool inComments = true;
  for (std::string l; std::getline(lines, l);) {
    if (l[0] == '%') {
      EXPECT_TRUE(inComments) << l;
      continue;
    }
    inComments = false;
    std::istringstream f(l);
    rows.emplace_back();
    for (std::string w; f >> w;) rows.back().push_back(w);
    ASSERT_EQ(rows.back().size(), 4u) << l;
  }
  EXPECT_NE(text.find("% Columns: T (K), B (T), Jc (A/m^2), n (1)\n"), std::string::npos);
  ASSERT_EQ(rows.size(), 9u);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(std::stod(rows[k][0]), 20.0 + 10 * static_cast<double>(k / 3));
    EXPECT_EQ(std::stod(rows[k][1]), static_cast<double>(k % 3));
    // No value at B = 0 and at 40 K (above Tc); numbers elsewhere.
    const bool none = k % 3 == 0 || k >= 6;
    EXPECT_EQ(rows[k][2] == "NaN", none) << k;
    EXPECT_EQ(rows[k][3] == "NaN", none) << k;
    if (!none) {
      EXPECT_GT(std::stod(rows[k][2]), 0);
    }
  }

  ASSERT_EQ(Cli(dir, "--set 'Re(A_m)=1.3e9' " + project, &out, &err), 0) << err;
  ASSERT_EQ(Cli(dir, "--at T=25,B=1.5 " + project, &out, &err), 0) << err;
  EXPECT_NE(err.find("is stale"), std::string::npos) << err;
  EXPECT_NE(out.find("jc\t"), std::string::npos);
  EXPECT_NE(out.find("\tnan\tnan\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace zx
