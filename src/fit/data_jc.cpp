#include "fit/data_jc.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zx {

double DataJc(const std::vector<double>& J, const std::vector<double>& E, double eC) {
  const std::size_t n = std::min(J.size(), E.size());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return J[a] < J[b]; });
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const std::size_t i = order[k], j = order[k + 1];
    if (E[i] == eC) return J[i];
    if ((E[i] < eC) != (E[j] < eC) || E[j] == eC) {
      if (E[j] == eC) return J[j];
      const double li = std::log10(E[i]), lj = std::log10(E[j]);
      const double t = (std::log10(eC) - li) / (lj - li);
      return std::pow(10.0, std::log10(J[i]) + t * (std::log10(J[j]) - std::log10(J[i])));
    }
  }
  return NAN;
}

double DataN(const std::vector<double>& J, const std::vector<double>& E, double eC) {
  const std::size_t n = std::min(J.size(), E.size());
  double sx = 0, sy = 0;
  int count = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (E[i] >= eC / 10 && E[i] <= eC * 10) {
      sx += std::log10(J[i]);
      sy += std::log10(E[i]);
      ++count;
    }
  if (count < 3) return NAN;
  const double mx = sx / count, my = sy / count;
  double sxy = 0, sxx = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (E[i] >= eC / 10 && E[i] <= eC * 10) {
      const double dx = std::log10(J[i]) - mx;
      sxy += dx * (std::log10(E[i]) - my);
      sxx += dx * dx;
    }
  return sxx > 0 ? sxy / sxx : NAN;
}

}  // namespace zx
