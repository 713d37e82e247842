// What the two conversions of measured rows share: the check of the
// sample's cross-section and the tally of the points written and left out.
#pragma once

#include <vector>

#include "import/error.h"

namespace zx {

// A sample dimension the conversion can divide by.
bool PositiveLength(double v);
// Width, then thickness: the first that is no positive length, or None.
ImportError CheckSection(double width, double thickness);

struct KeptPoints {
  std::vector<char> kept;  // per converted point: written or not
  int keptCount = 0;
  int droppedCount = 0;
  // Tallies the next converted point.
  void Add(bool keep);
};

}  // namespace zx
