#include "fit/fit_solver.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit/fit_quality.h"
#include "fit_fixture.h"

namespace zx {
namespace {

using fit_test::MakeEJInput;
using fit_test::MakeJcBInput;
using fit_test::Scaled;
using fit_test::TruthParams;

// Two temperatures and two fields tell all five parameters apart.
const std::vector<std::pair<double, double>> kConditions = {{20, 1.5}, {25, 2.5}, {30, 1.5}};

FitValues Values(const FitOutcome& o) { return ValuesOf(o); }

TEST(FitSolver, RecoversNoiseFreeParametersIdenticallyForAnyThreadCount) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8);
  SetParams(in.params, Scaled(ParamsOf(truth), 1.3));
  int callbacks = 0;
  FitOptions o;
  o.starts = 1;
  o.threads = 1;
  o.onIteration = [&](const FitIteration& it) {
    EXPECT_EQ(it.iteration, callbacks++);
    EXPECT_GE(it.rms, 0.0);
    return true;
  };
  const FitOutcome one = RunFit(in, o);
  ASSERT_EQ(one.stop, FitStop::Converged) << one.reason;
  EXPECT_GT(callbacks, 1);
  const FitValues want = ParamsOf(truth);
  for (std::size_t k = 0; k < kPinningParamCount; ++k) {
    EXPECT_NEAR(one.params[k].value / want[k], 1.0, 1e-6) << FitParamName(static_cast<int>(k));
    EXPECT_EQ(one.params[k].state, ParamState::Free);
  }
  EXPECT_TRUE(one.degenerate.empty());
  EXPECT_GT(one.modelEvaluations, 0);

  o.threads = 2;
  o.onIteration = {};
  const FitOutcome two = RunFit(in, o);
  EXPECT_EQ(two.iterations, one.iterations);
  for (std::size_t k = 0; k < kPinningParamCount; ++k) {
    EXPECT_EQ(two.params[k].value, one.params[k].value);  // same bits
    EXPECT_EQ(std::isnan(two.params[k].stdError), std::isnan(one.params[k].stdError));
  }
  // The input is never changed by a fit.
  EXPECT_EQ(in.params.Re_A_m, truth.Re_A_m * 1.3);
}

TEST(FitSolver, NoisyDataComeBackWithinThreeStandardErrors) {
  const ModelParams truth = TruthParams();
  for (Weighting w : {Weighting::PerCondition, Weighting::PerPoint}) {
    FitInput in = MakeEJInput(truth, kConditions, 12, 0.03, 11);
    SetParams(in.params, Scaled(ParamsOf(truth), 0.8));
    FitOptions o;
    o.weighting = w;
    const FitOutcome out = RunFit(in, o);
    ASSERT_EQ(out.stop, FitStop::Converged) << out.reason;
    const FitValues want = ParamsOf(truth);
    for (std::size_t k = 0; k < kPinningParamCount; ++k) {
      const FitParamOutcome& p = out.params[k];
      ASSERT_TRUE(std::isfinite(p.stdError) && p.stdError > 0) << FitParamName(static_cast<int>(k));
      EXPECT_LE(std::fabs(p.value - want[k]), 3 * p.stdError) << FitParamName(static_cast<int>(k));
    }
    // The residuals are the noise: about 0.03 / ln 10 decades.
    const FitQuality q = EvaluateQuality(in, Values(out), 0);
    EXPECT_NEAR(q.rms, 0.03 / std::log(10.0), 0.005);
  }
}

TEST(FitSolver, FixedParametersStayAndBoundsHoldAndAreFlagged) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8);
  FitValues start = Scaled(ParamsOf(truth), 1.2);
  start[3] = 2.9;  // m, fixed off the truth
  SetParams(in.params, start);
  in.settings.MaxRe_g_2 = 2.2;  // the truth (2.5) lies above the range
  in.settings.MiniRe_Gamma = 0.0;
  FitOptions o;
  o.fixed[3] = true;
  const FitOutcome out = RunFit(in, o);
  ASSERT_NE(out.stop, FitStop::NothingToFit);
  EXPECT_EQ(out.params[3].value, 2.9);
  EXPECT_EQ(out.params[3].state, ParamState::Fixed);
  EXPECT_TRUE(std::isnan(out.params[3].stdError));
  EXPECT_EQ(out.params[4].state, ParamState::Upper);
  EXPECT_NEAR(out.params[4].value, 2.2, 1e-12);
  for (std::size_t k = 0; k < kPinningParamCount; ++k) {
    EXPECT_GE(out.params[k].value, out.params[k].lower);
    EXPECT_LE(out.params[k].value, out.params[k].upper);
  }
}

