// The fit's answers that must be trusted: the bounded optimum, the global
// search, degeneracy, honest errors, points without a model value and the
// bounds' edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <thread>

#include "fit/fit_curves.h"
#include "fit/fit_quality.h"
#include "fit/fit_solver.h"
#include "fit_fixture.h"

namespace zx {
namespace {

using fit_test::MakeEJInput;
using fit_test::Scaled;
using fit_test::TruthParams;

constexpr auto kAm = static_cast<std::size_t>(FitParam::Am);
constexpr auto kSigma2 = static_cast<std::size_t>(FitParam::Sigma2);
constexpr auto kGamma = static_cast<std::size_t>(FitParam::Gamma);
constexpr auto kM = static_cast<std::size_t>(FitParam::M);
constexpr auto kG2 = static_cast<std::size_t>(FitParam::G2);

const std::vector<std::pair<double, double>> kConditions = {{20, 1.5}, {25, 2.5}, {30, 1.5}};

const FitWarning* Warning(const FitOutcome& o, FitWarningKind kind) {
  for (const FitWarning& w : o.warnings)
    if (w.kind == kind) return &w;
  return nullptr;
}

TEST(FitSearch, BoundedOptimumEqualsTheFitWithTheParameterHeldOnItsBound) {
  const ModelParams truth = TruthParams();
  struct Case {
    const char* name;
    double CalcSettings::*bound;
    double value;
    std::size_t param;
    double start;
  };
  // The truth lies outside each range: g2 2.5 > 2.0, gamma 0.75 > 0.6,
  // m 2.6 < 3.0.
  const Case cases[] = {{"g2", &CalcSettings::MaxRe_g_2, 2.0, kG2, 1.8},
                        {"gamma", &CalcSettings::MaxRe_Gamma, 0.6, kGamma, 0.5},
                        {"m", &CalcSettings::MiniRe_m, 3.0, kM, 3.4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FitInput in = MakeEJInput(truth, kConditions, 8, 0.03, 5);
    in.settings.*c.bound = c.value;
    FitValues start = Scaled(ParamsOf(truth), 1.15);
    start[c.param] = c.start;
    SetParams(in.params, start);
    FitOptions o;
    o.starts = 1;
    const FitOutcome bounded = RunFit(in, o);
    ASSERT_EQ(bounded.stop, FitStop::Converged) << bounded.reason;
    EXPECT_EQ(bounded.params[c.param].value, c.value);
    EXPECT_NE(bounded.params[c.param].state, ParamState::Free);
    ASSERT_NE(Warning(bounded, FitWarningKind::Bound), nullptr);
    EXPECT_EQ(Warning(bounded, FitWarningKind::Bound)->params, std::vector<int>{int(c.param)});

    // The reference: the same problem with the parameter fixed on the bound.
    FitInput held = in;
    start[c.param] = c.value;
    SetParams(held.params, start);
    FitOptions f = o;
    f.fixed[c.param] = true;
    const FitOutcome reference = RunFit(held, f);
    ASSERT_EQ(reference.stop, FitStop::Converged);
    EXPECT_NEAR(bounded.cost / reference.cost, 1.0, 1e-6);

    // Refitting from the result does not move it.
    FitInput again = in;
    SetParams(again.params, ValuesOf(bounded));
    const FitOutcome refit = RunFit(again, o);
    EXPECT_NEAR(refit.cost / bounded.cost, 1.0, 1e-8);
  }
}

TEST(FitSearch, PoorStartReachesTheTruthWithTheDefaultStarts) {
  // Four temperatures at one field (gamma fixed), 5 % noise, a start far
  // off: sigma2 tiny, m at its lower and g2 at its upper bound.
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, {{15, 1.5}, {20, 1.5}, {25, 1.5}, {30, 1.5}}, 10, 0.05, 3);
  FitOptions o;
  o.fixed[kGamma] = true;
  FitInput fromTruth = in;
  o.starts = 1;
  const FitOutcome best = RunFit(fromTruth, o);
  ASSERT_EQ(best.stop, FitStop::Converged);

  FitValues poor = ParamsOf(truth);
  poor[kAm] = 5e10;
  poor[kSigma2] = 0.9;
  poor[kM] = 1.0;
  poor[kG2] = 10.0;
  SetParams(in.params, poor);
  o.starts = 12;
  const FitOutcome found = RunFit(in, o);
  ASSERT_EQ(found.stop, FitStop::Converged) << found.reason;
  EXPECT_NEAR(found.cost / best.cost, 1.0, 1e-6);
  for (std::size_t k : {kAm, kSigma2, kM, kG2})
    EXPECT_NEAR(found.params[k].value / best.params[k].value, 1.0, 1e-3) << FitParamName(int(k));
  ASSERT_FALSE(found.minima.empty());
  int starts = 0;
  for (const FitMinimum& m : found.minima) starts += m.starts;
  EXPECT_GE(starts, 1);
  EXPECT_LE(starts, 12);
  EXPECT_EQ(found.minima[0].values, ValuesOf(found));
  for (std::size_t m = 1; m < found.minima.size(); ++m)
    EXPECT_GE(found.minima[m].cost, found.minima[0].cost);

  // One local fit from there either reaches the truth or says it did not.
  o.starts = 1;
  const FitOutcome local = RunFit(in, o);
  const bool reached = std::fabs(local.cost / best.cost - 1) < 1e-4;
  EXPECT_TRUE(reached || local.stop != FitStop::Converged ||
              Warning(local, FitWarningKind::Bound) != nullptr)
      << "cost " << local.cost << " against " << best.cost;
}

TEST(FitSearch, NarrowBasinOfOneFieldIsReachedFromPoorStartsAndRankedByTheMerit) {
  // One field at 1 T (gamma has no effect), three temperatures: the best
  // minimum lies in a narrow basin that most starts miss.
  const ModelParams truth = TruthParams();
  const FitInput data = MakeEJInput(truth, {{20, 1}, {25, 1}, {30, 1}}, 8, 0.03, 21);
  FitOptions o;
  o.fixed[kGamma] = true;
  o.starts = 1;
  const FitOutcome best = RunFit(data, o);
  ASSERT_EQ(best.stop, FitStop::Converged) << best.reason;
  o.starts = 12;
  const struct {
    double am, sigma2, m, g2;
  } poor[] = {{1.1e8, 0.9, 9.5, 9.5}, {9e10, 0.002, 1.1, 1.2}, {3e10, 0.5, 6.0, 1.0}};
  for (const auto& p : poor) {
    SCOPED_TRACE(p.am);
    FitInput in = data;
    FitValues v = ParamsOf(truth);
    v[kAm] = p.am, v[kSigma2] = p.sigma2, v[kM] = p.m, v[kG2] = p.g2;
    SetParams(in.params, v);
    const FitOutcome found = RunFit(in, o);
    ASSERT_EQ(found.stop, FitStop::Converged) << found.reason;
    EXPECT_NEAR(found.cost / best.cost, 1.0, 1e-6);
    // One figure ranks the minima, leads with the result and is the cost's.
    ASSERT_FALSE(found.minima.empty());
    EXPECT_EQ(found.minima[0].values, ValuesOf(found));
    EXPECT_EQ(found.minima[0].merit, found.merit);
    EXPECT_NEAR(found.merit, std::sqrt(2 * found.cost / 3), 1e-12);  // three conditions
    for (std::size_t m = 1; m < found.minima.size(); ++m)
      EXPECT_GE(found.minima[m].merit, found.minima[m - 1].merit);
  }
}

TEST(FitSearch, AnEndOnASlopeIsNotCalledConverged) {
  // A stopping rule loose enough to end a fit half-way down: the end is
  // not a minimum, whatever the solver's own rule said.
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8, 0.03, 5);
  SetParams(in.params, Scaled(ParamsOf(truth), 1.6));
  FitOptions o;
  o.starts = 1;
  o.functionTolerance = 0.3;
  const FitOutcome out = RunFit(in, o);
  EXPECT_EQ(out.stop, FitStop::NotMinimum) << out.reason;
  EXPECT_NE(Warning(out, FitWarningKind::NotConverged), nullptr);
}

TEST(FitSearch, DegeneracyIsNamedTheSameFromEveryStart) {
  const ModelParams truth = TruthParams();
  // One temperature: Am and m act only through Am t^m.
  const FitInput oneTemp = MakeEJInput(truth, {{20, 1.5}, {20, 2.5}, {20, 3.5}}, 8, 0.02, 9);
  // One field: Am and gamma act only through Am B^(gamma-1).
  const FitInput oneField = MakeEJInput(truth, {{20, 2.0}, {25, 2.0}, {30, 2.0}}, 8, 0.02, 9);
  const std::vector<std::string> amM = {"Am", "m"}, amGamma = {"Am", "gamma"};
  for (double factor : {0.8, 1.0, 1.25}) {
    for (int starts : {1, 5}) {
      SCOPED_TRACE(std::to_string(factor) + " from " + std::to_string(starts) + " starts");
      FitOptions o;
      o.starts = starts;
      FitInput in = oneTemp;
      SetParams(in.params, Scaled(ParamsOf(truth), factor));
      FitOutcome out = RunFit(in, o);
      EXPECT_EQ(out.degenerate, amM);
      EXPECT_TRUE(std::isnan(out.params[kAm].stdError));
      EXPECT_TRUE(std::isnan(out.params[kM].stdError));
      for (std::size_t k : {kSigma2, kGamma, kG2})
        EXPECT_TRUE(std::isfinite(out.params[k].stdError)) << FitParamName(int(k));
      ASSERT_NE(Warning(out, FitWarningKind::Degenerate), nullptr);
      EXPECT_TRUE(std::isnan(out.correlation[kAm][kSigma2]));

      in = oneField;
      SetParams(in.params, Scaled(ParamsOf(truth), factor));
      out = RunFit(in, o);
      EXPECT_EQ(out.degenerate, amGamma);
      EXPECT_TRUE(std::isfinite(out.params[kM].stdError));
    }
  }
  // Fewer points than free parameters: nothing to fit.
  FitInput three = MakeEJInput(truth, {{20, 1.5}}, 3);
  const FitOutcome few = RunFit(three, FitOptions{});
  EXPECT_EQ(few.stop, FitStop::NothingToFit);
  ASSERT_NE(Warning(few, FitWarningKind::TooFewPoints), nullptr);
}

// The spread of (fitted - truth) / error over seeded noisy sets.
struct Coverage {
  double rmsZ = 0;
  double within1 = 0, within2 = 0;  // fractions within one and two standard errors
};

// outliers: points per condition made 30 times too large.
Coverage MeasureCoverage(Weighting weighting, LossKind loss, int outliers) {
  const ModelParams truth = TruthParams();
  const FitValues want = ParamsOf(truth);
  double sumZ2 = 0;
  int n = 0, inside = 0, inside1 = 0;
  for (unsigned seed = 1; seed <= 16; ++seed) {
    // Conditions of very different sizes, so that the weighting matters,
    // and more of them than the three parameters that scale each curve.
    FitInput in = MakeEJInput(truth, {{20, 1.5}}, 6, 0.05, seed);
    for (const auto& extra : {MakeEJInput(truth, {{25, 2.5}}, 12, 0.05, seed + 100),
                              MakeEJInput(truth, {{30, 1.5}}, 36, 0.05, seed + 200),
                              MakeEJInput(truth, {{15, 3.5}}, 8, 0.05, seed + 300)}) {
      in.conditions.push_back(extra.conditions[0]);
      in.conditions.back().no = static_cast<int>(in.conditions.size()) - 1;
    }
    // Outliers at random points, a decade and a half off either way.
    std::mt19937 pick(seed);
    for (ConditionData& c : in.conditions)
      for (int k = 0; k < outliers; ++k) c.y[pick() % c.y.size()] *= pick() % 2 ? 30.0 : 1 / 30.0;
    FitOptions o;
    o.starts = 1;
    o.weighting = weighting;
    o.loss = loss;
    o.lossScale = 0.05;
    o.fixed[kSigma2] = o.fixed[kG2] = true;
    const FitOutcome out = RunFit(in, o);
    EXPECT_EQ(out.stop, FitStop::Converged);
    for (std::size_t k : {kAm, kGamma, kM}) {
      const double z = (out.params[k].value - want[k]) / out.params[k].stdError;
      sumZ2 += z * z;
      inside += std::fabs(z) <= 2;
      inside1 += std::fabs(z) <= 1;
      ++n;
    }
  }
  return {std::sqrt(sumZ2 / n), static_cast<double>(inside1) / n, static_cast<double>(inside) / n};
}

TEST(FitSearch, StandardErrorsMatchTheSpreadUnderEitherWeightingAndRobustLoss) {
  const struct {
    const char* name;
    Weighting weighting;
    LossKind loss;
    int outliers;
  } cases[] = {
      {"per condition", Weighting::PerCondition, LossKind::Linear, 0},
      {"per point", Weighting::PerPoint, LossKind::Linear, 0},
      {"cauchy with outliers", Weighting::PerCondition, LossKind::Cauchy, 2},
      {"soft L1 with outliers", Weighting::PerPoint, LossKind::SoftL1, 2},
      {"soft L1 with outliers per condition", Weighting::PerCondition, LossKind::SoftL1, 3}};
  for (const auto& c : cases) {
    const Coverage cov = MeasureCoverage(c.weighting, c.loss, c.outliers);
    std::cout << "coverage " << c.name << ": rms z " << cov.rmsZ << ", within 1 and 2 sigma "
              << cov.within1 << " " << cov.within2 << "\n";
    EXPECT_GT(cov.rmsZ, 0.7) << c.name;
    EXPECT_LT(cov.rmsZ, 1.3) << c.name;
    EXPECT_GE(cov.within1, 0.5) << c.name;
    EXPECT_GE(cov.within2, 0.88) << c.name;
  }
}

TEST(FitSearch, PointsWithoutAModelValueAreLeftOutAndReported) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8);
  // A condition above Tc (39 K), and one at a field above Bc2(T).
  ConditionData hot = in.conditions[1];
  hot.no = 7;
  hot.temp = 41;
  in.conditions.push_back(hot);
  ConditionData high = in.conditions[0];
  high.no = 8;
  high.field = 14.0;  // Bc2(20 K) = 15 (1 - (20/39)^2) = 11.1 T
  in.conditions.push_back(high);
  SetParams(in.params, Scaled(ParamsOf(truth), 1.1));
  FitOptions o;
  o.starts = 1;
  const FitOutcome out = RunFit(in, o);
  ASSERT_EQ(out.stop, FitStop::Converged) << out.reason;
  const FitWarning* w = Warning(out, FitWarningKind::NoModelValue);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->conditions, (std::vector<std::pair<int, int>>{{7, 8}, {8, 8}}));
  for (std::size_t k = 0; k < kPinningParamCount; ++k)
    EXPECT_NEAR(out.params[k].value / ParamsOf(truth)[k], 1.0, 1e-5);

  // Tc freed from below the hottest condition (34 K, truth 39 K): that
  // condition gains its model value as Tc moves and takes part.
  FitInput cold = MakeEJInput(truth, {{20, 1.5}, {25, 1.5}, {34, 1.5}}, 8);
  cold.params.T_c = 33;
  FitOptions freed = o;
  freed.fixed[static_cast<std::size_t>(FitParam::Tc)] = false;
  At(freed.lower, FitParam::Tc) = 30;
  At(freed.upper, FitParam::Tc) = 45;
  const FitOutcome moved = RunFit(cold, freed);
  ASSERT_EQ(moved.stop, FitStop::Converged) << moved.reason;
  EXPECT_EQ(Warning(moved, FitWarningKind::NoModelValue), nullptr);
  EXPECT_NEAR(moved.params[static_cast<std::size_t>(FitParam::Tc)].value, 39.0, 1e-4);
  // The default range starts above the hottest condition.
  FitValues lower, upper;
  At(freed.lower, FitParam::Tc) = At(freed.upper, FitParam::Tc) = NAN;
  FitBounds(cold, freed, lower, upper);
  EXPECT_GT(lower[static_cast<std::size_t>(FitParam::Tc)], 34.0);
  EXPECT_GT(upper[static_cast<std::size_t>(FitParam::Tc)], 39.0);

  // Tc below every condition: nothing at all to fit.
  in.params.T_c = 10;
  const FitOutcome none = RunFit(in, o);
  EXPECT_EQ(none.stop, FitStop::NothingToFit);
  EXPECT_NE(Warning(none, FitWarningKind::NoModelValue), nullptr);
}

