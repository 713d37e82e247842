#include "import/pre_rise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace zx {

namespace {

// Where the linear rise may stay: a fifth of the power law.
constexpr double kRiseShare = 0.2;
// The linear part must lower the relative residuals this clearly (an F
// statistic of its two terms) to count: noise alone reaches about 5.
constexpr double kMinImprovement = 10.0;
// Exponents scanned, in steps of 6 %.
constexpr double kLowestExponent = 1.5, kHighestExponent = 200.0, kExponentStep = 1.06;
// A long run is judged on an even selection of its points.
constexpr std::size_t kMaxFitPoints = 2000;

using Vec3 = std::array<double, 3>;

std::optional<Vec3> Solve3(std::array<Vec3, 3> m, Vec3 v) {
  for (int c = 0; c < 3; ++c) {
    int p = c;
    for (int r = c + 1; r < 3; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
    std::swap(m[c], m[p]);
    std::swap(v[c], v[p]);
    if (!(std::fabs(m[c][c]) > 1e-300)) return std::nullopt;
    for (int r = 0; r < 3; ++r) {
      if (r == c) continue;
      const double f = m[r][c] / m[c][c];
      for (int k = c; k < 3; ++k) m[r][k] -= f * m[c][k];
      v[r] -= f * v[c];
    }
  }
  return Vec3{v[0] / m[0][0], v[1] / m[1][1], v[2] / m[2][2]};
}

struct Model {
  double n = 0, a = 0, b = 0, c = 0;  // E = a·x^n + b + c·x, x = J / J_top
  double ssr = INFINITY;              // relative: sum ((model - E) / E)^2
};

// The best power law alone (linear = false) or with the linear rise.
Model FitModel(const std::vector<double>& x, const std::vector<double>& y, bool linear) {
  Model best;
  for (double n = kLowestExponent; n < kHighestExponent; n *= kExponentStep) {
    std::array<Vec3, 3> m{};
    Vec3 v{};
    std::vector<double> p(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
      p[k] = std::pow(x[k], n);
      // Basis over E: each point weighs by its relative error.
      const Vec3 basis{p[k] / y[k], 1.0 / y[k], x[k] / y[k]};
      for (int r = 0; r < 3; ++r) {
        v[r] += basis[r];
        for (int s = 0; s < 3; ++s) m[r][s] += basis[r] * basis[s];
      }
    }
    Model t;
    t.n = n;
    if (linear) {
      const std::optional<Vec3> s = Solve3(m, v);
      // A rise: growing with J from a current above zero (the background
      // fit took away any line through the low currents).
      if (!s || !((*s)[0] > 0) || !((*s)[2] > 0) || !((*s)[1] < 0)) continue;
      t.a = (*s)[0], t.b = (*s)[1], t.c = (*s)[2];
    } else {
      if (!(m[0][0] > 0)) continue;
      t.a = v[0] / m[0][0];
    }
    t.ssr = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
      const double r = (t.a * p[k] + t.b + t.c * x[k]) / y[k] - 1.0;
      t.ssr += r * r;
    }
    if (t.ssr < best.ssr) best = t;
  }
  return best;
}

}  // namespace

std::size_t PowerLawPart(const std::vector<double>& j, const std::vector<double>& e,
                         const std::vector<std::size_t>& run, double sigma) {
  const std::size_t count = run.size();
  if (count < 2 * kMinPowerLawPoints) return count;
  const double jTop = j[run.front()];
  std::vector<double> x, y;
  const std::size_t step = (count + kMaxFitPoints - 1) / kMaxFitPoints;
  for (std::size_t k = 0; k < count; k += step) {
    x.push_back(j[run[k]] / jTop);
    y.push_back(e[run[k]]);
  }
  const Model rise = FitModel(x, y, true);
  const Model plain = FitModel(x, y, false);
  if (!std::isfinite(rise.ssr) || !std::isfinite(plain.ssr)) return count;
  const double dof = static_cast<double>(x.size()) - 4.0;
  const double improvement =
      rise.ssr > 0 ? (plain.ssr - rise.ssr) / 2.0 / (rise.ssr / dof) : INFINITY;
  if (!(improvement >= kMinImprovement)) return count;
  auto riseAbove = [&](std::size_t k, double share) {
    const double xk = j[run[k]] / jTop;
    const double linearPart = std::max(0.0, rise.b + rise.c * xk);
    return linearPart > share * rise.a * std::pow(xk, rise.n);
  };
  // A rise below the transition leaves its top to the power law; a line
  // that matters there bends the transition itself (a dip, heating).
  if (riseAbove(0, kRiseShare)) return count;
  for (std::size_t k = 1; k < count; ++k) {
    const double xk = j[run[k]] / jTop;
    if (riseAbove(k, kRiseShare) && rise.b + rise.c * xk > sigma)
      return std::max(k, kMinPowerLawPoints);
  }
  return count;
}

}  // namespace zx
