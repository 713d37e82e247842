// A small graph of point sets held in memory (the import preview): the range
// is fitted to the points, then axes and sets are drawn as the main graph
// draws its series.
#pragma once

#include <vector>

#include "graph/axes.h"
#include "graph/canvas.h"
#include "model/project.h"

namespace zx {

struct PointSet {
  std::vector<double> x, y;
  SeriesEntry style;  // marker, colours and line style; the rest is unused
};

// Fits g's range to the points that the axis types can show and draws.
// Without any such point only the empty graph is drawn (false).
bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const WarningSink& warn = {});

}  // namespace zx
