#include "fit/fit_errors.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <utility>

#include "fit/fit_loss.h"
#include "numeric/median.h"

namespace zx {

namespace {

// Components of a null direction above this name its parameter.
constexpr double kNamedComponent = 0.1;
// Below this share of the largest effect over the ranges a parameter has none.
constexpr double kNoEffect = 1e-6;

// The residuals at the solution and their weights u_i = w_i rho'(r_i^2):
// the base weight (1 / points of the condition, or 1) times the loss's IRLS
// weight at the solution.
struct WeightedResiduals {
  Eigen::VectorXd u, r;
};

WeightedResiduals WeighResiduals(FitResiduals& all, const FitInput& input,
                                 const LocalFitSetup& setup, const FitResiduals::Evaluation& e) {
  const Eigen::Index n = all.Count();
  WeightedResiduals w{Eigen::VectorXd(n), Eigen::VectorXd(n)};
  const FitLoss loss(setup.loss, setup.lossScale);
  for (Eigen::Index i = 0; i < n; ++i) {
    const double ri = e.r[static_cast<std::size_t>(i)];
    w.r(i) = ri;
    const double phi = loss.Slope(ri * ri);
    w.u(i) = ResidualWeight(all, input, setup.weighting, static_cast<int>(i)) * phi;
  }
  return w;
}

std::vector<int> EstimatedColumns(const LocalFitSetup& setup, const FitFlags& estimate) {
  std::vector<int> cols;
  for (int k = 0; k < kFitParamCount; ++k)
    if (estimate[static_cast<std::size_t>(k)] && setup.free[static_cast<std::size_t>(k)])
      cols.push_back(k);
  return cols;
}

// js = U^1/2 J S^-1: the Jacobian's columns cols, weighted, each scaled to
// unit norm by its entry of S.
struct ScaledJacobian {
  Eigen::MatrixXd js;
  Eigen::VectorXd scale;
};

ScaledJacobian ScaleColumns(const FitResiduals::Evaluation& e, const Eigen::VectorXd& u,
                            const std::vector<int>& cols) {
  const Eigen::Index n = u.size(), p = static_cast<Eigen::Index>(cols.size());
  ScaledJacobian sj;
  sj.js.resize(n, p);
  sj.scale.resize(p);
  for (Eigen::Index c = 0; c < p; ++c) {
    const std::vector<double>& col = e.jac[static_cast<std::size_t>(cols[c])];
    for (Eigen::Index i = 0; i < n; ++i)
      sj.js(i, c) = std::sqrt(u(i)) * col[static_cast<std::size_t>(i)];
    sj.scale(c) = sj.js.col(c).norm();
    if (sj.scale(c) > 0 && std::isfinite(sj.scale(c))) sj.js.col(c) /= sj.scale(c);
  }
  return sj;
}

void Name(std::vector<int>& degenerate, int k) {
  if (std::find(degenerate.begin(), degenerate.end(), k) == degenerate.end())
    degenerate.push_back(k);
}

// Drops (and names) the first column without a finite, nonzero effect.
bool DropUnscaled(std::vector<int>& cols, const ScaledJacobian& sj, std::vector<int>& degenerate) {
  for (std::size_t c = 0; c < cols.size(); ++c) {
    if (!(sj.scale(static_cast<Eigen::Index>(c)) > 0) ||
        !std::isfinite(sj.scale(static_cast<Eigen::Index>(c)))) {
      Name(degenerate, cols[c]);
      cols.erase(cols.begin() + static_cast<std::ptrdiff_t>(c));
      return true;
    }
  }
  return false;
}

// A parameter whose whole range moves the weighted residuals by a
// vanishing share of what the others do has no effect there.
bool DropWithoutEffect(std::vector<int>& cols, const ScaledJacobian& sj, const LocalFitSetup& setup,
                       std::vector<int>& degenerate) {
  double largest = 0;
  std::vector<double> effect(cols.size());
  for (std::size_t c = 0; c < cols.size(); ++c) {
    const std::size_t k = static_cast<std::size_t>(cols[c]);
    effect[c] = sj.scale(static_cast<Eigen::Index>(c)) * (setup.upper[k] - setup.lower[k]);
    largest = std::max(largest, effect[c]);
  }
  for (std::size_t c = 0; c < cols.size(); ++c)
    if (effect[c] < kNoEffect * largest) {
      Name(degenerate, cols[c]);
      cols.erase(cols.begin() + static_cast<std::ptrdiff_t>(c));
      return true;
    }
  return false;
}

// When the smallest direction of the scaled Jacobian is undetermined,
// drops the parameter carrying most of it and names every parameter of it.
bool DropSmallestDirection(std::vector<int>& cols, const ScaledJacobian& sj,
                           std::vector<int>& degenerate) {
  Eigen::JacobiSVD<Eigen::MatrixXd> svd(sj.js, Eigen::ComputeThinV);
  const Eigen::VectorXd& s = svd.singularValues();
  const Eigen::Index last = s.size() - 1;
  if (s(0) > 0 && s(last) >= kDegenerateSingularValue * s(0)) return false;
  const Eigen::VectorXd v = svd.matrixV().col(last);
  Eigen::Index worst = 0;
  for (Eigen::Index c = 0; c < v.size(); ++c) {
    if (std::fabs(v(c)) > kNamedComponent) Name(degenerate, cols[static_cast<std::size_t>(c)]);
    if (std::fabs(v(c)) > std::fabs(v(worst))) worst = c;
  }
  cols.erase(cols.begin() + worst);
  return true;
}

// sigma^2 = sum r_i^2 / (n - p) under the plain loss; under a robust one
// the outliers it damps must not inflate it, so sigma is the scaled
// median absolute residual, 1.4826 med|r_i| sqrt(n / (n - p)).
double ResidualVariance(LossKind loss, const Eigen::VectorXd& r, double dof) {
  const Eigen::Index n = r.size();
  if (loss == LossKind::Linear) return r.squaredNorm() / dof;
  std::vector<double> absR(static_cast<std::size_t>(n));
  for (Eigen::Index i = 0; i < n; ++i) absR[static_cast<std::size_t>(i)] = std::fabs(r(i));
  const double sigma = 1.4826 * Median(std::move(absR), EvenMedian::Averaged);
  return sigma * sigma * static_cast<double>(n) / dof;
}

// Covariance of the weighted (M-)estimator: the solution solves
// J^T U r = 0 with U = diag(w_i rho'(r_i^2)) held at its value there
// (iteratively reweighted least squares). For residuals of a common
// variance sigma^2 this gives the sandwich (Huber 1967; White 1980)
//   C = sigma^2 (J^T U J)^-1 (J^T U^2 J) (J^T U J)^-1,
// which is sigma^2 (J^T J)^-1 when every weight is 1, and honest when the
// weights are not inverse variances (one weight per condition).
// Computed on the scaled columns: the result is S C S.
Eigen::MatrixXd SandwichCovariance(const ScaledJacobian& sj, const WeightedResiduals& w,
                                   LossKind loss, double dof) {
  const Eigen::VectorXd& u = w.u;
  const Eigen::VectorXd& r = w.r;
  const Eigen::Index n = u.size();
  const double sigma2 = ResidualVariance(loss, r, dof);
  const Eigen::MatrixXd& js = sj.js;
  // js = U^1/2 J S^-1; U^1/2 js = U J S^-1.
  const Eigen::MatrixXd a = js.transpose() * js;
  const Eigen::MatrixXd uj = u.cwiseSqrt().asDiagonal() * js;
  Eigen::MatrixXd b = sigma2 * (uj.transpose() * uj);
  if (loss == LossKind::SoftL1) {
    // Soft L1 keeps a share of every outlier's pull (its influence levels
    // off rather than falling back to 0 as Cauchy's): the outliers move the
    // estimate, which one common variance from the inliers misses. The meat
    // is then each point's own squared pull, (w rho' r)^2, scaled by
    // n / (n - p), around the same bread J^T U J.
    Eigen::VectorXd meat(n);
    for (Eigen::Index i = 0; i < n; ++i) meat(i) = u(i) * r(i) * u(i) * r(i);
    const Eigen::MatrixXd jr = u.cwiseSqrt().cwiseInverse().asDiagonal() * js;  // J S^-1
    b = (static_cast<double>(n) / dof) * (jr.transpose() * meat.asDiagonal() * jr);
  }
  const Eigen::MatrixXd ai = a.completeOrthogonalDecomposition().pseudoInverse();
  return ai * b * ai;
}

}  // namespace

FitErrors EstimateErrors(FitResiduals& all, const FitInput& input, const LocalFitSetup& setup,
                         const FitValues& q, const FitFlags& estimate) {
  FitErrors out;
  const FitResiduals::Evaluation e = all.At(q, true, setup.free);
  const WeightedResiduals w = WeighResiduals(all, input, setup, e);
  // Leave out, one at a time, what the data do not determine: a column
  // without effect, then the parameter carrying most of the smallest
  // direction of the scaled Jacobian. Every parameter of that direction is
  // named.
  std::vector<int> cols = EstimatedColumns(setup, estimate);
  ScaledJacobian sj;
  while (!cols.empty()) {
    sj = ScaleColumns(e, w.u, cols);
    if (DropUnscaled(cols, sj, out.degenerate) ||
        DropWithoutEffect(cols, sj, setup, out.degenerate))
      continue;
    if (!DropSmallestDirection(cols, sj, out.degenerate)) break;
  }
  std::sort(out.degenerate.begin(), out.degenerate.end());
  const Eigen::Index p = static_cast<Eigen::Index>(cols.size());
  if (p == 0) return out;
  const double dof = static_cast<double>(all.Count()) - static_cast<double>(p);
  if (!(dof > 0)) return out;
  // The columns were scaled to unit norm for the inversion: unscaled here.
  const Eigen::MatrixXd c = SandwichCovariance(sj, w, setup.loss, dof);
  for (Eigen::Index i = 0; i < p; ++i)
    for (Eigen::Index j = 0; j < p; ++j)
      out.covariance[static_cast<std::size_t>(cols[static_cast<std::size_t>(i)])]
                    [static_cast<std::size_t>(cols[static_cast<std::size_t>(j)])] =
          c(i, j) / (sj.scale(i) * sj.scale(j));
  return out;
}

}  // namespace zx
