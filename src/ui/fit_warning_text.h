// The fit's warnings as the fit window shows them: one line each, naming
// parameters as the parameter panel names them and conditions by number.
#pragma once

#include <QString>

#include "fit/fit_types.h"

namespace zx {

// The parameter's symbol: "Am", "σ^2", ..., "Bc2(0)".
QString FitParamLabel(int index);

QString FitWarningText(const FitWarning& w);

}  // namespace zx
