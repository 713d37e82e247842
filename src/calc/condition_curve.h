// The model evaluated along one calculation condition: E against J at the
// condition's temperature and field (E-J mode), or Jc against B at its
// temperature (Jc-B mode). Shared by both passes.
#pragma once

#include <span>

#include "calc/result_file.h"
#include "model/project.h"

namespace zx {

// One curve point at abscissa x (J in E-J mode, B in Jc-B mode). In Jc-B
// mode the J range of the settings brackets the search. Pure: any number
// of points may be evaluated side by side.
double EvaluateCurvePoint(const ModelParams& in, const CalcSettings& s, const CalcCondEntry& cond,
                          double x);

// The evaluation point a condition's result file names: its temperature,
// and its field (E-J mode) or the last abscissa of the curve (Jc-B mode;
// 0 without points).
ResultHeader ConditionHeader(const CalcSettings& s, const CalcCondEntry& cond,
                             std::span<const double> xs);

}  // namespace zx