TEST(FitSearch, ClampedEqualAndInvertedBounds) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8);
  in.params.Re_m = 12;  // above MaxRe(m) 10
  in.settings.MiniRe_g_2 = in.settings.MaxRe_g_2 = 2.0;
  FitOptions o;
  o.starts = 1;
  FitOutcome out = RunFit(in, o);
  ASSERT_NE(Warning(out, FitWarningKind::StartClamped), nullptr);
  EXPECT_EQ(Warning(out, FitWarningKind::StartClamped)->params, std::vector<int>{int(kM)});
  ASSERT_NE(Warning(out, FitWarningKind::EqualBounds), nullptr);
  EXPECT_EQ(out.params[kG2].state, ParamState::Fixed);
  EXPECT_EQ(out.params[kG2].value, 2.0);
  EXPECT_LE(out.params[kM].value, 10.0);

  in.settings.MiniRe_g_2 = 3.0;  // above its maximum
  out = RunFit(in, o);
  EXPECT_EQ(out.stop, FitStop::Failed);
  EXPECT_EQ(out.reason, "不正な値の入力 : g^2の最大値");
  EXPECT_EQ(CheckFitBounds(in, o), out.reason);
  o.fixed[kG2] = true;  // a fixed parameter's range does not matter
  EXPECT_EQ(CheckFitBounds(in, o), "");
}

