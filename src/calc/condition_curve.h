// The model evaluated along one calculation condition: E against J at the
// condition's temperature and field (E-J mode), or Jc against B at its
// temperature (Jc-B mode). Shared by both passes.
#pragma once

#include <functional>
#include <span>

#include "model/project.h"

namespace zx {

// Sets the condition's evaluation point: EvalT, and in E-J mode EvalB.
void BeginCondition(ModelParams& p, int calcMode, const CalcCondEntry& cond);

// One curve point at abscissa x (J in E-J mode, B in Jc-B mode). In Jc-B
// mode the J range of the settings brackets the search.
double EvaluateCurvePoint(ModelParams& p, const CalcSettings& s, double x);

// The values at every abscissa, in order. `p` is the condition's own copy
// of the parameters and holds the last evaluation point afterwards (the
// result header shows it). Touches nothing else, so that conditions can be
// evaluated side by side on separate copies. pointDone runs after each point.
void EvaluateConditionCurve(ModelParams& p, const CalcSettings& s, const CalcCondEntry& cond,
                            std::span<const double> xs, std::span<double> values,
                            const std::function<void()>& pointDone = {});

}  // namespace zx
