// The residuals of a fit, log10(measured) - log10(model), for every used
// point of every condition, and their derivatives by central differences.
// Evaluations are spread over threads as whole (parameter set, condition)
// tasks, so the numbers never depend on the thread count.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "fit/fit_data.h"

namespace zx {

// Fit coordinates: log10 of Am, sigma^2 and g^2 (scale parameters whose
// good values lie decades apart), the others as they are.
bool IsLogCoordinate(int param);
FitValues ToCoordinates(const FitValues& values);
FitValues FromCoordinates(const FitValues& q);

// Relative precision of the model's Jc inside the objective: finer than
// what a report needs, so that the cost is smooth in the parameters.
inline constexpr double kObjectiveJcPrecision = 1e-12;

class FitResiduals {
 public:
  // lower/upper: bounds in coordinates, which the difference steps respect.
  FitResiduals(const FitInput& input, int threads, const FitValues& lower, const FitValues& upper);

  int Count() const { return static_cast<int>(points_.size()); }
  // Condition index (into input.conditions) of residual i.
  int ConditionOf(int i) const { return points_[static_cast<std::size_t>(i)].cond; }

  struct Evaluation {
    FitValues q{};
    std::vector<double> r;
    // jac[k][i] = d r_i / d q_k for the parameters in `free`; empty otherwise.
    std::array<std::vector<double>, kFitParamCount> jac;
    FitFlags free{};
    bool hasJacobian = false;
  };

  // The residuals at q, and the Jacobian columns of `free` when asked.
  // Keeps the last evaluations, so that repeated requests at one point
  // cost nothing. The reference stays valid until the next call.
  const Evaluation& At(const FitValues& q, bool jacobian, const FitFlags& free);

  long long ModelEvaluations() const { return evaluations_.load(); }

  // One-sided differences: half the model evaluations of a Jacobian, for
  // fits that only explore.
  void SetForwardDifferences(bool forward) { forward_ = forward; }

 private:
  struct Point {
    int cond;
    double x, logY;
  };
  // out[v][i]: residual(sets[v], condition, i, evaluations) of every point i.
  template <class PointResidual>
  void EachSetAndPoint(const std::vector<ModelParams>& sets, std::vector<std::vector<double>>& out,
                       const PointResidual& residual);
  // Residuals of every point at each parameter set in qs.
  void Compute(const std::vector<FitValues>& qs, std::vector<std::vector<double>>& out);
  // Jc-B mode: the residuals at parameter sets next to the base point q0
  // (residuals `base`), each point's Jc taken one Newton step from its Jc at
  // q0 along the model's slope there. A derivative step moves Jc by about a
  // millionth, so the step lands within the objective's precision at the
  // cost of one model value instead of a whole search.
  void ComputeNear(const FitValues& q0, const std::vector<double>& base,
                   const std::vector<FitValues>& qs, std::vector<std::vector<double>>& out);

  // The kept evaluation that answers At(q, jacobian, free); null when none.
  const Evaluation* Cached(const FitValues& q, bool jacobian, const FitFlags& free) const;
  // The residuals at q when kept (haveBase) or needed before the others
  // (near: Jc-B derivatives start from them); otherwise q joins qs and
  // the result is empty.
  std::vector<double> BaseFirst(const FitValues& q, bool haveBase, bool near,
                                std::vector<FitValues>& qs);
  // Jc-B mode: each point's Jc at the residuals `base`, where the next
  // searches start.
  void UpdateJcHints(const std::vector<double>& base);

  const FitInput& input_;
  int threads_;
  FitValues lower_, upper_;
  std::vector<Point> points_;
  std::vector<std::pair<int, int>> condRanges_;  // [first, end) per condition index
  // Jc-B mode: the model's Jc of every point at the last base evaluation,
  // where the searches at nearby parameters start.
  std::vector<double> jcHints_;
  std::mutex mutex_;
  Evaluation plain_, withJacobian_;
  bool plainValid_ = false, jacobianValid_ = false;
  bool forward_ = false;
  std::atomic<long long> evaluations_{0};
};

}  // namespace zx
