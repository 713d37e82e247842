#include "fit/fit_curves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/model.h"
#include "fit_fixture.h"

namespace zx {
namespace {

TEST(FitCurves, DenseModelAcrossTheDataAndResidualsInDecades) {
  const ModelParams truth = fit_test::TruthParams();
  FitInput in = fit_test::MakeEJInput(truth, {{20, 1.0}, {30, 2.0}}, 6);
  in.conditions[1].y[2] *= 10;               // one decade above the model
  in.conditions.push_back(ConditionData{});  // no points: no curves
  const auto curves = FitCurves(in, ParamsOf(truth));
  ASSERT_EQ(curves.size(), 2u);
  const ConditionCurves& c = curves[1];
  ASSERT_EQ(c.modelX.size(), static_cast<std::size_t>(kDenseCurvePoints));
  EXPECT_DOUBLE_EQ(c.modelX.front(), in.conditions[1].x.front());
  EXPECT_NEAR(c.modelX.back() / in.conditions[1].x.back(), 1.0, 1e-12);
  // Evenly spaced in log J.
  EXPECT_NEAR(std::log10(c.modelX[2] / c.modelX[1]), std::log10(c.modelX[1] / c.modelX[0]), 1e-9);
  EXPECT_EQ(c.modelY[7], ModelE(truth, c.modelX[7], 30, 2.0));
  EXPECT_NEAR(c.residualY[2], 1.0, 1e-12);
  EXPECT_NEAR(c.residualY[3], 0.0, 1e-12);

  // Jc-B mode: evenly spaced in B, each point the model's Jc.
  const FitInput jcb = fit_test::MakeJcBInput(truth, {25}, 4);
  const auto along = FitCurves(jcb, ParamsOf(truth), 50);
  ASSERT_EQ(along.size(), 1u);
  EXPECT_NEAR(along[0].modelX[1] - along[0].modelX[0], 4.0 / 49, 1e-12);
  EXPECT_NEAR(
      along[0].modelY[30] / ModelJc(truth, 25, along[0].modelX[30], truth.E_c, 1e-12, 1e5, 1e11),
      1.0, 1e-8);
  EXPECT_NEAR(along[0].residualY[1], 0.0, 1e-8);
}

}  // namespace
}  // namespace zx
