// Writing fitted parameters back into a settings file without touching
// anything else in it.
#pragma once

#include <string>

#include "fit/fit_types.h"
#include "model/settings_lines.h"

namespace zx {

// The five pinning parameter lines (Re(A_m), Sigma^2, Re(Gamma), Re(m),
// Re(g^2)) with their values in the file's number format.
SettingsLines PinningLines(const FitValues& values);

// The pinning parameter lines, then those of the other parameters the fit
// moved (T_c, B_c2(0) when freed).
SettingsLines FittedParamLines(const FitValues& values, const FitFlags& fixed);

}  // namespace zx