TEST(FitSearch, MultiStartIsTheSameOnAnyThreadCountAndReportsOnTheCallingThread) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8, 0.03, 2);
  SetParams(in.params, Scaled(ParamsOf(truth), 1.3));
  const std::thread::id caller = std::this_thread::get_id();
  int calls = 0;
  FitOptions o;
  o.starts = 6;
  o.threads = 2;
  o.onIteration = [&](const FitIteration& it) {
    EXPECT_EQ(std::this_thread::get_id(), caller);
    EXPECT_GE(it.start, 0);
    EXPECT_LT(it.start, 6);
    ++calls;
    return true;
  };
  const FitOutcome two = RunFit(in, o);
  EXPECT_GT(calls, 6);
  o.threads = 1;
  o.onIteration = {};
  const FitOutcome one = RunFit(in, o);
  ASSERT_EQ(one.minima.size(), two.minima.size());
  for (std::size_t m = 0; m < one.minima.size(); ++m) {
    EXPECT_EQ(one.minima[m].values, two.minima[m].values);
    EXPECT_EQ(one.minima[m].starts, two.minima[m].starts);
  }
  EXPECT_EQ(ValuesOf(one), ValuesOf(two));
  EXPECT_EQ(one.iterations, two.iterations);

  // Cancelling stops every start.
  o.threads = 2;
  o.onIteration = [](const FitIteration&) { return false; };
  EXPECT_EQ(RunFit(in, o).stop, FitStop::Cancelled);
}

