// The model's critical current density, the J at which its E (at T, B)
// meets a criterion field, and its n value there. Both Jc searches find the
// root on a bracket with FindRoot; they differ in the stopping rule.
#pragma once

#include "model/project.h"

namespace zx {

// The result files' Jc: bisection on log J between jLo and jHi (eLo =
// E(jLo), eHi = E(jHi)) toward E_c. Returns the first geometric midpoint
// whose E lies within E_cAllowableError percent of E_c, 1.0 when the
// criterion is not bracketed, and the last midpoint when the tolerance is
// not met after kMaxJcHalvings halvings. The files depend on exactly these
// steps.
inline constexpr int kMaxJcHalvings = 200;
double FindJc(const ModelParams& p, double T, double B, double jLo, double jHi, double eLo,
              double eHi);

// The fit's Jc: the J at which E equals eC, within relTol relative in J
// (Illinois false position on log J). The search starts between jLo and
// jHi and widens by decades when they do not bracket the criterion. NaN
// when no J in 1e-10 .. 1e25 A/m^2 reaches it. evaluations (may be null)
// counts the model calls. A hint (a Jc near the answer, e.g. at nearby
// parameters) replaces the range by a narrow bracket around it, which
// saves most of the search.
double ModelJc(const ModelParams& p, double T, double B, double eC, double relTol, double jLo,
               double jHi, long long* evaluations = nullptr, double hint = 0.0);

// d log10 E / d log10 J of the model at J (central difference).
double ModelN(const ModelParams& p, double J, double T, double B, long long* evaluations = nullptr);

}  // namespace zx
