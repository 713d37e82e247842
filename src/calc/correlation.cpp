#include "calc/correlation.h"

#include <cmath>

#include "model/format.h"

namespace zx {

std::string CorrCoefText(double r) {
  if (std::isnan(r)) return "nan";
  if (std::isinf(r)) return r < 0 ? "-inf" : "inf";
  return FormatFixed(r, 6);
}

}  // namespace zx
