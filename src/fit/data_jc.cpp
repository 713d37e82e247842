#include "fit/data_jc.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "numeric/regression.h"

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
  std::vector<double> logJ, logE;
  for (std::size_t i = 0; i < n; ++i)
    if (E[i] >= eC / 10 && E[i] <= eC * 10) {
      logJ.push_back(std::log10(J[i]));
      logE.push_back(std::log10(E[i]));
    }
  if (logJ.size() < 3) return NAN;
  const LineFit line = FitLine(logJ.data(), logE.data(), logJ.size());
  return line.level ? NAN : line.slope;
}

}  // namespace zx
