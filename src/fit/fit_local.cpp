#include "fit/fit_local.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "fit/fit_loss.h"

namespace zx {

namespace {

// Rounds of holding and releasing bound parameters before giving up.
constexpr int kMaxActiveSetRounds = 8;

// Every residual, and the Jacobian columns when Ceres asks for them, once
// per parameter point; the point's cost functions only read the result.
// Ceres writes the point into q before each evaluation. Reuse of a point
// already evaluated (the same point with and without the Jacobian, and
// points the progress and bound checks ask for) is left to FitResiduals,
// which keys its last evaluations by the bits of q.
class SharedEvaluation final : public ceres::EvaluationCallback {
 public:
  SharedEvaluation(FitResiduals& all, const FitValues& q, const FitFlags& free)
      : all_(all), q_(q), free_(free) {}

  void PrepareForEvaluation(bool evaluateJacobians, bool /*newEvaluationPoint*/) override {
    current_ = &all_.At(q_, evaluateJacobians, free_);
  }

  const FitResiduals::Evaluation& Current() const { return *current_; }

 private:
  FitResiduals& all_;
  const FitValues& q_;
  FitFlags free_;
  const FitResiduals::Evaluation* current_ = nullptr;
};

// One measured point's residual, read from the shared evaluation.
class PointCost final : public ceres::CostFunction {
 public:
  PointCost(const SharedEvaluation& shared, int index)
      : shared_(shared), index_(static_cast<std::size_t>(index)) {
    set_num_residuals(1);
    mutable_parameter_block_sizes()->assign(kFitParamCount, 1);
  }

  bool Evaluate(double const* const* /*parameters*/, double* residuals,
                double** jacobians) const override {
    const FitResiduals::Evaluation& e = shared_.Current();
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
  const SharedEvaluation& shared_;
  std::size_t index_;
};

class IterationRelay final : public ceres::IterationCallback {
 public:
  IterationRelay(const LocalProgress& progress, const FitValues& q, int offset)
      : progress_(progress), q_(q), offset_(offset) {}

  ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
    // Iteration 0 of a later round repeats the end of the one before.
    if (!progress_ || (offset_ > 0 && s.iteration == 0)) return ceres::SOLVER_CONTINUE;
    if (!progress_(offset_ + s.iteration, s.cost, q_)) {
      cancelled_ = true;
      return ceres::SOLVER_TERMINATE_SUCCESSFULLY;
    }
    return ceres::SOLVER_CONTINUE;
  }

  bool cancelled() const { return cancelled_; }

 private:
  const LocalProgress& progress_;
  const FitValues& q_;
  int offset_;
  bool cancelled_ = false;
};

// One residual block per point over the seven one-value parameter blocks
// in q: the fixed parameters constant, the free ones within their bounds.
std::vector<double*> BuildProblem(ceres::Problem& problem, const SharedEvaluation& shared,
                                  const std::vector<double>& weights, const LocalFitSetup& setup,
                                  FitValues& q) {
  std::vector<double*> blocks;
  for (std::size_t k = 0; k < kFitParamCount; ++k) blocks.push_back(&q[k]);
  const FitLoss base(setup.loss, setup.lossScale);
  for (std::size_t i = 0; i < weights.size(); ++i) {
    auto* loss = new ceres::ScaledLoss(base.NewSolverLoss(), weights[i], ceres::TAKE_OWNERSHIP);
    problem.AddResidualBlock(new PointCost(shared, static_cast<int>(i)), loss, blocks);
  }
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!setup.free[k]) {
      problem.SetParameterBlockConstant(blocks[k]);
      continue;
    }
    problem.SetParameterLowerBound(blocks[k], 0, setup.lower[k]);
    problem.SetParameterUpperBound(blocks[k], 0, setup.upper[k]);
  }
  return blocks;
}

// The solver logs through its own logging library, which writes to stderr
// (a step without a model value, a failed evaluation): the fit reports its
// own outcome, so nothing below a fatal error may reach the output.
void QuietSolverLogging() {
  static std::once_flag once;
  std::call_once(once, [] {
    FLAGS_minloglevel = google::GLOG_FATAL;
    FLAGS_stderrthreshold = google::GLOG_FATAL;
    FLAGS_logtostderr = false;
  });
}

