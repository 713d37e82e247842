// The points where the model has a value: below Tc, below Bc2(T), at a
// field above 0 and with a finite model value at the given parameters.
#pragma once

#include <utility>
#include <vector>

#include "fit/fit_data.h"

namespace zx {

// The input with only those points; `leftOut` gets (condition No, points
// left out) for every condition that lost any.
FitInput UsablePoints(const FitInput& input, std::vector<std::pair<int, int>>& leftOut);

}  // namespace zx
