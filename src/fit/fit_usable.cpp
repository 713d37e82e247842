#include "fit/fit_usable.h"

#include <cmath>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "fit/fit_quality.h"

namespace zx {

FitInput UsablePoints(const FitInput& input, std::vector<std::pair<int, int>>& leftOut) {
  leftOut.clear();
  FitInput out = input;
  const ModelParams& p = input.params;
  const bool ej = input.mode == CalcMode::EJ;
  for (ConditionData& c : out.conditions) {
    if (c.x.empty()) continue;
    const double bc2 = UpperCriticalField(ToCreepFlowInputs(p), c.temp);
    std::vector<double> x, y;
    for (std::size_t i = 0; i < c.x.size(); ++i) {
      const double B = ej ? c.field : c.x[i];
      bool usable = c.temp < p.T_c && B > 0 && B < bc2;
      if (usable) {
        const double m = ej ? ModelE(p, c.x[i], c.temp, B)
                            : ModelJc(p, c.temp, B, p.E_c, kReportJcPrecision, input.settings.JIni,
                                      input.settings.JFin);
        usable = std::isfinite(m);
      }
      if (!usable) continue;
      x.push_back(c.x[i]);
      y.push_back(c.y[i]);
    }
    if (x.size() != c.x.size()) leftOut.emplace_back(c.no, static_cast<int>(c.x.size() - x.size()));
    c.x = std::move(x);
    c.y = std::move(y);
  }
  return out;
}

}  // namespace zx
