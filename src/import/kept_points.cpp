#include "import/kept_points.h"

#include <cmath>

namespace zx {

bool PositiveLength(double v) { return std::isfinite(v) && v > 0.0; }

ImportError CheckSection(double width, double thickness) {
  if (!PositiveLength(width)) return ImportError::Width;
  if (!PositiveLength(thickness)) return ImportError::Thickness;
  return ImportError::None;
}

void KeptPoints::Add(bool keep) {
  kept.push_back(keep ? 1 : 0);
  if (keep)
    ++keptCount;
  else
    ++droppedCount;
}

}  // namespace zx
