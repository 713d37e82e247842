// The correlation coefficient of a calculation condition.
#pragma once

#include <string>

#include "numeric/regression.h"

namespace zx {

// The coefficient as the calculation-condition list shows it: six
// decimals; "nan" / "inf" for values that are not numbers.
std::string CorrCoefText(double r);

}  // namespace zx
