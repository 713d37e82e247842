#include "calc/condition_curve.h"

#include <algorithm>

#include "calc/find_jc.h"
#include "calc/model.h"

namespace zx {

void BeginCondition(ModelParams& p, int calcMode, const CalcCondEntry& cond) {
  p.EvalT = cond.Temp;
  if (calcMode != 1) p.EvalB = cond.MagField;
}

double EvaluateCurvePoint(ModelParams& p, const CalcSettings& s, double x) {
  if (s.CalcMode != 1) {
    p.EvalJ = x;
    return EvaluateE(p);
  }
  p.EvalB = x;
  p.EvalJ = s.JIni;
  const double eLo = EvaluateE(p);
  p.EvalJ = s.JFin;
  const double eHi = EvaluateE(p);
  return FindJc(p, s.JIni, s.JFin, eLo, eHi);
}

void EvaluateConditionCurve(ModelParams& p, const CalcSettings& s, const CalcCondEntry& cond,
                            std::span<const double> xs, std::span<double> values,
                            const std::function<void()>& pointDone) {
  BeginCondition(p, s.CalcMode, cond);
  const std::size_t n = std::min(xs.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    values[i] = EvaluateCurvePoint(p, s, xs[i]);
    if (pointDone) pointDone();
  }
}

}  // namespace zx
