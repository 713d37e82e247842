#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "calc/correlation.h"
#include "calc/grid.h"
#include "calc/model.h"
#include "calc/model_jc.h"
#include "calc/result_file.h"
#include "calc/sampling.h"
#include "example_sample.h"

namespace zx {
namespace {

// E(1e5) < E_c < E(1e11) at this point.
constexpr double kT = 5.0, kB = 2.0;

ModelParams JcParams() {
  ModelParams p;
  p.IntStepNum = 90;
  return p;
}

double EAt(const ModelParams& p, double j, double t = kT) { return ModelE(p, j, t, kB); }

long long Evaluations() { return ThreadCreepFlowCacheStats().evaluations; }

TEST(FindJc, BracketedCriterionIsMetWithinTheTolerance) {
  ModelParams p = JcParams();
  const double lo = 1e5, hi = 1e11;
  const double jc = FindJc(p, kT, kB, lo, hi, EAt(p, lo), EAt(p, hi));
  EXPECT_GT(jc, lo);
  EXPECT_LT(jc, hi);
  EXPECT_LT(std::fabs(EAt(p, jc) - p.E_c), p.E_c * p.E_cAllowableError / 100);

  // A coarser tolerance stops no later.
  ModelParams coarse = p;
  coarse.E_cAllowableError = 1.0;
  const double jcCoarse = FindJc(coarse, kT, kB, lo, hi, EAt(p, lo), EAt(p, hi));
  EXPECT_LT(std::fabs(EAt(p, jcCoarse) - p.E_c), p.E_c * 0.01);
}

TEST(FindJc, CriterionOutsideTheBracketGivesOne) {
  ModelParams p = JcParams();
  const double lo = 1e5, hi = 1e11;
  ModelParams above = p;
  above.E_c = EAt(p, hi) * 10;  // never reached
  EXPECT_EQ(FindJc(above, kT, kB, lo, hi, EAt(p, lo), EAt(p, hi)), 1.0);

  ModelParams below = p;
  below.E_c = EAt(p, lo) / 10;  // exceeded already at the lower end
  const double eLo = EAt(p, lo), eHi = EAt(p, hi);
  const long long before = Evaluations();
  EXPECT_EQ(FindJc(below, kT, kB, lo, hi, eLo, eHi), 1.0);
  EXPECT_EQ(Evaluations() - before, 1);  // gives up after the first midpoint

  const double aboveTc = 40.0;  // no finite field anywhere
  EXPECT_EQ(FindJc(p, aboveTc, kB, lo, hi, EAt(p, lo, aboveTc), EAt(p, hi, aboveTc)), 1.0);
}

TEST(FindJc, ZeroToleranceEndsAfterTheHalvingLimitAtTheLastMidpoint) {
  ModelParams p = JcParams();
  p.IntStepNum = 9;
  p.E_cAllowableError = 0;
  const double lo = 1e5, hi = 1e11;
  const double eLo = EAt(p, lo), eHi = EAt(p, hi);
  const long long before = Evaluations();
  const double jc = FindJc(p, kT, kB, lo, hi, eLo, eHi);
  EXPECT_EQ(Evaluations() - before, kMaxJcHalvings);
  EXPECT_GT(jc, lo);
  EXPECT_LT(jc, hi);
  // The bracket has collapsed onto the crossing.
  EXPECT_NEAR(EAt(p, jc) / p.E_c, 1.0, 1e-6);
}

TEST(ModelJcAndN, MeetTheCriterionAndTheLocalSlope) {
  ModelParams p = examples::ExampleTruth();
  p.IntStepNum = 150;
  const double eC = 1e-4;
  for (auto [T, B] : {std::pair{20.0, 1.0}, std::pair{32.0, 3.0}}) {
    long long evals = 0;
    // A bracket that misses the criterion is widened.
    const double jc = ModelJc(p, T, B, eC, 1e-9, 1e2, 1e3, &evals);
    ASSERT_TRUE(std::isfinite(jc));
    EXPECT_GT(evals, 2);
    const double n = ModelN(p, jc, T, B);
    // E(Jc) = E_c to the slope times 1e-9 relative in J.
    EXPECT_NEAR(std::log10(ModelE(p, jc, T, B) / eC), 0.0, n * 1e-9 / std::log(10.0) * 2);
    const double h = 1e-3;
    const double slope =
        (std::log10(ModelE(p, jc * std::pow(10, h), T, B)) - std::log10(ModelE(p, jc, T, B))) / h;
    EXPECT_NEAR(n, slope, 0.01 * n);
  }
  // A nearby Jc as a hint gives the same answer for less work.
  long long plain = 0, hinted = 0;
  const double jc = ModelJc(p, 25.0, 2.0, eC, 1e-12, 1e5, 1e11, &plain);
  const double again = ModelJc(p, 25.0, 2.0, eC, 1e-12, 1e5, 1e11, &hinted, jc * 1.003);
  EXPECT_NEAR(again / jc, 1.0, 2e-12);
  EXPECT_LT(hinted, plain);
  // Above T_c no current reaches the criterion.
  EXPECT_TRUE(std::isnan(ModelJc(p, 45.0, 1.0, eC, 1e-9, 1e5, 1e11)));
}

TEST(CorrCoefText, SixDecimalsAndNonNumbers) {
  EXPECT_EQ(CorrCoefText(0.98198051533946), "0.981981");
  EXPECT_EQ(CorrCoefText(0.5000004), "0.5");
  EXPECT_EQ(CorrCoefText(0.0), "0");
  EXPECT_EQ(CorrCoefText(-0.5), "-0.5");
  EXPECT_EQ(CorrCoefText(std::nan("")), "nan");
}

TEST(SampleIndices, EveryFifthOfTheFileOrAllOfASmallOne) {
  EXPECT_EQ(SampleIndices(0), std::vector<int>{});
  EXPECT_EQ(SampleIndices(1), std::vector<int>{0});
  EXPECT_EQ(SampleIndices(4), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(SampleIndices(9), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(SampleIndices(14), (std::vector<int>{0, 2, 4, 6, 8, 10, 12}));
  EXPECT_EQ(SampleIndices(100), (std::vector<int>{0, 20, 40, 60, 80}));
}

TEST(Grid, DefaultsGiveThirtyOnePointsFivePerUnit) {
  CalcSettings s;
  ASSERT_EQ(GridPointCount(s), 31);
  std::vector<double> j = BuildGrid(s, 31);
  EXPECT_EQ(j.front(), 1e5);
  EXPECT_DOUBLE_EQ(j[1], std::pow(10.0, 0.2) * 1e5);
  EXPECT_DOUBLE_EQ(j[5], 1e6);
  EXPECT_DOUBLE_EQ(j.back(), 1e11);

  s.Mode = CalcMode::JcB;
  ASSERT_EQ(GridPointCount(s), 31);
  std::vector<double> b = BuildGrid(s, 31);
  EXPECT_EQ(b.front(), 1.0);
  EXPECT_DOUBLE_EQ(b[1], 1.2);
  EXPECT_DOUBLE_EQ(b.back(), 7.0);
}

TEST(Grid, LevelsAreClampedAndOddRangesHandled) {
  CalcSettings s;
  s.JStepLevel = 0;  // would divide by zero
  EXPECT_EQ(GridPointCount(s), 7);
  EXPECT_EQ(BuildGrid(s, 7).back(), std::pow(10.0, 6.0) * 1e5);
  s.JStepLevel = 200;  // beyond the table
  EXPECT_EQ(GridPointCount(s), 6001);

  s.JStepLevel = 3;
  s.JFin = s.JIni;
  EXPECT_EQ(GridPointCount(s), 1);
  EXPECT_EQ(BuildGrid(s, 1), std::vector<double>{1e5});

  s.JIni = 1e11;
  s.JFin = 1e5;
  EXPECT_EQ(GridPointCount(s), -29);  // reversed: header only
  EXPECT_TRUE(BuildGrid(s, -29).empty());

  s.JIni = 0;  // log10(0): no usable grid
  EXPECT_EQ(GridPointCount(s), 0);
  s.JIni = -1;
  EXPECT_EQ(GridPointCount(s), 0);

  CalcSettings b;
  b.Mode = CalcMode::JcB;
  b.BIni = 2.0;
  b.BFin = 1.75;
  EXPECT_EQ(GridPointCount(b), 0);  // trunc(-1.25) + 1
  b.BFin = 1e300;
  EXPECT_EQ(GridPointCount(b), 0);  // far too many points
  b.BFin = std::numeric_limits<double>::infinity();
  EXPECT_EQ(GridPointCount(b), 0);
}

TEST(ResultFile, HeaderLinesAndPointsInExactBytes) {
  const ModelParams p;
  const ResultHeader h{20.0, 1.5};
  const std::vector<double> x{1e5, 2.5e-3}, v{3.0e-10, std::nan("")};
  const std::string expected =
      "#################################\r\n"
      "#   Zentrix II Fitting Result   #\r\n"
      "#################################\r\n"
      "#\r\n"
      "# Fitting Conditions\r\n"
      "#\r\n"
      "# Temperature(K)\t2.000000e+001\r\n"
      "# Magnetic Field(T)\t1.500000e+000\r\n"
      "#\r\n"
      "# Fitting Parameters\r\n"
      "#\r\n"
      "# Re(A_m)\t1.000000e+009\r\n"
      "# Sigma^2\t1.000000e-001\r\n"
      "# Re(Gamma)\t8.000000e-001\r\n"
      "# Re(m)\t3.000000e+000\r\n"
      "# Re(g^2)\t1.000000e+000\r\n"
      "#\r\n"
      "1.000000e+005 3.000000e-010\r\n"
      "2.500000e-003 nan\r\n";
  EXPECT_EQ(ResultFileBytes(p, h, x, v), expected);
}

}  // namespace
}  // namespace zx
