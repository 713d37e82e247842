#include "numeric/median.h"

#include <algorithm>
#include <cmath>

namespace zx {

double Median(std::vector<double> v, EvenMedian even) {
  if (v.empty()) return NAN;
  const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), mid, v.end());
  const double upper = *mid;
  if (even == EvenMedian::Upper || v.size() % 2 != 0) return upper;
  // nth_element leaves the lower half before mid: its largest is the other middle value.
  return (upper + *std::max_element(v.begin(), mid)) / 2;
}

}  // namespace zx