ceres::Solver::Options SolverOptions(const LocalFitSetup& setup) {
  QuietSolverLogging();
  ceres::Solver::Options so;
  so.minimizer_type = ceres::TRUST_REGION;
  so.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
  so.linear_solver_type = ceres::DENSE_QR;
  so.function_tolerance = setup.functionTolerance;
  so.gradient_tolerance = 0;
  so.parameter_tolerance = 0;
  so.num_threads = 1;  // the residuals use the threads, in a fixed order
  so.logging_type = ceres::SILENT;
  so.minimizer_progress_to_stdout = false;
  so.update_state_every_iteration = true;
  return so;
}

// Makes the held free parameters constant and the others variable; false
// when none is left to vary.
bool HoldBounds(ceres::Problem& problem, const std::vector<double*>& blocks, const FitFlags& free,
                const FitFlags& held) {
  bool anyVariable = false;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!free[k]) continue;
    if (held[k]) {
      problem.SetParameterBlockConstant(blocks[k]);
    } else {
      problem.SetParameterBlockVariable(blocks[k]);
      anyVariable = true;
    }
  }
  return anyVariable;
}

struct Round {
  int iterations = 0;
  ceres::TerminationType termination = ceres::CONVERGENCE;
  bool cancelled = false;
};

// One Ceres solve with the current held set, within what is left of the
// iteration budget.
Round SolveRound(ceres::Problem& problem, ceres::Solver::Options& so, const LocalFitSetup& setup,
                 const FitValues& q, const LocalProgress& progress, int done) {
  Round r;
  so.max_num_iterations = std::max(setup.maxIterations - done, 1);
  IterationRelay relay(progress, q, done);
  so.callbacks.assign(1, &relay);
  ceres::Solver::Summary summary;
  ceres::Solve(so, &problem, &summary);
  so.callbacks.clear();
  if (!summary.iterations.empty()) r.iterations = summary.iterations.back().iteration;
  r.termination = summary.termination_type;
  r.cancelled = relay.cancelled();
  return r;
}

// 1/2 g^T (J^T U J)^+ g over the parameters that move and are not held,
// relative to the cost (U the weights times the loss's slope): what a
// Gauss-Newton step would still gain.
double PredictedDecrease(const FitResiduals& all, const LocalFitSetup& setup,
                         const std::vector<double>& weights, const FitResiduals::Evaluation& e,
                         const FitValues& g, const FitFlags& held, double cost) {
  std::vector<std::size_t> cols;
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    if (setup.free[k] && !held[k]) cols.push_back(k);
  // Below this absolute cost the model's own rounding decides the step.
  constexpr double kCostFloor = 1e-16;
  if (cols.empty() || !(cost > kCostFloor)) return 0;
  const Eigen::Index n = all.Count(), p = static_cast<Eigen::Index>(cols.size());
  const FitLoss loss(setup.loss, setup.lossScale);
  Eigen::MatrixXd j(n, p);
  Eigen::VectorXd gv(p);
  for (Eigen::Index c = 0; c < p; ++c) {
    gv(c) = g[cols[static_cast<std::size_t>(c)]];
    for (Eigen::Index i = 0; i < n; ++i) {
      const std::size_t ii = static_cast<std::size_t>(i);
      const double u = weights[ii] * loss.Slope(e.r[ii] * e.r[ii]);
      j(i, c) = std::sqrt(u) * e.jac[cols[static_cast<std::size_t>(c)]][ii];
    }
  }
  if (!j.allFinite() || !gv.allFinite()) return INFINITY;
  // Columns scaled to unit norm keep the decomposition well conditioned.
  for (Eigen::Index c = 0; c < p; ++c) {
    const double norm = j.col(c).norm();
    if (norm > 0) j.col(c) /= norm, gv(c) /= norm;
  }
  const Eigen::MatrixXd a = j.transpose() * j;
  const Eigen::VectorXd d = a.completeOrthogonalDecomposition().solve(gv);
  return 0.5 * gv.dot(d) / cost;
}

