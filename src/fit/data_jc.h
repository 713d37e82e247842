// Critical current density and n value read off measured E-J points.
#pragma once

#include <vector>

namespace zx {

// Log-log interpolation between the first two neighbouring points (in
// ascending J) whose E bracket eC; NaN when no pair does.
double DataJc(const std::vector<double>& J, const std::vector<double>& E, double eC);

// Least-squares slope of log10 E against log10 J over the points with
// eC/10 <= E <= 10 eC; NaN with fewer than three such points.
double DataN(const std::vector<double>& J, const std::vector<double>& E, double eC);

}  // namespace zx
