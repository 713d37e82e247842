// The graph's data range: merged from scanned series, overridden by the
// manual limits of an axis without automatic scaling.
#pragma once

#include "model/graph_view.h"

namespace zx {

struct SeriesEntry;

// The first series after the range was cleared sets it; later ones widen it.
void MergeSeriesRange(GraphView& g, const SeriesEntry& s);
void ApplyManualRanges(GraphView& g);
// The range of a new project: nothing taken, no ticks.
void ClearDataRange(GraphView& g);

}  // namespace zx
