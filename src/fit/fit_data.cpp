#include "fit/fit_data.h"

#include <cmath>
#include <utility>

#include "model/series_file.h"

namespace zx {

int FitInput::UsedPoints() const {
  int n = 0;
  for (const ConditionData& c : conditions) n += static_cast<int>(c.x.size());
  return n;
}

std::string NonFiniteFitSetting(const FitInput& input) {
  const ModelParams& m = input.params;
  const CalcSettings& s = input.settings;
  const std::pair<const char*, double> values[] = {{"Re(A_m)", m.Re_A_m},
                                                   {"Sigma^2", m.Sigma_2},
                                                   {"Re(Gamma)", m.Re_Gamma},
                                                   {"Re(m)", m.Re_m},
                                                   {"Re(g^2)", m.Re_g_2},
                                                   {"T_c", m.T_c},
                                                   {"Rho_n(0)", m.Rho_n_0},
                                                   {"B_c2(0)", m.B_c2_0},
                                                   {"Re(Zeta)", m.Re_Zeta},
                                                   {"Thickness", m.Thickness},
                                                   {"E_c", m.E_c},
                                                   {"JIni", s.JIni},
                                                   {"JFin", s.JFin},
                                                   {"MiniRe(Am)", s.MiniRe_Am},
                                                   {"MaxRe(Am)", s.MaxRe_Am},
                                                   {"MiniSigma^2", s.MiniSigma_2},
                                                   {"MaxSigma^2", s.MaxSigma_2},
                                                   {"MiniRe(Gamma)", s.MiniRe_Gamma},
                                                   {"MaxRe(Gamma)", s.MaxRe_Gamma},
                                                   {"MiniRe(m)", s.MiniRe_m},
                                                   {"MaxRe(m)", s.MaxRe_m},
                                                   {"MiniRe(g^2)", s.MiniRe_g_2},
                                                   {"MaxRe(g^2)", s.MaxRe_g_2}};
  for (const auto& [key, v] : values)
    if (!std::isfinite(v)) return key;
  return {};
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
