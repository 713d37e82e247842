#include "graph/paint_pass.h"

#include <filesystem>
#include <system_error>

#include "graph/series_draw.h"
#include "model/series_file.h"
#include "model/series_range.h"

namespace zx {

bool ScanSeriesList(GraphView& g, SeriesList& list, const WarningSink& warn) {
  bool any = false;
  for (SeriesEntry& s : list.items) {
    const SeriesRead read = ScanSeries(g, s);
    if (read == SeriesRead::Ok) any = true;
    if (read == SeriesRead::TooLarge && warn) warn(kSeriesTooLargeText);
  }
  return any;
}

namespace {

// The points a paint keeps in memory live as long as the paint.
struct ScannedPointsScope {
  ViewState& v;
  ~ScannedPointsScope() {
    DropScannedPoints(v.DataSeries);
    DropScannedPoints(v.CurveSeries);
  }
};

}  // namespace

PaintResult PaintGraph(const Project& p, ViewState& v, Canvas& c, const PaintHooks& hooks) {
  PaintResult result;
  GraphView& g = v.View;
  TakeAxisSettings(g, p);
  const ScannedPointsScope scope{v};
  if (v.DataSeries.Empty()) {
    DrawEmptyGraph(c, g);
    return result;
  }
  result.hadData =
      hooks.runPreview ? hooks.runPreview(p, v) : ScanSeriesList(g, v.DataSeries, hooks.warn);
  if (ScanSeriesList(g, v.CurveSeries, hooks.warn)) result.hadData = true;
  // Without a single point there is nothing to fit the axes to: the range
  // of an earlier project would otherwise be rounded outward on every paint.
  if (!g.RangeValid) ClearDataRange(g);
  ApplyManualRanges(g);
  if (!result.hadData || !g.RangeValid) {
    DrawEmptyGraph(c, g);
    return result;
  }
  DrawAxes(c, g, hooks.warn);
  for (const SeriesEntry& s : v.DataSeries.items) {
    DrawSeries(c, g, s, &result.outOfMemory);
    if (result.outOfMemory) return result;
  }
  for (const SeriesEntry& s : v.CurveSeries.items) {
    DrawSeries(c, g, s, &result.outOfMemory);
    if (result.outOfMemory) return result;
    // Curve files live for one paint only.
    std::error_code ec;
    std::filesystem::remove(s.Path, ec);
  }
  return result;
}

}  // namespace zx
