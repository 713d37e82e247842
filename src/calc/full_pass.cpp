#include "calc/full_pass.h"

#include <algorithm>

#include "calc/condition_curve.h"
#include "calc/grid.h"
#include "calc/result_file.h"

namespace zx {

namespace {

// The conditions of data file `no`, highest No first.
std::vector<const CalcCondEntry*> ConditionsOf(const FullCalcInput& in, int no) {
  std::vector<const CalcCondEntry*> conds;
  for (auto it = in.conditions.rbegin(); it != in.conditions.rend(); ++it)
    if (it->RelatedDatFileNo == no) conds.push_back(&*it);
  return conds;
}

}  // namespace

FullCalcInput TakeFullCalcInput(const Project& p) {
  FullCalcInput in;
  in.params = p.Params;
  in.settings = p.Settings;
  in.conditions = p.CalcConds.items;
  in.dataSeriesCount = p.DataSeries.Count();
  return in;
}

FullCalcOutcome RunFullCalculation(const FullCalcInput& in, const FullCalcHooks& hooks) {
  FullCalcOutcome outcome;
  const int count = GridPointCount(in.settings);
  // The grid does not depend on the data file: every condition shares it.
  const std::vector<double> grid = BuildGrid(in.settings, count);
  const long long points = static_cast<long long>(grid.size());

  FullCalcProgress progress;
  if (count != 0) {
    for (const CalcCondEntry& c : in.conditions)
      if (c.RelatedDatFileNo >= 0 && c.RelatedDatFileNo < in.dataSeriesCount)
        ++progress.conditionsTotal;
  }
  progress.pointsTotal = progress.conditionsTotal * points;
  const auto report = [&] {
    if (hooks.progress) hooks.progress(progress);
  };
  const auto pointDone = [&] {
    ++progress.pointsDone;
    report();
  };

  std::vector<double> values(grid.size());
  for (int r = 0; r < in.dataSeriesCount && count != 0; ++r) {
    bool skipRest = false;
    for (const CalcCondEntry* cond : ConditionsOf(in, r)) {
      if (hooks.cancel && hooks.cancel->load()) {
        outcome.cancelled = true;
        return outcome;
      }
      if (!skipRest) {
        ModelParams work = in.params;
        EvaluateConditionCurve(work, in.settings, *cond, grid, values, pointDone);
        if (WriteResultFile(cond->OutpFilePath, work, grid, values)) {
          ++outcome.filesWritten;
          if (hooks.fileWritten) hooks.fileWritten(*cond, static_cast<int>(points));
        } else {
          ++outcome.filesFailed;
          skipRest = true;
          if (hooks.writeFailed) hooks.writeFailed(kResultFileFailedText, cond->OutpFilePath);
        }
      } else {
        progress.pointsDone += points;
      }
      ++progress.conditionsDone;
      report();
    }
  }
  return outcome;
}

}  // namespace zx
