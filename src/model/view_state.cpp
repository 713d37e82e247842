#include "model/view_state.h"

#include <utility>

namespace zx {

ViewState MakeViewState(const Project& p) {
  ViewState v;
  ApplyModeAxes(v.View, p.Settings.Mode);
  TakeAxisSettings(v.View, p);
  RebuildSeriesLists(v, p);
  RequestRefit(v.View);
  return v;
}

void RebuildSeriesLists(ViewState& v, const Project& p) {
  v.DataSeries.items.clear();
  v.CurveSeries.items.clear();
  for (const RegistryEntry& e : p.DataFiles.items)
    v.DataSeries.Add(MakeDataSeries(v.DataSeries.HeadNo() + 1, e.Path));
  for (const RegistryEntry& e : p.CalcConds.items)
    v.CurveSeries.Add(MakeCurveSeries(v.CurveSeries.HeadNo() + 1, e.RelatedDatFileNo, e.Path));
}

void TakeAxisSettings(GraphView& g, const Project& p) {
  for (auto [to, from] : {std::pair{&g.X, &p.Axes.X}, std::pair{&g.Y, &p.Axes.Y}}) {
    to->Type = from->type;
    to->AutoScale = from->autoScale;
    to->Min = from->min;
    to->Max = from->max;
  }
}

double CorrCoefOf(const ViewState& v, const RegistryEntry& c) {
  const auto no = static_cast<std::size_t>(c.No);
  if (c.No >= 0 && no < v.CorrCoefs.size() && v.CorrCoefs[no].Uid == c.Uid)
    return v.CorrCoefs[no].Value;
  if (c.Uid != 0)
    for (const CorrCoefEntry& e : v.CorrCoefs)
      if (e.Uid == c.Uid) return e.Value;
  return 0.0;
}

void SetCorrCoef(ViewState& v, const RegistryEntry& c, double value) {
  if (c.No < 0) return;
  const auto no = static_cast<std::size_t>(c.No);
  if (v.CorrCoefs.size() <= no) v.CorrCoefs.resize(no + 1);
  // A coefficient moved here by a deletion below belongs to another entry.
  for (CorrCoefEntry& e : v.CorrCoefs)
    if (c.Uid != 0 && e.Uid == c.Uid) e = {};
  v.CorrCoefs[no] = {c.Uid, value};
}

void ClearCorrCoef(ViewState& v, const RegistryEntry& c) {
  for (CorrCoefEntry& e : v.CorrCoefs)
    if (e.Uid == c.Uid) e = {};
  const auto no = static_cast<std::size_t>(c.No);
  if (c.No >= 0 && no < v.CorrCoefs.size()) v.CorrCoefs[no] = {};
}

}  // namespace zx
