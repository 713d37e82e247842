#include "calc/grid.h"

#include <algorithm>
#include <cmath>

namespace zx {

int ClampStepLevel(int level) { return std::clamp(level, 1, 10); }

int GridPointCount(const CalcSettings& s) {
  double span;
  if (s.Mode == CalcMode::JcB) {
    span = (s.BFin - s.BIni) * StepsPerUnit[ClampStepLevel(s.BStepLevel)];
  } else {
    span = (std::log10(s.JFin) - std::log10(s.JIni)) * StepsPerUnit[ClampStepLevel(s.JStepLevel)];
  }
  const double count = std::trunc(span) + 1;
  // Converting a non-finite or huge value to int is undefined.
  if (!std::isfinite(count) || count > static_cast<double>(kMaxGridPoints)) return 0;
  if (count < -static_cast<double>(kMaxGridPoints)) return -1;
  return static_cast<int>(count);
}

std::vector<double> BuildGrid(const CalcSettings& s, int count) {
  std::vector<double> grid;
  if (count <= 0) return grid;
  grid.resize(static_cast<std::size_t>(count));
  if (s.Mode == CalcMode::JcB) {
    const double steps = StepsPerUnit[ClampStepLevel(s.BStepLevel)];
    for (int k = 0; k < count; ++k) grid[static_cast<std::size_t>(k)] = k / steps + s.BIni;
  } else {
    const double steps = StepsPerUnit[ClampStepLevel(s.JStepLevel)];
    for (int k = 0; k < count; ++k)
      grid[static_cast<std::size_t>(k)] = std::pow(10, k / steps) * s.JIni;
  }
  return grid;
}

}  // namespace zx
