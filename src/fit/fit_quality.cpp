#include "fit/fit_quality.h"

#include <cmath>

#include "calc/model_jc.h"
#include "fit/data_jc.h"
#include "fit/fit_residuals.h"
#include "numeric/parallel.h"

namespace zx {

FitQuality EvaluateQuality(const FitInput& input, const FitValues& values, int threads) {
  FitQuality q;
  const FitValues coords = ToCoordinates(values);
  FitResiduals all(input, threads, coords, coords);
  const std::vector<double>& r = all.At(coords, false, FitFlags{}).r;

  const std::size_t n = input.conditions.size();
  q.conditions.resize(n);
  std::vector<double> sums(n, 0.0);
  double total = 0;
  for (int i = 0; i < all.Count(); ++i) {
    const double v = r[static_cast<std::size_t>(i)];
    sums[static_cast<std::size_t>(all.ConditionOf(i))] += v * v;
    total += v * v;
  }
  q.points = all.Count();
  if (q.points > 0) q.rms = std::sqrt(total / q.points);

  ModelParams model = input.params;
  SetParams(model, values);
  const double eC = input.params.E_c;
  ParallelFor(n, threads, [&](int, std::size_t c) {
    const ConditionData& cd = input.conditions[c];
    ConditionQuality& cq = q.conditions[c];
    cq.no = cd.no;
    cq.points = static_cast<int>(cd.x.size());
    if (cq.points == 0) return;
    cq.rms = std::sqrt(sums[c] / cq.points);
    if (input.mode != CalcMode::EJ) return;
    cq.jcData = DataJc(cd.x, cd.y, eC);
    cq.nData = DataN(cd.x, cd.y, eC);
    cq.jcModel = ModelJc(model, cd.temp, cd.field, eC, kReportJcPrecision, input.settings.JIni,
                         input.settings.JFin);
    if (!std::isnan(cq.jcModel)) cq.nModel = ModelN(model, cq.jcModel, cd.temp, cd.field);
  });
  double squares = 0;
  int used = 0;
  for (const ConditionQuality& cq : q.conditions)
    if (cq.points > 0) squares += cq.rms * cq.rms, ++used;
  if (used > 0) q.merit = std::sqrt(squares / used);
  return q;
}

}  // namespace zx
