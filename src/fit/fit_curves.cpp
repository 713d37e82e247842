#include "fit/fit_curves.h"

#include <algorithm>
#include <cmath>

#include "calc/model.h"
#include "calc/parallel.h"
#include "fit/fit_quality.h"
#include "fit/model_jc.h"

namespace zx {

std::vector<ConditionCurves> FitCurves(const FitInput& input, const FitValues& values, int points,
                                       int threads, const FitOutcome* /*band: not computed yet*/) {
  std::vector<ConditionCurves> out;
  for (std::size_t c = 0; c < input.conditions.size(); ++c)
    if (!input.conditions[c].x.empty())
      out.push_back({static_cast<int>(c), {}, {}, {}, {}, {}, {}});
  ModelParams p = input.params;
  SetParams(p, values);
  const bool ej = input.mode == CalcMode::EJ;
  const int n = std::max(points, 2);
  ParallelFor(out.size(), threads, [&](int, std::size_t k) {
    ConditionCurves& cc = out[k];
    const ConditionData& cd = input.conditions[static_cast<std::size_t>(cc.cond)];
    const auto [lo, hi] = std::minmax_element(cd.x.begin(), cd.x.end());
    const double a = ej ? std::log10(*lo) : *lo, b = ej ? std::log10(*hi) : *hi;
    // Along a curve the last Jc is a close hint for the next.
    double hint = 0;
    auto model = [&](double x) {
      if (ej) return ModelE(p, x, cd.temp, cd.field);
      const double jc = ModelJc(p, cd.temp, x, p.E_c, kReportJcPrecision, input.settings.JIni,
                                input.settings.JFin, nullptr, hint);
      if (std::isfinite(jc)) hint = jc;
      return jc;
    };
    for (int i = 0; i < n; ++i) {
      const double t = a + (b - a) * i / (n - 1);
      const double x = ej ? std::pow(10.0, t) : t;
      cc.modelX.push_back(x);
      cc.modelY.push_back(model(x));
    }
    for (std::size_t i = 0; i < cd.x.size(); ++i) {
      cc.residualX.push_back(cd.x[i]);
      cc.residualY.push_back(std::log10(cd.y[i] / model(cd.x[i])));
    }
  });
  return out;
}

}  // namespace zx
