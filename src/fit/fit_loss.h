// The robust loss rho(s) of a squared residual s = r^2. Its values and
// slopes come from the solver's own loss, so that the cost, gradient and
// weights computed outside the solver are those it minimises.
#pragma once

#include <memory>

#include "fit/fit_types.h"

namespace ceres {
class LossFunction;
}

namespace zx {

class FitLoss {
 public:
  FitLoss(LossKind kind, double scale);
  ~FitLoss();
  FitLoss(const FitLoss&) = delete;
  FitLoss& operator=(const FitLoss&) = delete;

  // rho(s) as the cost sums it (s for the plain loss).
  double Value(double s) const;
  // rho'(s): 1 for the plain loss; the IRLS weight of soft L1
  // (1/sqrt(1 + s/a^2)) and Cauchy (1/(1 + s/a^2)).
  double Slope(double s) const;
  // A new instance of the same loss for a solver problem, which takes
  // ownership of it.
  ceres::LossFunction* NewSolverLoss() const;

 private:
  LossKind kind_;
  double scale_;
  std::unique_ptr<const ceres::LossFunction> loss_;
};

}  // namespace zx
