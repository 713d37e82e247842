#include "fit/fit_quality.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/data_jc.h"
#include "fit/param_lines.h"
#include "fit_fixture.h"

namespace zx {
namespace {

TEST(DataJcAndN, ExactPowerLawComesBack) {
  const double eC = 1e-4, jc = 3.7e7, n = 23.5;
  std::vector<double> J, E;
  // Unsorted on purpose, spanning E_c with several points inside a decade.
  for (double f : {1.02, 0.93, 0.97, 1.05, 0.9, 0.99, 1.08}) {
    J.push_back(jc * f);
    E.push_back(eC * std::pow(f, n));
  }
  EXPECT_NEAR(DataJc(J, E, eC) / jc, 1.0, 1e-12);
  EXPECT_NEAR(DataN(J, E, eC), n, 1e-9);
}

TEST(DataJcAndN, NoneWithoutBracketOrEnoughPoints) {
  const double eC = 1e-4;
  // All below E_c; only two points within a decade of it.
  const std::vector<double> J = {1e6, 2e6, 3e6, 4e6}, E = {1e-9, 1e-8, 2e-5, 5e-5};
  EXPECT_TRUE(std::isnan(DataJc(J, E, eC)));
  EXPECT_TRUE(std::isnan(DataN(J, E, eC)));
  // A point exactly on the criterion is its own Jc.
  EXPECT_EQ(DataJc({1e6, 2e6, 3e6}, {1e-6, 1e-4, 1e-2}, eC), 2e6);
  EXPECT_TRUE(std::isnan(DataJc({}, {}, eC)));
}

TEST(FitQuality, PerConditionFiguresAndLeftOutConditions) {
  const ModelParams truth = fit_test::TruthParams();
  FitInput in = fit_test::MakeEJInput(truth, {{20, 1.0}, {25, 2.0}}, 10);
  ConditionData missing;
  missing.no = 2;
  missing.status = DataStatus::Unreadable;
  in.conditions.push_back(missing);
  const FitQuality q = EvaluateQuality(in, ParamsOf(truth), 2);
  ASSERT_EQ(q.conditions.size(), 3u);
  EXPECT_EQ(q.points, 20);
  EXPECT_LT(q.rms, 1e-12);
  for (int c = 0; c < 2; ++c) {
    const ConditionQuality& cq = q.conditions[static_cast<std::size_t>(c)];
    EXPECT_EQ(cq.points, 10);
    const double jc =
        ModelJc(truth, in.conditions[c].temp, in.conditions[c].field, 1e-4, 1e-9, 1e5, 1e11);
    EXPECT_NEAR(cq.jcModel / jc, 1.0, 1e-8);
    // Data and model agree where the data are the model.
    EXPECT_NEAR(cq.jcData / cq.jcModel, 1.0, 0.02);
    EXPECT_NEAR(cq.nData / cq.nModel, 1.0, 0.1);
  }
  EXPECT_EQ(q.conditions[2].points, 0);
  EXPECT_TRUE(std::isnan(q.conditions[2].rms));
  EXPECT_TRUE(std::isnan(q.conditions[2].jcModel));
}

TEST(ParameterLines, OnlyTheFiveValuesChange) {
  const std::string before =
      "#\r\n# Re(A_m)\t1\r\nRe(A_m)\t1.000000e+009\r\nSigma^2\t1.000000e-001\r\n"
      "Re(Gamma)  8.000000e-001\r\nRe(m)\t3.000000e+000\r\nRe(g^2)\t1.000000e+000\r\n"
      "MaxRe(g^2)\t1.000000e+001\r\n\r\n-----\r\nRe(m)\tpath\r\n";
  const std::string after =
      ReplaceSettingsLines(before, PinningLines({2.5e9, 0.05, 0.7, 2.25, 3.5}));
  EXPECT_EQ(after,
            "#\r\n# Re(A_m)\t1\r\nRe(A_m)\t2.500000e+009\r\nSigma^2\t5.000000e-002\r\n"
            "Re(Gamma)  7.000000e-001\r\nRe(m)\t2.250000e+000\r\nRe(g^2)\t3.500000e+000\r\n"
            "MaxRe(g^2)\t1.000000e+001\r\n\r\n-----\r\nRe(m)\tpath\r\n");
  // Keys the file lacks are added rather than the write refused: the fit
  // ran on their default values, so the file should say which it found.
  EXPECT_EQ(ReplaceSettingsLines("Re(A_m)\t1\r\n", PinningLines({1, 1, 1, 1, 1})),
            "Re(A_m)\t1.000000e+000\r\nSigma^2\t1.000000e+000\r\nRe(Gamma)\t1.000000e+000\r\n"
            "Re(m)\t1.000000e+000\r\nRe(g^2)\t1.000000e+000\r\n");
}

}  // namespace
}  // namespace zx