// The cost at the evaluation e, and its gradient into g.
double CostAndGradient(const FitResiduals& all, const LocalFitSetup& setup,
                       const std::vector<double>& weights, const FitResiduals::Evaluation& e,
                       FitValues& g) {
  const FitLoss loss(setup.loss, setup.lossScale);
  double cost = 0;
  for (int i = 0; i < all.Count(); ++i) {
    const std::size_t ii = static_cast<std::size_t>(i);
    const double r = e.r[ii], s = r * r;
    cost += weights[ii] * loss.Value(s);
    const double f = weights[ii] * loss.Slope(s) * r;
    for (std::size_t k = 0; k < kFitParamCount; ++k)
      if (setup.free[k]) g[k] += f * e.jac[k][ii];
  }
  return cost / 2;
}

// The gradient of the cost, g_k = sum w_i rho'(r_i^2) r_i dr_i/dq_k, decides
// which parameters on a bound stay held: those it pushes outward. Sets the
// cost and the projected gradient of out; true when `held` changed.
bool UpdateHeldBounds(FitResiduals& all, const LocalFitSetup& setup,
                      const std::vector<double>& weights, const FitValues& q, FitFlags& held,
                      LocalFitResult& out) {
  const FitResiduals::Evaluation& e = all.At(q, true, setup.free);
  FitValues g{};
  const double cost = CostAndGradient(all, setup, weights, e, g);
  out.cost = cost;
  // Gradients below this (scaled by the range) are noise of the
  // difference quotients.
  const double noise = 1e-7 * std::max(2 * cost, 1e-14);
  bool changed = false;
  double worst = 0;
  for (std::size_t k = 0; k < kFitParamCount; ++k) {
    if (!setup.free[k]) continue;
    const double range = setup.upper[k] - setup.lower[k];
    const double tol = BoundTolerance(range);
    const bool atLower = q[k] <= setup.lower[k] + tol, atUpper = q[k] >= setup.upper[k] - tol;
    const double scaled = g[k] * range;
    // Cost falls when q_k moves against its gradient.
    const bool inward = (atLower && scaled < -noise) || (atUpper && scaled > noise);
    const double projected = atLower   ? std::max(0.0, -scaled)
                             : atUpper ? std::max(0.0, scaled)
                                       : std::fabs(scaled);
    worst = std::max(worst, projected);
    if (held[k] && inward) {
      held[k] = false;
      changed = true;
    } else if (!held[k] && (atLower || atUpper) && !inward) {
      held[k] = true;
      changed = true;
    }
  }
  out.projectedGradient = worst;
  out.predictedDecrease = PredictedDecrease(all, setup, weights, e, g, held, cost);
  return changed;
}

FitValues ClampedStart(const LocalFitSetup& setup, const FitValues& start) {
  FitValues q = start;
  for (std::size_t k = 0; k < kFitParamCount; ++k)
    if (setup.free[k]) q[k] = std::clamp(q[k], setup.lower[k], setup.upper[k]);
  return q;
}

// What one local fit's rounds share.
struct ActiveSetFit {
  FitResiduals& all;
  const LocalFitSetup& setup;
  const std::vector<double>& weights;
  ceres::Problem& problem;
  std::vector<double*> blocks;
};

// How the rounds ended.
struct Rounds {
  ceres::TerminationType last = ceres::CONVERGENCE;
  bool settled = false, cancelled = false, slope = false;
};

