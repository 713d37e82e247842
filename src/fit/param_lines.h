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

// The bytes with the five parameter lines replaced; see ReplaceSettingsLines.
std::string ReplaceParameterLines(const std::string& bytes, const FitValues& values);

// Writes the five parameter lines into the file; see WriteSettingsLines.
bool WriteParameterLines(const std::string& path, const FitValues& values);

}  // namespace zx
