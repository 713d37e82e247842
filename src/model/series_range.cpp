#include "model/series_range.h"

#include "model/project.h"

namespace zx {

void MergeSeriesRange(GraphView& g, const SeriesEntry& s) {
  if (!g.RangeValid) {
    g.X.Low = s.SeriesXMin;
    g.X.High = s.SeriesXMax;
    g.Y.Low = s.SeriesYMin;
    g.Y.High = s.SeriesYMax;
    g.RangeValid = true;
    return;
  }
  if (g.X.Low > s.SeriesXMin) g.X.Low = s.SeriesXMin;
  if (!(g.X.High >= s.SeriesXMax)) g.X.High = s.SeriesXMax;
  if (g.Y.Low > s.SeriesYMin) g.Y.Low = s.SeriesYMin;
  if (!(g.Y.High >= s.SeriesYMax)) g.Y.High = s.SeriesYMax;
}

void ApplyManualRanges(GraphView& g) {
  for (AxisView* a : {&g.X, &g.Y}) {
    if (a->AutoScale) continue;
    a->Low = a->Min;
    a->High = a->Max;
  }
}

void ClearDataRange(GraphView& g) {
  const AxisView fresh;
  for (AxisView* a : {&g.X, &g.Y}) {
    a->Low = fresh.Low;
    a->High = fresh.High;
    a->Step = fresh.Step;
    a->ScaleValid = false;
  }
  g.RangeValid = false;
}

}  // namespace zx
