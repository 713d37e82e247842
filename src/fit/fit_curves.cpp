#include "fit/fit_curves.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/fit_quality.h"
#include "numeric/parallel.h"

namespace zx {

namespace {

// Two-sided 95 % quantile of the normal distribution.
constexpr double kBandQuantile = 1.959963984540054;
// Relative step of the derivatives for the band.
constexpr double kBandStep = 1e-4;

// One empty entry for each condition that has points.
std::vector<ConditionCurves> CurvesWithPoints(const FitInput& input) {
  std::vector<ConditionCurves> out;
  for (std::size_t c = 0; c < input.conditions.size(); ++c)
    if (!input.conditions[c].x.empty()) {
      ConditionCurves cc;
      cc.cond = static_cast<int>(c);
      out.push_back(std::move(cc));
    }
  return out;
}

// What one condition's curves are drawn from.
struct CurveSource {
  const FitInput& input;
  const ConditionData& cd;
  bool ej = true;
  const std::atomic<bool>* stop = nullptr;
  bool Stopped() const { return stop && *stop; }
};

// n points over the data's range, evenly on a log scale for E-J.
std::vector<double> CurveXs(const CurveSource& src, int n) {
  const auto [lo, hi] = std::minmax_element(src.cd.x.begin(), src.cd.x.end());
  const double a = src.ej ? std::log10(*lo) : *lo, b = src.ej ? std::log10(*hi) : *hi;
  std::vector<double> xs;
  for (int i = 0; i < n; ++i) {
    const double t = a + (b - a) * i / (n - 1);
    xs.push_back(src.ej ? std::pow(10.0, t) : t);
  }
  return xs;
}

// The model along xs at one parameter set; along a curve the last Jc is a
// close hint for the next.
std::vector<double> ModelAlong(const CurveSource& src, const FitValues& v,
                               const std::vector<double>& xs) {
  ModelParams p = src.input.params;
  SetParams(p, v);
  double hint = 0;
  std::vector<double> ys;
  for (double x : xs) {
    if (src.Stopped()) break;
    if (src.ej) {
      ys.push_back(ModelE(p, x, src.cd.temp, src.cd.field));
      continue;
    }
    const double jc = ModelJc(p, src.cd.temp, x, p.E_c, kReportJcPrecision, src.input.settings.JIni,
                              src.input.settings.JFin, nullptr, hint);
    if (std::isfinite(jc)) hint = jc;
    ys.push_back(jc);
  }
  return ys;
}

// g[j][i]: d log10 model(x_i) / d value_j, by central differences.
std::vector<std::vector<double>> BandGradient(const CurveSource& src, const FitValues& values,
                                              const std::vector<int>& varied,
                                              const std::vector<double>& xs) {
  std::vector<std::vector<double>> g;
  for (int j : varied) {
    if (src.Stopped()) break;
    const std::size_t jj = static_cast<std::size_t>(j);
    const double h = kBandStep * std::max(std::fabs(values[jj]), 1e-3);
    FitValues up = values, down = values;
    up[jj] += h;
    down[jj] -= h;
    const std::vector<double> yu = ModelAlong(src, up, xs), yd = ModelAlong(src, down, xs);
    std::vector<double> col(xs.size());
    for (std::size_t i = 0; i < col.size(); ++i)
      col[i] = (std::log10(yu[i]) - std::log10(yd[i])) / (2 * h);
    g.push_back(std::move(col));
  }
  return g;
}

// The 95 % band around the model curve from the covariance.
void BandLimits(ConditionCurves& cc, const FitOutcome& band, const std::vector<int>& varied,
                const std::vector<std::vector<double>>& g) {
  for (std::size_t i = 0; i < cc.modelX.size(); ++i) {
    double var = 0;
    for (std::size_t a2 = 0; a2 < varied.size(); ++a2)
      for (std::size_t b2 = 0; b2 < varied.size(); ++b2) {
        const double c = band.covariance[static_cast<std::size_t>(varied[a2])]
                                        [static_cast<std::size_t>(varied[b2])];
        if (std::isfinite(c)) var += g[a2][i] * g[b2][i] * c;
      }
    const double half = kBandQuantile * std::sqrt(std::max(var, 0.0));
    const double y = cc.modelY[i];
    cc.modelLower.push_back(y * std::pow(10.0, -half));
    cc.modelUpper.push_back(y * std::pow(10.0, half));
  }
}

}  // namespace

std::vector<ConditionCurves> FitCurves(const FitInput& input, const FitValues& values, int points,
                                       int threads, const FitOutcome* band,
                                       const std::atomic<bool>* stop) {
  std::vector<ConditionCurves> out = CurvesWithPoints(input);
  const std::vector<int> varied = band ? VariedParams(band->covariance) : std::vector<int>{};
  const bool ej = input.mode == CalcMode::EJ;
  const int n = std::max(points, 2);
  ParallelFor(out.size(), threads, [&](int, std::size_t k) {
    ConditionCurves& cc = out[k];
    const CurveSource src{input, input.conditions[static_cast<std::size_t>(cc.cond)], ej, stop};
    cc.modelX = CurveXs(src, n);
    cc.modelY = ModelAlong(src, values, cc.modelX);
    const std::vector<double> atData = ModelAlong(src, values, src.cd.x);
    for (std::size_t i = 0; i < atData.size(); ++i) {
      cc.residualX.push_back(src.cd.x[i]);
      cc.residualY.push_back(std::log10(src.cd.y[i] / atData[i]));
    }
    if (varied.empty() || src.Stopped()) return;
    const auto g = BandGradient(src, values, varied, cc.modelX);
    if (!src.Stopped()) BandLimits(cc, *band, varied, g);
  });
  return out;
}

}  // namespace zx
