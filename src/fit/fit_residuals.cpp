#include "fit/fit_residuals.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "numeric/parallel.h"

namespace zx {

namespace {

constexpr double kRelativeStep = 1e-6;

bool SameBits(const FitValues& a, const FitValues& b) {
  return std::memcmp(a.data(), b.data(), sizeof(double) * kFitParamCount) == 0;
}

// The difference steps of each free coordinate: the coordinate's value at
// either end, and where the parameter set there sits among the sets
// evaluated (-1: the base point itself).
struct DifferenceSteps {
  std::array<double, kFitParamCount> lo{}, hi{};
  std::array<int, kFitParamCount> loIndex{}, hiIndex{};
};

// Adds the parameter sets of the difference steps around q to qs.
DifferenceSteps AddDifferenceSteps(const FitValues& q, const FitFlags& free, const FitValues& lower,
                                   const FitValues& upper, bool forward,
                                   std::vector<FitValues>& qs) {
  DifferenceSteps st;
  auto& lo = st.lo;
  auto& hi = st.hi;
  for (int k = 0; k < kFitParamCount; ++k) {
    if (!free[static_cast<std::size_t>(k)]) continue;
    const std::size_t kk = static_cast<std::size_t>(k);
    const double h = kRelativeStep * std::max(std::fabs(q[kk]), 1.0);
    // Steps stay inside the bounds: the model may be undefined outside.
    lo[kk] = std::max(q[kk] - h, lower[kk]);
    hi[kk] = std::min(q[kk] + h, upper[kk]);
    st.loIndex[kk] = st.hiIndex[kk] = -1;
    if (forward) {
      // One side only, away from the nearer bound.
      if (hi[kk] > q[kk])
        lo[kk] = q[kk];
      else
        hi[kk] = q[kk];
    }
    if (lo[kk] != q[kk]) {
      FitValues a = q;
      a[kk] = lo[kk];
      st.loIndex[kk] = static_cast<int>(qs.size());
      qs.push_back(a);
    }
    if (hi[kk] != q[kk]) {
      FitValues b = q;
      b[kk] = hi[kk];
      st.hiIndex[kk] = static_cast<int>(qs.size());
      qs.push_back(b);
    }
  }
  return st;
}

// The Jacobian columns of e.free from the residuals at the steps' ends;
// every column empty without a Jacobian.
void FillJacobian(FitResiduals::Evaluation& e, const DifferenceSteps& st,
                  const std::vector<double>& base, const std::vector<std::vector<double>>& values) {
  for (int k = 0; k < kFitParamCount; ++k) {
    const std::size_t kk = static_cast<std::size_t>(k);
    e.jac[kk].clear();
    if (!e.hasJacobian || !e.free[kk]) continue;
    const std::vector<double>& a =
        st.loIndex[kk] < 0 ? base : values[static_cast<std::size_t>(st.loIndex[kk])];
    const std::vector<double>& b =
        st.hiIndex[kk] < 0 ? base : values[static_cast<std::size_t>(st.hiIndex[kk])];
    e.jac[kk].resize(base.size());
    for (std::size_t i = 0; i < base.size(); ++i)
      e.jac[kk][i] = (b[i] - a[i]) / (st.hi[kk] - st.lo[kk]);
  }
}

// The model's parameters at each point of fit coordinates.
std::vector<ModelParams> ParamSets(const ModelParams& base, const std::vector<FitValues>& qs) {
  std::vector<ModelParams> sets(qs.size(), base);
  for (std::size_t v = 0; v < qs.size(); ++v) SetParams(sets[v], FromCoordinates(qs[v]));
  return sets;
}

}  // namespace

bool IsLogCoordinate(int param) { return ParamRowOf(param).fitScale == ParamScale::Log; }

FitValues ToCoordinates(const FitValues& values) {
  FitValues q = values;
  for (int k = 0; k < kFitParamCount; ++k)
    if (IsLogCoordinate(k))
      q[static_cast<std::size_t>(k)] = std::log10(values[static_cast<std::size_t>(k)]);
  return q;
}

FitValues FromCoordinates(const FitValues& q) {
  FitValues v = q;
  for (int k = 0; k < kFitParamCount; ++k)
    if (IsLogCoordinate(k))
      v[static_cast<std::size_t>(k)] = std::pow(10.0, q[static_cast<std::size_t>(k)]);
  return v;
}

FitResiduals::FitResiduals(const FitInput& input, int threads, const FitValues& lower,
                           const FitValues& upper)
    : input_(input), threads_(ResolveThreadCount(threads)), lower_(lower), upper_(upper) {
  for (std::size_t c = 0; c < input.conditions.size(); ++c) {
    const ConditionData& cd = input.conditions[c];
    const int first = Count();
    for (std::size_t i = 0; i < cd.x.size(); ++i)
      points_.push_back({static_cast<int>(c), cd.x[i], std::log10(cd.y[i])});
    condRanges_.emplace_back(first, Count());
  }
}

namespace {

// A point's residual in decades. A model value that underflowed lies
// hundreds of decades off: a large but finite residual lets the solver step
// away from it. No value at all (NaN) stays NaN, and the solver refuses the
// step.
double LogResidual(double logY, double model) {
  if (!std::isnan(model)) model = std::clamp(model, 1e-300, 1e300);
  return logY - std::log10(model);
}

}  // namespace

template <class PointResidual>
void FitResiduals::EachSetAndPoint(const std::vector<ModelParams>& sets,
                                   std::vector<std::vector<double>>& out,
                                   const PointResidual& residual) {
  out.assign(sets.size(), std::vector<double>(points_.size(), NAN));
  const std::size_t conds = condRanges_.size();
  // One task per (parameter set, condition): the model's per-condition
  // constants are then built once per task.
  ParallelFor(sets.size() * conds, threads_, [&](int, std::size_t task) {
    const std::size_t v = task / conds, c = task % conds;
    long long evals = 0;
    for (int i = condRanges_[c].first; i < condRanges_[c].second; ++i)
      out[v][static_cast<std::size_t>(i)] =
          residual(sets[v], input_.conditions[c], static_cast<std::size_t>(i), evals);
    evaluations_ += evals;
  });
}

void FitResiduals::Compute(const std::vector<FitValues>& qs,
                           std::vector<std::vector<double>>& out) {
  const double eC = input_.params.E_c;
  const bool jcb = input_.mode == CalcMode::JcB;
  EachSetAndPoint(
      ParamSets(input_.params, qs), out,
      [&](const ModelParams& p, const ConditionData& cd, std::size_t i, long long& evals) {
        const Point& pt = points_[i];
        if (!jcb) {
          ++evals;
          return LogResidual(pt.logY, ModelE(p, pt.x, cd.temp, cd.field));
        }
        const double hint = jcHints_.empty() ? 0.0 : jcHints_[i];
        return LogResidual(
            pt.logY, ModelJc(p, cd.temp, pt.x, eC, kObjectiveJcPrecision, input_.settings.JIni,
                             input_.settings.JFin, &evals, hint));
      });
}

void FitResiduals::ComputeNear(const FitValues& q0, const std::vector<double>& base,
                               const std::vector<FitValues>& qs,
                               std::vector<std::vector<double>>& out) {
  const double eC = input_.params.E_c;
  const double logEc = std::log10(eC);
  ModelParams at0 = input_.params;
  SetParams(at0, FromCoordinates(q0));
  // d log10 E / d log10 J at every point's Jc at q0; NaN where there is none.
  std::vector<double> jc(points_.size(), NAN), slope(points_.size(), NAN);
  ParallelFor(condRanges_.size(), threads_, [&](int, std::size_t c) {
    const ConditionData& cd = input_.conditions[c];
    long long evals = 0;
    for (int i = condRanges_[c].first; i < condRanges_[c].second; ++i) {
      const std::size_t ii = static_cast<std::size_t>(i);
      if (!std::isfinite(base[ii])) continue;
      jc[ii] = std::pow(10.0, points_[ii].logY - base[ii]);
      slope[ii] = ModelN(at0, jc[ii], cd.temp, points_[ii].x, &evals);
    }
    evaluations_ += evals;
  });
  EachSetAndPoint(
      ParamSets(input_.params, qs), out,
      [&](const ModelParams& p, const ConditionData& cd, std::size_t i, long long& evals) {
        const Point& pt = points_[i];
        double r = NAN;
        if (slope[i] > 0 && std::isfinite(slope[i])) {
          const double e = ModelE(p, jc[i], cd.temp, pt.x);
          ++evals;
          if (e > 0 && std::isfinite(e)) r = base[i] + (std::log10(e) - logEc) / slope[i];
        }
        if (std::isnan(r) && std::isfinite(base[i]))  // no slope or no value: search as Compute
          r = LogResidual(pt.logY,
                          ModelJc(p, cd.temp, pt.x, eC, kObjectiveJcPrecision, input_.settings.JIni,
                                  input_.settings.JFin, &evals, jc[i]));
        return r;
      });
}

const FitResiduals::Evaluation* FitResiduals::Cached(const FitValues& q, bool jacobian,
                                                     const FitFlags& free) const {
  if (jacobianValid_ && SameBits(withJacobian_.q, q) && withJacobian_.free == free)
    return &withJacobian_;
  if (!jacobian && plainValid_ && SameBits(plain_.q, q)) return &plain_;
  return nullptr;
}

void FitResiduals::UpdateJcHints(const std::vector<double>& base) {
  // Hints are replaced only between evaluations, never during one, so
  // that no result depends on the order the threads run in.
  jcHints_.resize(points_.size());
  for (std::size_t i = 0; i < points_.size(); ++i)
    jcHints_[i] = std::isfinite(base[i]) ? std::pow(10.0, points_[i].logY - base[i]) : 0.0;
}

std::vector<double> FitResiduals::BaseFirst(const FitValues& q, bool haveBase, bool near,
                                            std::vector<FitValues>& qs) {
  std::vector<double> base;
  if (haveBase) {
    base = plain_.r;
  } else if (near) {
    std::vector<std::vector<double>> b;
    Compute({q}, b);
    base = std::move(b[0]);
  } else {
    qs.push_back(q);
  }
  return base;
}

const FitResiduals::Evaluation& FitResiduals::At(const FitValues& q, bool jacobian,
                                                 const FitFlags& free) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (const Evaluation* cached = Cached(q, jacobian, free)) return *cached;

  std::vector<FitValues> qs;
  const bool haveBase = plainValid_ && SameBits(plain_.q, q);
  const bool jcb = input_.mode == CalcMode::JcB;
  // Jc-B derivatives start from the base point's Jc: it comes first.
  const bool near = jcb && jacobian;
  std::vector<double> base = BaseFirst(q, haveBase, near, qs);
  DifferenceSteps steps;
  if (jacobian) steps = AddDifferenceSteps(q, free, lower_, upper_, forward_, qs);
  std::vector<std::vector<double>> values;
  if (near && !qs.empty()) {
    ComputeNear(q, base, qs, values);
  } else if (!qs.empty()) {
    Compute(qs, values);
  }
  if (!haveBase && !near) base = values[0];
  if (!haveBase && jcb) UpdateJcHints(base);

  Evaluation& e = jacobian ? withJacobian_ : plain_;
  e.q = q;
  e.r = base;
  e.free = free;
  e.hasJacobian = jacobian;
  FillJacobian(e, steps, base, values);
  if (jacobian) {
    jacobianValid_ = true;
    plain_.q = q;
    plain_.r = base;
  }
  plainValid_ = true;
  return e;
}

}  // namespace zx
