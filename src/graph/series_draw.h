// Drawing of one series: markers at the points inside the plot range and
// segments between consecutive points, clipped to the plot range.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "graph/axes.h"
#include "graph/canvas.h"
#include "model/project.h"

namespace zx {

// Pen style of a line pattern (None, never drawn, maps to solid).
PenStyle LineStyleOf(LinePattern pattern);

// Draws the series' marker, of half-size MarkerSize, at `at`; None draws
// nothing.
void DrawMarker(Canvas& c, const GraphView& g, const SeriesEntry& s, IntPoint at);

// A point in axis coordinates.
struct AxisPoint {
  double x = 0, y = 0;
};
struct AxisBox {
  double lx = 0, hx = 0, ly = 0, hy = 0;
  bool Contains(AxisPoint p) const { return lx <= p.x && p.x <= hx && ly <= p.y && p.y <= hy; }
};
// The part of the segment from p to q that is drawn: both ends inside gives
// the segment itself, one end inside gives that end and the point where the
// segment leaves the box, both outside gives nothing.
struct ClippedSegment {
  AxisPoint from, to;
};
std::optional<ClippedSegment> ClipSegment(const AxisBox& box, AxisPoint p, AxisPoint q);

// Reads the series file again (the scan of this paint set PointCount) and
// draws it. False when the file cannot be read; false with *outOfMemory set
// when the point arrays cannot be reserved.
bool DrawSeries(Canvas& c, const GraphView& g, const SeriesEntry& s, bool* outOfMemory = nullptr);

// Draws points held in memory as DrawSeries draws a file's points; the line
// style None leaves the points unjoined.
void DrawPoints(Canvas& c, const GraphView& g, const SeriesEntry& s, std::span<const double> xs,
                std::span<const double> ys);

// Shown when the points of a series do not fit in memory.
extern const char kOutOfMemoryMessage[];

}  // namespace zx
