#include "fit/fit_data.h"

#include <cmath>
#include <utility>

#include "model/param_table.h"
#include "model/series_file.h"
#include "model/settings_keys.h"

namespace zx {

int FitInput::UsedPoints() const {
  int n = 0;
  for (const ConditionData& c : conditions) n += static_cast<int>(c.x.size());
  return n;
}

std::string NonFiniteFitSetting(const FitInput& input) {
  Project p;
  p.Params = input.params;
  p.Settings = input.settings;
  // Every number the fit reads: the parameters with their ranges, the
  // sample's constants, the criterion and the J range.
  std::vector<const double*> read = {&p.Params.Rho_n_0, &p.Params.Re_Zeta, &p.Params.Thickness,
                                     &p.Params.E_c,     &p.Settings.JIni,  &p.Settings.JFin};
  for (const ParamRow& r : ParamTable()) {
    read.push_back(&(p.Params.*r.value));
    if (!HasStoredRange(r)) continue;
    read.push_back(&(p.Settings.*r.minimum));
    read.push_back(&(p.Settings.*r.maximum));
  }
  return FirstNonFiniteKey(p, read);
}

FitInput TakeFitInput(const Project& p) {
  FitInput in;
  // A mode number outside the two is drawn and calculated as E-J.
  in.mode = p.Settings.Mode == CalcMode::JcB ? CalcMode::JcB : CalcMode::EJ;
  in.params = p.Params;
  in.settings = p.Settings;
  // Logarithmic axes make the reader drop values <= 0.
  GraphView logView;
  logView.X.Type = logView.Y.Type = AxisScale::Log;
  for (const CalcCondEntry& cond : p.CalcConds.items) {
    ConditionData c;
    c.no = cond.No;
    c.temp = cond.Temp;
    c.field = in.mode == CalcMode::EJ ? cond.MagField : 0.0;
    const RegistryEntry* file = p.DataFiles.Find(cond.RelatedDatFileNo);
    // A data series reads the first two columns.
    SeriesEntry s;
    if (file) s = MakeDataSeries(file->No, file->Path);
    if (!file) {
      c.status = DataStatus::NoDataFile;
    } else if (LeftOutLines leftOut; !ReadSeriesFile(logView, s, &c.x, &c.y, &leftOut)) {
      c.status = DataStatus::Unreadable;
    } else {
      c.status = c.x.empty() ? DataStatus::NoPoints : DataStatus::Used;
      c.leftOutNotPositive = leftOut.notPositive;
      c.leftOutNotFinite = leftOut.notFinite;
    }
    if (c.status != DataStatus::Used) c.x.clear(), c.y.clear();
    in.conditions.push_back(std::move(c));
  }
  return in;
}

void AddDroppedLinesWarning(const FitInput& input, FitOutcome& outcome) {
  FitWarning w{FitWarningKind::DroppedLines, {}, {}, {}};
  for (const ConditionData& c : input.conditions) {
    const std::pair<int, DropReason> counts[] = {{c.leftOutNotPositive, DropReason::NotPositive},
                                                 {c.leftOutNotFinite, DropReason::NotFinite}};
    for (const auto& [count, reason] : counts) {
      if (count == 0) continue;
      w.conditions.emplace_back(c.no, count);
      w.reasons.push_back(reason);
    }
  }
  if (!w.conditions.empty()) outcome.warnings.insert(outcome.warnings.begin(), std::move(w));
}

}  // namespace zx
