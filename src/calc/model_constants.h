// Constants and scaling-law helpers shared by the reference model and the
// cached kernel, so that both read exactly the same values.
#pragma once

#include <cmath>

#include "model/project.h"

namespace zx::model_detail {

// The constants carry exactly these values (not the library's full-precision
// ones) so that curves agree with earlier results.
inline constexpr double kPi = 3.141592654;
inline constexpr double kBoltzmann = 1.380662e-23;  // J/K
inline constexpr double kFluxQuantum = 2.0679e-15;  // Wb
inline const double kMu0 = 4.0 * kPi * std::pow(10, -7);
inline constexpr double kBulkPotentialCoefficient = 0.835;
inline constexpr double kThinPotentialCoefficient = 4.23;
inline const double kLn10 = std::log(10.0);

// Exponent of the normalised temperature / field in the scaling law.
inline double TemperatureOrder(const ModelParams& p) { return p.Tcn == 0 ? 1.0 : 2.0; }
inline double FieldOrder(const ModelParams& p) { return p.Bcn == 0 ? 1.0 : 2.0; }

}  // namespace zx::model_detail
