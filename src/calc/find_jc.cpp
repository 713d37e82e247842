#include "calc/find_jc.h"

#include "calc/model.h"
#include "numeric/roots.h"

namespace zx {

double FindJc(const ModelParams& p, double T, double B, double jLo, double jHi, double eLo,
              double eHi) {
  RootSearch s;
  s.rule = RootRule::GeometricHalvingToValue;
  s.target = p.E_c;
  s.tolerance = p.E_cAllowableError;
  s.maxSteps = kMaxJcHalvings;
  return FindRoot([&](double j) { return ModelE(p, j, T, B); }, jLo, jHi, eLo, eHi, s);
}

}  // namespace zx
