#include "calc/condition_curve.h"

#include "calc/model.h"
#include "calc/model_jc.h"

namespace zx {

double EvaluateCurvePoint(const ModelParams& in, const CalcSettings& s, const CalcCondEntry& cond,
                          double x) {
  if (s.Mode != CalcMode::JcB) return ModelE(in, x, cond.Temp, cond.MagField);
  const double eLo = ModelE(in, s.JIni, cond.Temp, x);
  const double eHi = ModelE(in, s.JFin, cond.Temp, x);
  return FindJc(in, cond.Temp, x, s.JIni, s.JFin, eLo, eHi);
}

ResultHeader ConditionHeader(const CalcSettings& s, const CalcCondEntry& cond,
                             std::span<const double> xs) {
  ResultHeader h;
  h.temp = cond.Temp;
  if (s.Mode != CalcMode::JcB)
    h.field = cond.MagField;
  else if (!xs.empty())
    h.field = xs.back();
  return h;
}

}  // namespace zx
