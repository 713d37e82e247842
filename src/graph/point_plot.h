// Small graphs of point sets held in memory (the fit window's plots, the
// import preview): the range is fitted to the points, then axes and sets
// are drawn as the main graph draws its series.
#pragma once

#include <vector>

#include "graph/axes.h"
#include "graph/canvas.h"
#include "model/project.h"

namespace zx {

struct PointSet {
  SeriesEntry style;  // marker, colours and line style; the rest is unused
  std::vector<double> x, y;
};

// A band's fill: its curve's colour, three quarters towards white.
Rgb BandFill(Rgb curve);

// A filled band between two curves over the same abscissae (a confidence
// band), drawn under the point sets and left out of the range.
struct PointBand {
  Rgb fill;
  std::vector<double> x, lower, upper;
};

// Markers without a line.
SeriesEntry MarkersOnly(Rgb color, int size = 3, MarkerShape marker = MarkerShape::FilledCircle);
// A line without markers.
SeriesEntry LineOnly(Rgb color, LinePattern pattern = LinePattern::Solid, int width = 1);

// Fits g's range to the points that the axis types can show and draws.
// A point an axis cannot show (not finite, or <= 0 on a logarithmic axis)
// is left out and breaks the set's line. Without any point to show only the
// empty graph is drawn (false).
bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const WarningSink& warn = {});
// The same with bands under the sets; a band is cut where an axis cannot
// show it and kept inside the plot area.
bool DrawPointSets(Canvas& c, GraphView& g, const std::vector<PointSet>& sets,
                   const std::vector<PointBand>& bands, const WarningSink& warn = {});

}  // namespace zx
