// Whether a file about to be registered as a data file looks like a raw
// measurement table rather than the two columns the graph reads.
#pragma once

#include <string>

#include "model/graph_view.h"

namespace zx {

struct RawDataCheck {
  bool readable = false;
  int contentLines = 0;        // lines that are neither comments nor blank
  int points = 0;              // lines that give a point on the graph's axes
  int increasingSteps = 0;     // consecutive points whose x grows
  bool fewPoints = false;      // points from fewer than half of the content lines
  bool notIncreasing = false;  // x grows from point to point in at most half of the steps
  // Rows of three or more numbers (a logger's time, channels and
  // temperatures), or a first column named as a time.
  int numericColumns = 0;
  bool manyColumns = false;
  bool timeFirst = false;
  bool LooksRaw() const { return fewPoints || notIncreasing || manyColumns || timeFirst; }
  int LinesWithoutPoint() const { return contentLines - points; }
};

// Reads the file with the data-file rules of the graph g (comment marks,
// columns 0 and 1, logarithmic axes).
RawDataCheck CheckDataFileLooksRaw(const GraphView& g, const std::string& path);

}  // namespace zx