TEST(FitSolver, DegenerateProblemGivesNanErrorsAndNamesThePair) {
  // One field: Am and gamma only act through Am * B^(gamma-1).
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, {{20, 2.0}, {30, 2.0}}, 8);
  SetParams(in.params, Scaled(ParamsOf(truth), 1.1));
  FitOptions o;
  o.fixed[1] = o.fixed[3] = o.fixed[4] = true;
  const FitOutcome out = RunFit(in, o);
  EXPECT_TRUE(std::isnan(out.params[0].stdError));
  EXPECT_TRUE(std::isnan(out.params[2].stdError));
  EXPECT_EQ(out.degenerate, (std::vector<std::string>{"Am", "gamma"}));
}

TEST(FitSolver, NothingToFitAndCancelling) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 6);
  FitOptions all;
  all.fixed.fill(true);
  FitOutcome out = RunFit(in, all);
  EXPECT_EQ(out.stop, FitStop::NothingToFit);
  EXPECT_EQ(out.reason, "every parameter fixed");

  FitInput empty = in;
  for (ConditionData& c : empty.conditions) c.x.clear(), c.y.clear();
  EXPECT_EQ(RunFit(empty, FitOptions{}).reason, "no usable point");

  SetParams(in.params, Scaled(ParamsOf(truth), 1.3));
  FitOptions o;
  o.starts = 1;
  o.onIteration = [](const FitIteration& it) { return it.iteration < 1; };
  out = RunFit(in, o);
  EXPECT_EQ(out.stop, FitStop::Cancelled);
  EXPECT_EQ(out.iterations, 1);
}

TEST(FitSolver, RobustLossIgnoresAnOutlier) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeEJInput(truth, kConditions, 8);
  in.conditions[1].y[3] *= 1000;  // a spike three decades off
  in.params.Re_A_m *= 1.1;
  in.params.Re_Gamma *= 1.1;
  FitOptions o;
  o.fixed[1] = o.fixed[3] = o.fixed[4] = true;
  o.loss = LossKind::Cauchy;
  o.lossScale = 0.1;
  const FitOutcome robust = RunFit(in, o);
  o.loss = LossKind::Linear;
  const FitOutcome plain = RunFit(in, o);
  const double errRobust = std::fabs(robust.params[0].value / truth.Re_A_m - 1);
  const double errPlain = std::fabs(plain.params[0].value / truth.Re_A_m - 1);
  EXPECT_LT(errRobust, 1e-3);
  EXPECT_LT(errRobust * 10, errPlain);
}

TEST(FitSolver, JcBModeRecoversItsParameters) {
  const ModelParams truth = TruthParams();
  FitInput in = MakeJcBInput(truth, {20, 30}, 6);
  FitValues start = ParamsOf(truth);
  start[0] *= 1.3;
  start[2] *= 0.8;
  start[3] *= 1.2;
  SetParams(in.params, start);
  FitOptions o;
  o.fixed[1] = o.fixed[4] = true;
  const FitOutcome out = RunFit(in, o);
  ASSERT_EQ(out.stop, FitStop::Converged) << out.reason;
  for (std::size_t k : {0u, 2u, 3u})
    EXPECT_NEAR(out.params[k].value / ParamsOf(truth)[k], 1.0, 1e-6)
        << FitParamName(static_cast<int>(k));
  const FitQuality q = EvaluateQuality(in, Values(out), 0);
  EXPECT_LT(q.rms, 1e-7);
  EXPECT_TRUE(std::isnan(q.conditions[0].jcData));
}

}  // namespace
}  // namespace zx
