// The part of a transition the power law carries. Below many transitions the
// voltage creeps up slowly and nearly linearly (current sharing, a warm
// joint); those points pull a fitted n far down and are left out.
#pragma once

#include <cstddef>
#include <vector>

namespace zx {

// run: positions of the transition's points by falling current, above the
// floor. E is modelled as A·J^n + b + c·J (power law plus a line rising from
// a current above zero, relative least squares, n scanned); when the line
// improves the fit
// clearly, the run ends at the first point where that part exceeds a fifth
// of the power law and the noise level `sigma` (V/m). The number of points
// of the run kept, at least kMinPowerLawPoints (or the whole run).
std::size_t PowerLawPart(const std::vector<double>& j, const std::vector<double>& e,
                         const std::vector<std::size_t>& run, double sigma);

inline constexpr std::size_t kMinPowerLawPoints = 5;

}  // namespace zx
