// Reading series files: measured data files and computed-curve files.
#pragma once

#include <vector>

#include "model/graph_view.h"
#include "model/project.h"

namespace zx {

// Counts the accepted points, stores their extents and merges them into
// the graph's range. False (series unchanged) when the file cannot be read.
bool ScanSeriesFile(GraphView& g, SeriesEntry& s);
// Accepted points in file order; either array may be null.
bool ReadSeriesFile(const GraphView& g, const SeriesEntry& s, std::vector<double>* x,
                    std::vector<double>* y);

}  // namespace zx
