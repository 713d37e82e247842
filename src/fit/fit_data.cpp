#include "fit/fit_data.h"

#include "model/series_file.h"

namespace zx {

int FitInput::UsedPoints() const {
  int n = 0;
  for (const ConditionData& c : conditions) n += static_cast<int>(c.x.size());
  return n;
}

FitInput TakeFitInput(const Project& p) {
  FitInput in;
  // A mode number outside the two is drawn and calculated as E-J.
  in.mode = p.Settings.Mode == CalcMode::JcB ? CalcMode::JcB : CalcMode::EJ;
  in.params = p.Params;
  in.settings = p.Settings;
  // Logarithmic axes make the reader drop values <= 0.
  GraphView logView = p.View;
  logView.X.Type = logView.Y.Type = AxisScale::Log;
  for (const CalcCondEntry& cond : p.CalcConds.items) {
    ConditionData c;
    c.no = cond.No;
    c.temp = cond.Temp;
    c.field = in.mode == CalcMode::EJ ? cond.MagField : 0.0;
    const RegistryEntry* file = p.DataFiles.Find(cond.RelatedDatFileNo);
    const SeriesEntry* series = p.DataSeries.Find(cond.RelatedDatFileNo);
    // The series carries the columns to read; the registry the path.
    SeriesEntry s = series ? *series : SeriesEntry{};
    if (file) s.Path = file->Path;
    if (!file) {
      c.status = DataStatus::NoDataFile;
    } else if (!ReadSeriesFile(logView, s, &c.x, &c.y)) {
      c.status = DataStatus::Unreadable;
    } else {
      c.status = c.x.empty() ? DataStatus::NoPoints : DataStatus::Used;
    }
    if (c.status != DataStatus::Used) c.x.clear(), c.y.clear();
    in.conditions.push_back(std::move(c));
  }
  return in;
}

}  // namespace zx
