// Physical constants of the creep-flow model, shared by the reference and
// the cached kernel so that both read exactly the same values.
#pragma once

#include <cmath>

namespace zx::physics {

// Rounded values, not full precision: the result files have always been
// computed with these, and a curve must come out digit for digit as in a
// file written before (full-precision constants move the last digits).
inline constexpr double kPi = 3.141592654;
inline constexpr double kBoltzmann = 1.380662e-23;  // J/K
inline constexpr double kFluxQuantum = 2.0679e-15;  // Wb
inline const double kMu0 = 4.0 * kPi * std::pow(10, -7);
inline constexpr double kBulkPotentialCoefficient = 0.835;
inline constexpr double kThinPotentialCoefficient = 4.23;
inline const double kLn10 = std::log(10.0);

}  // namespace zx::physics
