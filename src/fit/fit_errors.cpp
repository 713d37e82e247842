#include "fit/fit_errors.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

namespace zx {

namespace {

// Components of a null direction above this name its parameter.
constexpr double kNamedComponent = 0.1;
// Below this share of the largest effect over the ranges a parameter has none.
constexpr double kNoEffect = 1e-6;

}  // namespace

FitErrors EstimateErrors(FitResiduals& all, const FitInput& input, const LocalFitSetup& setup,
                         const FitValues& q, const FitFlags& estimate) {
  FitErrors out;
  const FitResiduals::Evaluation e = all.At(q, true, setup.free);
  const Eigen::Index n = all.Count();
  // u_i = w_i rho'(r_i^2): the base weight (1 / points of the condition, or
  // 1) times the loss's IRLS weight at the solution; phi_i = rho'(r_i^2).
  Eigen::VectorXd u(n), phi(n), r(n);
  for (Eigen::Index i = 0; i < n; ++i) {
    const double ri = e.r[static_cast<std::size_t>(i)];
    r(i) = ri;
    phi(i) = LossSlope(setup.loss, setup.lossScale, ri * ri);
    u(i) = ResidualWeight(all, input, setup.weighting, static_cast<int>(i)) * phi(i);
  }

  std::vector<int> cols;
  for (int k = 0; k < kFitParamCount; ++k)
    if (estimate[static_cast<std::size_t>(k)] && setup.free[static_cast<std::size_t>(k)])
      cols.push_back(k);

  // Leave out, one at a time, what the data do not determine: a column
  // without effect, then the parameter carrying most of the smallest
  // direction of the scaled Jacobian. Every parameter of that direction is
  // named.
  Eigen::MatrixXd js;
  Eigen::VectorXd scale;
  auto build = [&] {
    const Eigen::Index p = static_cast<Eigen::Index>(cols.size());
    js.resize(n, p);
    scale.resize(p);
    for (Eigen::Index c = 0; c < p; ++c) {
      const std::vector<double>& col = e.jac[static_cast<std::size_t>(cols[c])];
      for (Eigen::Index i = 0; i < n; ++i)
        js(i, c) = std::sqrt(u(i)) * col[static_cast<std::size_t>(i)];
      scale(c) = js.col(c).norm();
      if (scale(c) > 0 && std::isfinite(scale(c))) js.col(c) /= scale(c);
    }
  };
  auto name = [&](int k) {
    if (std::find(out.degenerate.begin(), out.degenerate.end(), k) == out.degenerate.end())
      out.degenerate.push_back(k);
  };
  while (!cols.empty()) {
    build();
    bool removed = false;
    for (std::size_t c = 0; c < cols.size(); ++c) {
      if (!(scale(static_cast<Eigen::Index>(c)) > 0) ||
          !std::isfinite(scale(static_cast<Eigen::Index>(c)))) {
        name(cols[c]);
        cols.erase(cols.begin() + static_cast<std::ptrdiff_t>(c));
        removed = true;
        break;
      }
    }
    if (removed) continue;
    // A parameter whose whole range moves the weighted residuals by a
    // vanishing share of what the others do has no effect there.
    double largest = 0;
    std::vector<double> effect(cols.size());
    for (std::size_t c = 0; c < cols.size(); ++c) {
      const std::size_t k = static_cast<std::size_t>(cols[c]);
      effect[c] = scale(static_cast<Eigen::Index>(c)) * (setup.upper[k] - setup.lower[k]);
      largest = std::max(largest, effect[c]);
    }
    for (std::size_t c = 0; c < cols.size() && !removed; ++c)
      if (effect[c] < kNoEffect * largest) {
        name(cols[c]);
        cols.erase(cols.begin() + static_cast<std::ptrdiff_t>(c));
        removed = true;
      }
    if (removed) continue;
    Eigen::JacobiSVD<Eigen::MatrixXd> svd(js, Eigen::ComputeThinV);
    const Eigen::VectorXd& s = svd.singularValues();
    const Eigen::Index last = s.size() - 1;
    if (s(0) > 0 && s(last) >= kDegenerateSingularValue * s(0)) break;
    const Eigen::VectorXd v = svd.matrixV().col(last);
    Eigen::Index worst = 0;
    for (Eigen::Index c = 0; c < v.size(); ++c) {
      if (std::fabs(v(c)) > kNamedComponent) name(cols[static_cast<std::size_t>(c)]);
      if (std::fabs(v(c)) > std::fabs(v(worst))) worst = c;
    }
    cols.erase(cols.begin() + worst);
  }
  std::sort(out.degenerate.begin(), out.degenerate.end());
  const Eigen::Index p = static_cast<Eigen::Index>(cols.size());
  if (p == 0) return out;

  // Covariance of the weighted (M-)estimator: the solution solves
  // J^T U r = 0 with U = diag(w_i rho'(r_i^2)) held at its value there
  // (iteratively reweighted least squares). For residuals of a common
  // variance sigma^2 this gives the sandwich
  //   C = sigma^2 (J^T U J)^-1 (J^T U^2 J) (J^T U J)^-1,
  // which is sigma^2 (J^T J)^-1 when every weight is 1, and honest when the
  // weights are not inverse variances (one weight per condition).
  // sigma^2 = sum r_i^2 / (n - p) under the plain loss; under a robust one
  // the outliers it damps must not inflate it, so sigma is the scaled
  // median absolute residual, 1.4826 med|r_i| sqrt(n / (n - p)).
  // The columns are scaled to unit norm for the inversion and unscaled
  // afterwards.
  const double dof = static_cast<double>(n) - static_cast<double>(p);
  if (!(dof > 0)) return out;
  double sigma2 = 0;
  if (setup.loss == LossKind::Linear) {
    sigma2 = r.squaredNorm() / dof;
  } else {
    std::vector<double> absR(static_cast<std::size_t>(n));
    for (Eigen::Index i = 0; i < n; ++i) absR[static_cast<std::size_t>(i)] = std::fabs(r(i));
    const auto mid = absR.begin() + static_cast<std::ptrdiff_t>(absR.size() / 2);
    std::nth_element(absR.begin(), mid, absR.end());
    double med = *mid;
    if (absR.size() % 2 == 0) med = (med + *std::max_element(absR.begin(), mid)) / 2;
    const double sigma = 1.4826 * med;
    sigma2 = sigma * sigma * static_cast<double>(n) / dof;
  }
  // js = U^1/2 J S^-1; U^1/2 js = U J S^-1.
  const Eigen::MatrixXd a = js.transpose() * js;
  const Eigen::MatrixXd uj = u.cwiseSqrt().asDiagonal() * js;
  Eigen::MatrixXd b = sigma2 * (uj.transpose() * uj);
  if (setup.loss == LossKind::SoftL1) {
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
  const Eigen::MatrixXd c = ai * b * ai;
  for (Eigen::Index i = 0; i < p; ++i)
    for (Eigen::Index j = 0; j < p; ++j)
      out.covariance[static_cast<std::size_t>(cols[static_cast<std::size_t>(i)])]
                    [static_cast<std::size_t>(cols[static_cast<std::size_t>(j)])] =
          c(i, j) / (scale(i) * scale(j));
  return out;
}

}  // namespace zx
