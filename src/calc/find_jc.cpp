#include "calc/find_jc.h"

#include <cmath>

#include "calc/model.h"

namespace zx {

double FindJc(const ModelParams& p, double T, double B, double jLo, double jHi, double eLo,
              double eHi) {
  double jMid = 0;
  for (int halving = 0; halving < kMaxJcHalvings; ++halving) {
    jMid = std::pow(10, (std::log10(jLo) + std::log10(jHi)) / 2);
    const double e = ModelE(p, jMid, T, B);
    if (std::fabs(p.E_c - e) < p.E_c * p.E_cAllowableError / 100) return jMid;
    if (eLo <= p.E_c && e >= p.E_c) {
      jHi = jMid;
      eHi = e;
    } else if (e < p.E_c && eHi >= p.E_c) {
      jLo = jMid;
      eLo = e;
    } else {
      return 1.0;  // E_c lies outside [E(jLo), E(jHi)]
    }
  }
  // A tolerance of 0, or one finer than double precision, is never met.
  return jMid;
}

}  // namespace zx
