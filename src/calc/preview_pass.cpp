#include "calc/preview_pass.h"

#include <cmath>
#include <vector>

#include "calc/condition_curve.h"
#include "calc/correlation.h"
#include "calc/result_file.h"
#include "calc/sampling.h"
#include "model/series_file.h"

namespace zx {

namespace {

// The conditions of data file `no`, newest (highest No) first.
std::vector<CalcCondEntry*> ConditionsOf(Project& p, int no) {
  std::vector<CalcCondEntry*> conds;
  for (int k = p.CalcConds.HeadNo(); k >= 0; --k) {
    CalcCondEntry* c = p.CalcConds.Find(k);
    if (c->RelatedDatFileNo == no) conds.push_back(c);
  }
  return conds;
}

// Evaluates and writes the conditions of one scanned data file. False when
// a curve file could not be written (the remaining conditions are skipped).
bool PreviewDataFile(Project& p, const SeriesEntry& series, const PreviewHooks& hooks) {
  std::vector<double> x, y;
  if (!ReadSeriesFile(p.View, series, &x, &y)) return true;
  const std::vector<int> samples = SampleIndices(static_cast<int>(x.size()));
  const int n = static_cast<int>(samples.size());
  std::vector<double> sx(samples.size()), sy(samples.size()), values(samples.size());
  for (std::size_t k = 0; k < samples.size(); ++k) {
    sx[k] = x[static_cast<std::size_t>(samples[k])];
    sy[k] = y[static_cast<std::size_t>(samples[k])];
  }
  std::vector<double> logMeasured(samples.size()), logCalculated(samples.size());
  for (CalcCondEntry* cond : ConditionsOf(p, series.No)) {
    ModelParams work = p.Params;
    EvaluateConditionCurve(work, p.Settings, *cond, sx, values);
    if (!WriteResultFile(cond->Path, work, sx, values, ResultWrite::Scratch)) {
      if (hooks.warning) hooks.warning(kResultFileFailedText, cond->Path);
      return false;
    }
    for (std::size_t k = 0; k < samples.size(); ++k) {
      logMeasured[k] = std::log10(sy[k]);
      logCalculated[k] = std::log10(values[k]);
    }
    cond->CorrCoef = CorrelationCoefficient(logMeasured.data(), logCalculated.data(), n);
    if (hooks.showCorrCoef) hooks.showCorrCoef(cond->No, CorrCoefText(cond->CorrCoef));
  }
  return true;
}

}  // namespace

bool RunPreviewCalculation(Project& p, const PreviewHooks& hooks) {
  if (hooks.readPanelValues) hooks.readPanelValues(p);
  bool anyScanned = false;
  for (SeriesEntry& series : p.DataSeries.items) {
    if (!ScanSeriesFile(p.View, series)) continue;
    anyScanned = true;
    PreviewDataFile(p, series, hooks);
  }
  return anyScanned;
}

std::function<bool(Project&)> PreviewRunner(PreviewHooks hooks) {
  return [hooks = std::move(hooks)](Project& p) { return RunPreviewCalculation(p, hooks); };
}

}  // namespace zx
