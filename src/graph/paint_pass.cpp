#include "graph/paint_pass.h"

#include <filesystem>
#include <system_error>

#include "graph/series_draw.h"
#include "model/series_file.h"
#include "model/series_range.h"

namespace zx {

bool ScanSeriesList(GraphView& g, SeriesList& list) {
  bool any = false;
  for (SeriesEntry& s : list.items) {
    if (ScanSeriesFile(g, s)) any = true;
  }
  return any;
}

PaintResult PaintGraph(Project& p, Canvas& c, const PaintHooks& hooks) {
  PaintResult result;
  GraphView& g = p.View;
  if (p.DataSeries.Empty()) {
    DrawEmptyGraph(c, g);
    return result;
  }
  result.hadData = hooks.runPreview ? hooks.runPreview(p) : ScanSeriesList(g, p.DataSeries);
  if (ScanSeriesList(g, p.CurveSeries)) result.hadData = true;
  ApplyManualRanges(g);
  if (!result.hadData) {
    DrawEmptyGraph(c, g);
    return result;
  }
  DrawAxes(c, g, hooks.warn);
  for (const SeriesEntry& s : p.DataSeries.items) {
    DrawSeries(c, g, s, &result.outOfMemory);
    if (result.outOfMemory) return result;
  }
  for (const SeriesEntry& s : p.CurveSeries.items) {
    DrawSeries(c, g, s, &result.outOfMemory);
    if (result.outOfMemory) return result;
    // Curve files live for one paint only.
    std::error_code ec;
    std::filesystem::remove(s.Path, ec);
  }
  return result;
}

}  // namespace zx
