#include "fit/fit_solver.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <memory>

#include "fit/fit_residuals.h"

namespace zx {

namespace {

// Smallest sigma^2 the fit tries when its lower bound is 0.
constexpr double kPositiveFloor = 1e-12;

// One measured point's residual; the values come from the shared
// evaluation of all points at the same parameters.
class PointCost final : public ceres::CostFunction {
 public:
  PointCost(FitResiduals& all, int index, const FitFlags& free)
      : all_(all), index_(static_cast<std::size_t>(index)), free_(free) {
    set_num_residuals(1);
    mutable_parameter_block_sizes()->assign(kFitParamCount, 1);
  }

  bool Evaluate(double const* const* parameters, double* residuals,
                double** jacobians) const override {
    FitValues q;
    for (int k = 0; k < kFitParamCount; ++k) q[static_cast<std::size_t>(k)] = parameters[k][0];
    const FitResiduals::Evaluation& e = all_.At(q, jacobians != nullptr, free_);
    residuals[0] = e.r[index_];
    if (!std::isfinite(residuals[0])) return false;
    if (jacobians) {
      for (int k = 0; k < kFitParamCount; ++k) {
        if (!jacobians[k]) continue;
        const std::vector<double>& col = e.jac[static_cast<std::size_t>(k)];
        const double d = col.empty() ? 0.0 : col[index_];
        if (!std::isfinite(d)) return false;
        jacobians[k][0] = d;
      }
    }
    return true;
  }

 private:
  FitResiduals& all_;
  std::size_t index_;
  FitFlags free_;
};

class IterationRelay final : public ceres::IterationCallback {
 public:
  IterationRelay(const FitOptions& options, FitResiduals& all, const FitValues& q,
                 const FitFlags& free)
      : options_(options), all_(all), q_(q), free_(free) {}

  ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
    iterations_ = s.iteration;
    if (!options_.onIteration) return ceres::SOLVER_CONTINUE;
    FitIteration it;
    it.iteration = s.iteration;
    it.cost = s.cost;
    // The parameter blocks hold the current iterate (state updated every
    // iteration); its residuals are usually still cached.
    const FitResiduals::Evaluation& e = all_.At(q_, false, free_);
    double sum = 0;
    for (double r : e.r) sum += r * r;
    it.rms = e.r.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(e.r.size()));
    it.values = FromCoordinates(q_);
    if (!options_.onIteration(it)) {
      cancelled_ = true;
      return ceres::SOLVER_TERMINATE_SUCCESSFULLY;
    }
    return ceres::SOLVER_CONTINUE;
  }

  bool cancelled() const { return cancelled_; }
  int iterations() const { return iterations_; }

 private:
  const FitOptions& options_;
  FitResiduals& all_;
  const FitValues& q_;
  FitFlags free_;
  bool cancelled_ = false;
  int iterations_ = 0;
};

const ceres::LossFunction* BaseLoss(const FitOptions& o) {
  const double a = o.lossScale > 0 ? o.lossScale : 0.1;
  switch (o.loss) {
    case LossKind::Linear:
      return nullptr;
    case LossKind::SoftL1:
      return new ceres::SoftLOneLoss(a);
    case LossKind::Cauchy:
      return new ceres::CauchyLoss(a);
  }
  return nullptr;
}

// Names the parameters spanning the (near) null space of the Jacobian.
std::vector<std::string> DegenerateNames(const FitResiduals::Evaluation& e, const FitFlags& free) {
  std::vector<int> cols;
  for (int k = 0; k < kFitParamCount; ++k)
    if (free[static_cast<std::size_t>(k)] && !e.jac[static_cast<std::size_t>(k)].empty())
      cols.push_back(k);
  const int n = static_cast<int>(cols.size());
  Eigen::MatrixXd a(static_cast<Eigen::Index>(e.r.size()), n);
  for (int c = 0; c < n; ++c) {
    const std::vector<double>& col = e.jac[static_cast<std::size_t>(cols[c])];
    for (std::size_t i = 0; i < col.size(); ++i) a(static_cast<Eigen::Index>(i), c) = col[i];
  }
  std::vector<std::string> names;
  // A column without any effect is degenerate by itself.
  for (int c = 0; c < n; ++c)
    if (a.col(c).norm() == 0) names.push_back(FitParamName(cols[c]));
  if (!names.empty()) return names;
  for (int c = 0; c < n; ++c) a.col(c) /= a.col(c).norm();
  Eigen::JacobiSVD<Eigen::MatrixXd> svd(a, Eigen::ComputeThinV);
  const Eigen::VectorXd v = svd.matrixV().col(n - 1);
  for (int c = 0; c < n; ++c)
    if (std::fabs(v(c)) > 0.1) names.push_back(FitParamName(cols[c]));
  return names;
}

}  // namespace

