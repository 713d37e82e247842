#include "fit/fit_loss.h"

#include <ceres/loss_function.h>

namespace zx {

namespace {

// The scale a of a loss when none is set.
constexpr double kDefaultLossScale = 0.1;

ceres::LossFunction* NewCeresLoss(LossKind kind, double scale) {
  const double a = scale > 0 ? scale : kDefaultLossScale;
  switch (kind) {
    case LossKind::Linear:
      break;
    case LossKind::SoftL1:
      return new ceres::SoftLOneLoss(a);
    case LossKind::Cauchy:
      return new ceres::CauchyLoss(a);
  }
  return new ceres::TrivialLoss();
}

}  // namespace

FitLoss::FitLoss(LossKind kind, double scale)
    : kind_(kind), scale_(scale), loss_(NewCeresLoss(kind, scale)) {}

FitLoss::~FitLoss() = default;

double FitLoss::Value(double s) const {
  double rho[3];
  loss_->Evaluate(s, rho);
  return rho[0];
}

double FitLoss::Slope(double s) const {
  double rho[3];
  loss_->Evaluate(s, rho);
  return rho[1];
}

ceres::LossFunction* FitLoss::NewSolverLoss() const { return NewCeresLoss(kind_, scale_); }

}  // namespace zx
