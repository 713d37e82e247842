// The model's critical current density and n value at a criterion field.
#pragma once

#include "model/project.h"

namespace zx {

// The J at which the model's E (at T, B) equals eC, within relTol relative
// in J. The search starts between jLo and jHi and widens by decades when
// they do not bracket the criterion. NaN when no J in 1e-10 .. 1e25 A/m^2
// reaches it. evaluations (may be null) counts the model calls. A hint
// (a Jc near the answer, e.g. at nearby parameters) replaces the range by
// a narrow bracket around it, which saves most of the search.
double ModelJc(const ModelParams& p, double T, double B, double eC, double relTol, double jLo,
               double jHi, long long* evaluations = nullptr, double hint = 0.0);

// d log10 E / d log10 J of the model at J (central difference).
double ModelN(const ModelParams& p, double J, double T, double B, long long* evaluations = nullptr);

}  // namespace zx