void FitBounds(const CalcSettings& s, FitValues& lower, FitValues& upper) {
  lower = {s.MiniRe_Am, s.MiniSigma_2, s.MiniRe_Gamma, s.MiniRe_m, s.MiniRe_g_2};
  upper = {s.MaxRe_Am, s.MaxSigma_2, s.MaxRe_Gamma, s.MaxRe_m, s.MaxRe_g_2};
  if (!(lower[0] > 0)) lower[0] = std::min(1.0, upper[0]);
  if (!(lower[1] > 0)) lower[1] = kPositiveFloor;
}

FitOutcome RunFit(const FitInput& input, const FitOptions& options) {
  FitOutcome out;
  out.tcn = input.params.Tcn;
  out.bcn = input.params.Bcn;
  FitValues lower, upper;
  FitBounds(input.settings, lower, upper);
  const FitValues start = ParamsOf(input.params);
  FitFlags free{};
  int freeCount = 0;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    FitParamOutcome& po = out.params[k];
    po.lower = lower[k];
    po.upper = upper[k];
    po.stdError = NAN;
    free[k] = !options.fixed[k] && lower[k] < upper[k];
    po.state = free[k] ? ParamState::Free : ParamState::Fixed;
    po.value = start[k];
    // A free start outside the range begins on its nearest bound.
    if (free[k])
      po.value = std::isnan(start[k]) ? lower[k] : std::clamp(start[k], lower[k], upper[k]);
    freeCount += free[k];
  }
  const int points = input.UsedPoints();
  if (points == 0 || freeCount == 0) {
    out.stop = FitStop::NothingToFit;
    out.reason = points == 0 ? "no usable point" : "every parameter fixed";
    return out;
  }

  FitValues values;
  for (std::size_t k = 0; k < kFitParamCount; ++k) values[k] = out.params[k].value;
  FitValues q = ToCoordinates(values);
  const FitValues qLo = ToCoordinates(lower), qHi = ToCoordinates(upper);
  FitResiduals all(input, options.threads, qLo, qHi);

  ceres::Problem::Options po;
  ceres::Problem problem(po);
  std::vector<double*> blocks;
  for (std::size_t k = 0; k < kFitParamCount; ++k) blocks.push_back(&q[k]);
  for (int i = 0; i < all.Count(); ++i) {
    const ConditionData& cd = input.conditions[static_cast<std::size_t>(all.ConditionOf(i))];
    const double w =
        options.weighting == Weighting::PerCondition ? 1.0 / static_cast<double>(cd.x.size()) : 1.0;
    auto* loss = new ceres::ScaledLoss(BaseLoss(options), w, ceres::TAKE_OWNERSHIP);
    problem.AddResidualBlock(new PointCost(all, i, free), loss, blocks);
  }
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!free[k]) {
      problem.SetParameterBlockConstant(blocks[k]);
      continue;
    }
    problem.SetParameterLowerBound(blocks[k], 0, qLo[k]);
    problem.SetParameterUpperBound(blocks[k], 0, qHi[k]);
  }

  ceres::Solver::Options so;
  so.minimizer_type = ceres::TRUST_REGION;
  so.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
  so.linear_solver_type = ceres::DENSE_QR;
  so.max_num_iterations = options.maxIterations;
  so.function_tolerance = options.functionTolerance;
  so.gradient_tolerance = 0;
  so.parameter_tolerance = 0;
  so.num_threads = 1;  // the residuals use the threads, in a fixed order
  so.logging_type = ceres::SILENT;
  so.minimizer_progress_to_stdout = false;
  so.update_state_every_iteration = true;
  IterationRelay relay(options, all, q, free);
  so.callbacks.push_back(&relay);

  ceres::Solver::Summary summary;
  ceres::Solve(so, &problem, &summary);

  out.iterations =
      static_cast<int>(summary.iterations.empty() ? 0 : summary.iterations.back().iteration);
  out.cost = summary.final_cost;
  if (relay.cancelled()) {
    out.stop = FitStop::Cancelled;
    out.reason = "cancelled";
  } else if (summary.termination_type == ceres::CONVERGENCE) {
    out.stop = FitStop::Converged;
    out.reason = "converged";
  } else if (summary.termination_type == ceres::NO_CONVERGENCE) {
    out.stop = FitStop::IterationLimit;
    out.reason = std::to_string(options.maxIterations) + " iterations";
  } else {
    out.stop = FitStop::Failed;
    out.reason = summary.message;
  }

  const FitValues fitted = FromCoordinates(q);
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    FitParamOutcome& p = out.params[k];
    if (!free[k]) continue;
    p.value = fitted[k];
    const double tol = 1e-9 * std::max({std::fabs(qLo[k]), std::fabs(qHi[k]), 1.0});
    if (q[k] <= qLo[k] + tol)
      p.state = ParamState::Lower;
    else if (q[k] >= qHi[k] - tol)
      p.state = ParamState::Upper;
  }

  // Standard errors: the covariance of the coordinates, scaled by the
  // residual variance, Am's carried over from its logarithm.
  const int dof = all.Count() - freeCount;
  // A degenerate problem is an answer here, not an error for the log.
  if (FLAGS_minloglevel < google::GLOG_FATAL) FLAGS_minloglevel = google::GLOG_FATAL;
  auto standardErrors = [&](const FitFlags& of) {
    std::vector<const double*> ofBlocks;
    std::vector<std::pair<const double*, const double*>> pairs;
    for (std::size_t k = 0; k < kFitParamCount; ++k)
      if (of[k]) ofBlocks.push_back(blocks[k]);
    for (std::size_t i = 0; i < ofBlocks.size(); ++i)
      for (std::size_t j = i; j < ofBlocks.size(); ++j)
        pairs.emplace_back(ofBlocks[i], ofBlocks[j]);
    ceres::Covariance::Options co;
    co.algorithm_type = ceres::DENSE_SVD;
    co.num_threads = 1;
    ceres::Covariance covariance(co);
    if (ofBlocks.empty() || !covariance.Compute(pairs, &problem)) return false;
    const double variance = 2 * summary.final_cost / dof;
    for (std::size_t k = 0; k < kFitParamCount; ++k) {
      if (!of[k]) continue;
      double c = NAN;
      covariance.GetCovarianceBlock(blocks[k], blocks[k], &c);
      double se = std::sqrt(c * variance);
      if (k == 0) se *= out.params[0].value * std::log(10.0);
      out.params[k].stdError = se;
    }
    return true;
  };
  if (dof > 0 && !standardErrors(free)) {
    const FitResiduals::Evaluation e = all.At(q, true, free);
    out.degenerate = DegenerateNames(e, free);
    // A parameter without any effect on the residuals (γ when every field
    // is 1 T) leaves the others' errors exact: they are computed without it.
    FitFlags rest = free;
    bool anyWithout = false;
    for (std::size_t k = 0; k < kFitParamCount; ++k) {
      if (!free[k] || e.jac[k].empty()) continue;
      bool effect = false;
      for (double d : e.jac[k]) effect = effect || d != 0;
      if (effect) continue;
      rest[k] = false;
      anyWithout = true;
      problem.SetParameterBlockConstant(blocks[k]);
    }
    if (anyWithout) standardErrors(rest);
  }
  // One local fit: its result is the only minimum.
  const std::vector<double>& r = all.At(q, false, free).r;
  double sum = 0;
  for (double x : r) sum += x * x;
  out.minima.push_back({r.empty() ? NAN : std::sqrt(sum / static_cast<double>(r.size())), out.cost,
                        1, ValuesOf(out)});
  out.modelEvaluations = all.ModelEvaluations();
  return out;
}

}  // namespace zx
