#include "design/design_point.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/fit_quality.h"
#include "model/format.h"
#include "numeric/parallel.h"

namespace zx {

namespace {

// Two-sided 95 % quantile of the normal distribution.
constexpr double kBandQuantile = 1.959963984540054;
// Relative step of the parameter derivatives.
constexpr double kParamStep = 1e-3;
// Step in decades of J of the n value (as the fit's n).
constexpr double kLogJStep = 1e-4;
// Step in decades of J of the derivatives of n: second differences need a
// wider one than n itself, or the model's rounding shows.
constexpr double kSlopeStep = 1e-3;

// log10 E at J = 10^u, counting the evaluation.
double LogE(const ModelParams& p, double u, double T, double B, long long& evaluations) {
  ++evaluations;
  const double e = ModelE(p, std::pow(10.0, u), T, B);
  return e > 0 ? std::log10(e) : NAN;
}

double Quadratic(const FitMatrix& cov, const std::vector<int>& varied,
                 const std::vector<double>& g) {
  double var = 0;
  for (std::size_t a = 0; a < varied.size(); ++a)
    for (std::size_t b = 0; b < varied.size(); ++b) {
      const double c =
          cov[static_cast<std::size_t>(varied[a])][static_cast<std::size_t>(varied[b])];
      if (std::isfinite(c)) var += g[a] * g[b] * c;
    }
  return std::max(var, 0.0);
}

bool NoModelValue(const ModelParams& p, double T, double B) {
  if (!(T >= 0) || !(T < p.T_c) || !(B > 0)) return true;
  return !(B < UpperCriticalField(ToCreepFlowInputs(p), T));
}

bool Outside(double v, double lo, double hi) { return !(v >= lo && v <= hi); }

// The derivatives by each varied parameter of log10 Jc (u) and of n at Jc,
// from log E at u +- kSlopeStep with that parameter moved up and down.
struct BandGradients {
  std::vector<double> u, n;
};

BandGradients Gradients(const ModelParams& p, const std::vector<int>& varied, double u, double n,
                        double T, double B, long long& evals) {
  const double s = kSlopeStep;
  const double curvature =
      (LogE(p, u + s, T, B, evals) - 2 * LogE(p, u, T, B, evals) + LogE(p, u - s, T, B, evals)) /
      (s * s);
  const FitValues values = ParamsOf(p);
  BandGradients g;
  for (int k : varied) {
    const std::size_t kk = static_cast<std::size_t>(k);
    const double h = kParamStep * std::max(std::fabs(values[kk]), 1e-3);
    double atUp[2], atDown[2];  // log E at u + s and u - s, for p + h and p - h
    for (int side = 0; side < 2; ++side) {
      FitValues v = values;
      v[kk] += side == 0 ? h : -h;
      ModelParams q = p;
      SetParams(q, v);
      atUp[side] = LogE(q, u + s, T, B, evals);
      atDown[side] = LogE(q, u - s, T, B, evals);
    }
    const double dLogE = ((atUp[0] + atDown[0]) - (atUp[1] + atDown[1])) / (4 * h);
    const double dNAtJ = ((atUp[0] - atDown[0]) - (atUp[1] - atDown[1])) / (4 * s * h);
    const double dU = -dLogE / n;
    g.u.push_back(dU);
    g.n.push_back(dNAtJ + curvature * dU);
  }
  return g;
}

// The 95 % bands of Jc and n that the fit's covariance gives, where it has
// any and n is known.
void AddBands(const DesignBasis& basis, double T, double B, double u, DesignPoint& pt,
              long long& evals) {
  const std::vector<int> varied = VariedParams(basis.covariance);
  if (varied.empty() || !std::isfinite(pt.n) || !(pt.n > 0)) return;
  const BandGradients g = Gradients(basis.params, varied, u, pt.n, T, B, evals);
  const double halfU = kBandQuantile * std::sqrt(Quadratic(basis.covariance, varied, g.u));
  const double halfN = kBandQuantile * std::sqrt(Quadratic(basis.covariance, varied, g.n));
  if (std::isfinite(halfU)) {
    pt.jcLower = pt.jc * std::pow(10.0, -halfU);
    pt.jcUpper = pt.jc * std::pow(10.0, halfU);
  }
  if (std::isfinite(halfN)) {
    pt.nLower = pt.n - halfN;
    pt.nUpper = pt.n + halfN;
  }
}

}  // namespace

bool OutsideData(const DesignBasis& basis, double T, double B, double eC) {
  const DataRange& r = basis.range;
  if (!r.Known()) return true;
  if (Outside(T, r.tMin, r.tMax) || Outside(B, r.bMin, r.bMax)) return true;
  if (basis.mode == CalcMode::EJ) return Outside(eC, r.eMin, r.eMax);
  return eC != basis.params.E_c;
}

DesignPoint EvaluateDesignPoint(const DesignBasis& basis, double T, double B, double eC,
                                double hint, long long* evaluations) {
  DesignPoint pt;
  pt.temp = T;
  pt.field = B;
  pt.extrapolated = OutsideData(basis, T, B, eC);
  const ModelParams& p = basis.params;
  if (NoModelValue(p, T, B) || !(eC > 0)) return pt;
  long long evals = 0;
  pt.jc = ModelJc(p, T, B, eC, kReportJcPrecision, basis.settings.JIni, basis.settings.JFin, &evals,
                  hint);
  if (!(pt.jc > 0) || !std::isfinite(pt.jc)) {
    pt.jc = NAN;
    if (evaluations) *evaluations += evals;
    return pt;
  }
  pt.hasValue = true;
  const double u = std::log10(pt.jc), d = kLogJStep;
  const double lUp = LogE(p, u + d, T, B, evals), lDown = LogE(p, u - d, T, B, evals);
  pt.n = (lUp - lDown) / (2 * d);
  AddBands(basis, T, B, u, pt, evals);
  if (evaluations) *evaluations += evals;
  return pt;
}

std::vector<double> AxisValues(double lo, double hi, double step) {
  std::vector<double> v;
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(step > 0) || hi < lo) return v;
  const long long count = static_cast<long long>(std::floor((hi - lo) / step + 1e-6));
  for (long long i = 0; i <= count; ++i) {
    // 0.1 + 2 * 0.1 is 0.30000000000000004: twelve digits give the 0.3 typed.
    const double x = ParseLeadingDouble(
        FormatChars(lo + static_cast<double>(i) * step, std::chars_format::general, 12));
    v.push_back(std::fabs(x - hi) < 1e-6 * step ? hi : x);
  }
  return v;
}

DesignMap ComputeDesignMap(const DesignBasis& basis, const std::vector<double>& temps,
                           const std::vector<double>& fields, double eC, int threads) {
  DesignMap map;
  map.temps = temps;
  map.fields = fields;
  map.eC = eC;
  map.points.resize(temps.size() * fields.size());
  std::vector<long long> evals(temps.size(), 0);
  // Fields in ascending order along a row, so that each Jc hints the next.
  std::vector<std::size_t> order(fields.size());
  for (std::size_t j = 0; j < order.size(); ++j) order[j] = j;
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return fields[a] < fields[b]; });
  ParallelFor(temps.size(), threads, [&](int, std::size_t i) {
    double hint = 0;
    for (std::size_t j : order) {
      DesignPoint& pt = map.points[i * fields.size() + j];
      pt = EvaluateDesignPoint(basis, temps[i], fields[j], eC, hint, &evals[i]);
      if (pt.hasValue) hint = pt.jc;
    }
  });
  for (long long e : evals) map.evaluations += e;
  return map;
}

}  // namespace zx
