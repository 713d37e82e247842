// The critical current density: the J at which the model's field meets
// the criterion E_c.
#pragma once

#include "model/project.h"

namespace zx {

// Bisection on log J between jLo and jHi (eLo = E(jLo), eHi = E(jHi)) at
// temperature T and field B. Returns the first geometric midpoint whose E
// lies within E_cAllowableError percent of E_c, 1.0 when the criterion is
// not bracketed, and the last midpoint when the tolerance is not met after
// kMaxJcHalvings halvings.
inline constexpr int kMaxJcHalvings = 200;
double FindJc(const ModelParams& p, double T, double B, double jLo, double jHi, double eLo,
              double eHi);

}  // namespace zx
