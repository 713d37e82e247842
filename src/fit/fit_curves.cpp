#include "fit/fit_curves.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"
#include "calc/parallel.h"
#include "fit/fit_quality.h"
#include "fit/model_jc.h"

namespace zx {

namespace {

// Two-sided 95 % quantile of the normal distribution.
constexpr double kBandQuantile = 1.959963984540054;
// Relative step of the derivatives for the band.
constexpr double kBandStep = 1e-4;

}  // namespace

std::vector<ConditionCurves> FitCurves(const FitInput& input, const FitValues& values, int points,
                                       int threads, const FitOutcome* band) {
  std::vector<ConditionCurves> out;
  for (std::size_t c = 0; c < input.conditions.size(); ++c)
    if (!input.conditions[c].x.empty()) {
      ConditionCurves cc;
      cc.cond = static_cast<int>(c);
      out.push_back(std::move(cc));
    }
  // The parameters the band depends on: those with a variance.
  std::vector<int> varied;
  if (band)
    for (int k = 0; k < kFitParamCount; ++k) {
      const double v = band->covariance[static_cast<std::size_t>(k)][static_cast<std::size_t>(k)];
      if (std::isfinite(v) && v >= 0) varied.push_back(k);
    }
  const bool ej = input.mode == CalcMode::EJ;
  const int n = std::max(points, 2);
  ParallelFor(out.size(), threads, [&](int, std::size_t k) {
    ConditionCurves& cc = out[k];
    const ConditionData& cd = input.conditions[static_cast<std::size_t>(cc.cond)];
    const auto [lo, hi] = std::minmax_element(cd.x.begin(), cd.x.end());
    const double a = ej ? std::log10(*lo) : *lo, b = ej ? std::log10(*hi) : *hi;
    for (int i = 0; i < n; ++i) {
      const double t = a + (b - a) * i / (n - 1);
      cc.modelX.push_back(ej ? std::pow(10.0, t) : t);
    }
    // The model along xs at one parameter set; along a curve the last Jc is
    // a close hint for the next.
    auto curve = [&](const FitValues& v, const std::vector<double>& xs) {
      ModelParams p = input.params;
      SetParams(p, v);
      double hint = 0;
      std::vector<double> ys;
      for (double x : xs) {
        if (ej) {
          ys.push_back(ModelE(p, x, cd.temp, cd.field));
          continue;
        }
        const double jc = ModelJc(p, cd.temp, x, p.E_c, kReportJcPrecision, input.settings.JIni,
                                  input.settings.JFin, nullptr, hint);
        if (std::isfinite(jc)) hint = jc;
        ys.push_back(jc);
      }
      return ys;
    };
    cc.modelY = curve(values, cc.modelX);
    const std::vector<double> atData = curve(values, cd.x);
    for (std::size_t i = 0; i < cd.x.size(); ++i) {
      cc.residualX.push_back(cd.x[i]);
      cc.residualY.push_back(std::log10(cd.y[i] / atData[i]));
    }
    if (varied.empty()) return;
    // g[j][i]: d log10 model(x_i) / d value_j.
    std::vector<std::vector<double>> g;
    for (int j : varied) {
      const std::size_t jj = static_cast<std::size_t>(j);
      const double h = kBandStep * std::max(std::fabs(values[jj]), 1e-3);
      FitValues up = values, down = values;
      up[jj] += h;
      down[jj] -= h;
      const std::vector<double> yu = curve(up, cc.modelX), yd = curve(down, cc.modelX);
      std::vector<double> col(static_cast<std::size_t>(n));
      for (std::size_t i = 0; i < col.size(); ++i)
        col[i] = (std::log10(yu[i]) - std::log10(yd[i])) / (2 * h);
      g.push_back(std::move(col));
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
      double var = 0;
      for (std::size_t a2 = 0; a2 < varied.size(); ++a2)
        for (std::size_t b2 = 0; b2 < varied.size(); ++b2) {
          const double c = band->covariance[static_cast<std::size_t>(varied[a2])]
                                           [static_cast<std::size_t>(varied[b2])];
          if (std::isfinite(c)) var += g[a2][i] * g[b2][i] * c;
        }
      const double half = kBandQuantile * std::sqrt(std::max(var, 0.0));
      const double y = cc.modelY[i];
      cc.modelLower.push_back(y * std::pow(10.0, -half));
      cc.modelUpper.push_back(y * std::pow(10.0, half));
    }
  });
  return out;
}

}  // namespace zx