TEST(FitSearch, ConfidenceBandFollowsTheCovarianceByTheDeltaMethod) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8, 0.03, 4);
  FitOptions o;
  o.starts = 1;
  o.fixed = {false, true, true, true, true, true, true};  // Am alone
  const FitOutcome out = RunFit(in, o);
  const double se = out.params[kAm].stdError;
  ASSERT_TRUE(std::isfinite(se) && se > 0);
  EXPECT_EQ(out.covariance[kAm][kAm], se * se);
  EXPECT_EQ(out.correlation[kAm][kAm], 1.0);
  const auto curves = FitCurves(in, ValuesOf(out), 20, 0, &out);
  const auto plain = FitCurves(in, ValuesOf(out), 20);
  ASSERT_EQ(curves.size(), 3u);
  EXPECT_TRUE(plain[0].modelLower.empty());
  for (const ConditionCurves& cc : curves) {
    ASSERT_EQ(cc.modelLower.size(), 20u);
    const ConditionData& cd = in.conditions[static_cast<std::size_t>(cc.cond)];
    for (std::size_t i = 0; i < 20; i += 7) {
      // An independent derivative of log10 E by Am, one-sided.
      ModelParams p = in.params;
      SetParams(p, ValuesOf(out));
      const double e0 = ModelE(p, cc.modelX[i], cd.temp, cd.field);
      p.Re_A_m *= 1 + 1e-5;
      const double e1 = ModelE(p, cc.modelX[i], cd.temp, cd.field);
      const double g = (std::log10(e1) - std::log10(e0)) / (ValuesOf(out)[kAm] * 1e-5);
      const double half = 1.959964 * std::fabs(g) * se;
      EXPECT_NEAR(std::log10(cc.modelUpper[i] / cc.modelY[i]), half, 1e-3 * half + 1e-12);
      EXPECT_NEAR(std::log10(cc.modelY[i] / cc.modelLower[i]), half, 1e-3 * half + 1e-12);
    }
  }
}

}  // namespace
}  // namespace zx
