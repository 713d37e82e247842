// One paint of the whole graph, in the order the main window paints it.
#pragma once

#include <functional>

#include "graph/axes.h"
#include "graph/canvas.h"
#include "model/project.h"
#include "model/view_state.h"

namespace zx {

struct PaintHooks {
  // The preview calculation: scans every data series (and writes the curve
  // files of the conditions). Returns whether any data series was scanned.
  // When empty, the paint scans the data series itself.
  std::function<bool(const Project&, ViewState&)> runPreview;
  // Range warnings of the axis check, to be shown after the paint.
  WarningSink warn;
};

struct PaintResult {
  bool hadData = false;      // at least one series file was scanned
  bool outOfMemory = false;  // the point arrays could not be reserved
};

// Scans every series of the list in ascending No; true when any was scanned.
// A file too large to show is reported to `warn`.
bool ScanSeriesList(GraphView& g, SeriesList& list, const WarningSink& warn = {});

// Draws the graph of the project with the series and ranges of `v`, which
// the paint updates. Each curve file is deleted once drawn; every file is
// read once, and its points are let go when the paint ends. After
// outOfMemory the drawing stops; the caller reports it and ends.
PaintResult PaintGraph(const Project& p, ViewState& v, Canvas& c, const PaintHooks& hooks);

}  // namespace zx