// Rounds of solving with the parameters on a bound held, until the held set
// no longer changes and the end is a minimum, or the budget is spent.
Rounds RunRounds(const ActiveSetFit& fit, FitValues& q, const LocalProgress& progress,
                 LocalFitResult& out) {
  const LocalFitSetup& setup = fit.setup;
  ceres::Solver::Options so = SolverOptions(setup);
  FitFlags held{};
  Rounds rounds;
  for (int round = 0; round < kMaxActiveSetRounds; ++round) {
    if (HoldBounds(fit.problem, fit.blocks, setup.free, held)) {
      const Round r = SolveRound(fit.problem, so, setup, q, progress, out.iterations);
      out.iterations += r.iterations;
      rounds.last = r.termination;
      rounds.cancelled = r.cancelled;
      if (r.cancelled || r.termination == ceres::FAILURE) break;
    }
    if (!UpdateHeldBounds(fit.all, setup, fit.weights, q, held, out)) {
      // The solver's own stopping rule may end on a slope (a step refused
      // where the model has no value, a stalled trust region): another
      // round from here, and the end is no minimum if that does not help.
      rounds.slope = !(out.predictedDecrease <= setup.firstOrderTolerance);
      if (!rounds.slope) {
        rounds.settled = true;
        break;
      }
    }
    if (out.iterations >= setup.maxIterations) break;
  }
  return rounds;
}

void SetStop(const Rounds& rounds, const LocalFitSetup& setup, LocalFitResult& out) {
  if (rounds.cancelled) {
    out.stop = FitStop::Cancelled;
    out.reason = "cancelled";
  } else if (rounds.last == ceres::FAILURE) {
    // The solver's own text may hold several lines: never pass it on.
    out.stop = FitStop::Failed;
    out.reason = "the model could not be evaluated";
  } else if (rounds.slope && out.iterations < setup.maxIterations) {
    out.stop = FitStop::NotMinimum;
    out.reason = "not at a minimum: the cost still falls";
  } else if (!rounds.settled || rounds.last == ceres::NO_CONVERGENCE) {
    out.stop = FitStop::IterationLimit;
    out.reason = std::to_string(setup.maxIterations) + " iterations";
  } else {
    out.stop = FitStop::Converged;
    out.reason = "converged";
  }
}

}  // namespace

double ResidualWeight(const FitResiduals& all, const FitInput& input, Weighting w, int i) {
  if (w == Weighting::PerPoint) return 1.0;
  const ConditionData& cd = input.conditions[static_cast<std::size_t>(all.ConditionOf(i))];
  return 1.0 / static_cast<double>(cd.x.size());
}

double WeightSum(const FitResiduals& all, const FitInput& input, Weighting w) {
  double sum = 0;
  for (int i = 0; i < all.Count(); ++i) sum += ResidualWeight(all, input, w, i);
  return sum;
}

double MeritOf(double cost, double weightSum) {
  return weightSum > 0 ? std::sqrt(2 * cost / weightSum) : NAN;
}

double FitCost(FitResiduals& all, const FitInput& input, const LocalFitSetup& s,
               const FitValues& q) {
  const FitResiduals::Evaluation& e = all.At(q, false, s.free);
  const FitLoss loss(s.loss, s.lossScale);
  double cost = 0;
  for (int i = 0; i < all.Count(); ++i) {
    const double r = e.r[static_cast<std::size_t>(i)];
    cost += ResidualWeight(all, input, s.weighting, i) * loss.Value(r * r);
  }
  return cost / 2;
}

LocalFitResult LocalFit(FitResiduals& all, const FitInput& input, const LocalFitSetup& setup,
                        const FitValues& start, const LocalProgress& progress) {
  LocalFitResult out;
  FitValues q = ClampedStart(setup, start);
  std::vector<double> weights(static_cast<std::size_t>(all.Count()));
  for (int i = 0; i < all.Count(); ++i)
    weights[static_cast<std::size_t>(i)] = ResidualWeight(all, input, setup.weighting, i);

  SharedEvaluation shared(all, q, setup.free);
  ceres::Problem::Options po;
  po.evaluation_callback = &shared;
  ceres::Problem problem(po);
  const ActiveSetFit fit{all, setup, weights, problem,
                         BuildProblem(problem, shared, weights, setup, q)};
  const Rounds rounds = RunRounds(fit, q, progress, out);
  out.q = q;
  if (!std::isfinite(out.cost)) out.cost = FitCost(all, input, setup, q);
  SetStop(rounds, setup, out);
  return out;
}

}  // namespace zx
