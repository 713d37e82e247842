// Writing fitted parameters back into a settings file without touching
// anything else in it.
#pragma once

#include <string>

#include "fit/fit_types.h"

namespace zx {

// The bytes with the values of the five parameter lines (Re(A_m),
// Sigma^2, Re(Gamma), Re(m), Re(g^2)) of the value block replaced, every
// other byte kept. False (out untouched) when one of the lines is missing.
bool ReplaceParameterLines(const std::string& bytes, const FitValues& values, std::string& out);

// Reads the file, replaces the five values and writes it back atomically.
bool WriteParameterLines(const std::string& path, const FitValues& values);

}  // namespace zx
