// Fixed-point numbers in messages without a "-0.000".
#pragma once

#include <cmath>

namespace zx {

// The value to write with `decimals` fixed decimals: 0 when it rounds to
// zero there, so that a tiny negative value shows as 0.000, never -0.000.
inline double UnsignedWhenZero(double value, int decimals) {
  return std::round(value * std::pow(10.0, decimals)) == 0.0 ? 0.0 : value;
}

}  // namespace zx
