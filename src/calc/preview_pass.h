// The preview pass of every repaint: each calculation condition evaluated
// at a few abscissae of its data file, its temporary curve file and its
// correlation coefficient with the measured values.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "model/project.h"
#include "model/view_state.h"

namespace zx {

// Steps that belong to the windows; empty ones are skipped.
struct PreviewHooks {
  // Takes the parameter panel's entries into the project first.
  std::function<void()> readPanelValues;
  // The coefficient of condition `row` (= its No), as the list shows it.
  std::function<void(int row, const std::string& text)> showCorrCoef;
  // A curve file that cannot be written: the message and the file's path.
  std::function<void(const std::string& message, const std::string& path)> warning;
  // Threads evaluating the points; 0: every core. The hooks above are
  // called on the calling thread only.
  int threads = 0;
  // Points not begun by then are left out: their conditions get no curve
  // file and no coefficient, so that a repaint never takes long whatever
  // the project holds. None: no limit.
  std::optional<std::chrono::steady_clock::time_point> deadline;
  // Without a graph to draw, the coefficients need no curve files.
  bool writeCurveFiles = true;
};

// Scans every data series of `v` (merging their extents into its graph
// range; a file too large to show is reported to `warning`), writes the
// conditions' temporary curve files (the paths of their curve series) and
// sets their coefficients in `v`. Returns whether any data series could be scanned. Every data
// file is scanned and read first, then all points are evaluated side by
// side, then the files are written in the same order as one by one.
bool RunPreviewCalculation(const Project& p, ViewState& v, const PreviewHooks& hooks);

// The pass bound to its hooks, in the form the paint pass takes.
std::function<bool(const Project&, ViewState&)> PreviewRunner(PreviewHooks hooks);

}  // namespace zx
