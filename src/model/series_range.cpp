#include "model/series_range.h"

#include "model/project.h"

namespace zx {

void MergeSeriesRange(GraphView& g, const SeriesEntry& s) {
  if (!g.RangeValid) {
    g.XLow = s.SeriesXMin;
    g.XHigh = s.SeriesXMax;
    g.YLow = s.SeriesYMin;
    g.YHigh = s.SeriesYMax;
    g.RangeValid = true;
    return;
  }
  if (g.XLow > s.SeriesXMin) g.XLow = s.SeriesXMin;
  if (!(g.XHigh >= s.SeriesXMax)) g.XHigh = s.SeriesXMax;
  if (g.YLow > s.SeriesYMin) g.YLow = s.SeriesYMin;
  if (!(g.YHigh >= s.SeriesYMax)) g.YHigh = s.SeriesYMax;
}

void ApplyManualRanges(GraphView& g) {
  if (!g.XAutoScale) {
    g.XLow = g.XMin;
    g.XHigh = g.XMax;
  }
  if (!g.YAutoScale) {
    g.YLow = g.YMin;
    g.YHigh = g.YMax;
  }
}

void ClearDataRange(GraphView& g) {
  const GraphView fresh;
  g.XLow = fresh.XLow;
  g.XHigh = fresh.XHigh;
  g.YLow = fresh.YLow;
  g.YHigh = fresh.YHigh;
  g.XStep = fresh.XStep;
  g.YStep = fresh.YStep;
  g.XScaleValid = g.YScaleValid = false;
  g.RangeValid = false;
}

}  // namespace zx
