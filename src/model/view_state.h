// What only the screen needs of a project: the graph with its effective
// ranges and the flags of automatic scaling, one series per registry entry
// with the extents and points of the last scan, and the correlation
// coefficients of the last preview. The window and the command line own
// one each; nothing here is saved.
#pragma once

#include <cstdint>
#include <vector>

#include "model/graph_view.h"
#include "model/project.h"

namespace zx {

// A condition's coefficient, with the condition it was computed for, so that
// it follows the condition when the numbers below it are deleted.
struct CorrCoefEntry {
  std::uint64_t Uid = 0;
  double Value = 0.0;
};

struct ViewState {
  GraphView View;
  SeriesList DataSeries;
  SeriesList CurveSeries;
  std::vector<CorrCoefEntry> CorrCoefs;  // by condition number
  // The document's refit requests this view has followed.
  std::uint64_t RefitsFollowed = 0;
};

// The view state of a project as a load leaves it: the axes of its mode,
// one series per registry entry, and a refit at the next paint.
ViewState MakeViewState(const Project& p);
// One series per registry entry, in number order.
void RebuildSeriesLists(ViewState& v, const Project& p);
// The saved axis settings (scale, automatic or manual range), taken before
// each paint.
void TakeAxisSettings(GraphView& g, const Project& p);

// The coefficient of condition `c` from the last preview (0 when none).
double CorrCoefOf(const ViewState& v, const RegistryEntry& c);
void SetCorrCoef(ViewState& v, const RegistryEntry& c, double value);
// Forgets the coefficient of `c` (its condition changed).
void ClearCorrCoef(ViewState& v, const RegistryEntry& c);

}  // namespace zx
