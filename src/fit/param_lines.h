// Writing fitted parameters back into a settings file without touching
// anything else in it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "fit/fit_types.h"

namespace zx {

// (key, value text) pairs of the value block to replace.
using SettingsLines = std::vector<std::pair<std::string, std::string>>;

// The bytes with the values of the named lines of the value block
// replaced, every other byte kept. False (out untouched) when one of the
// lines is missing.
bool ReplaceSettingsLines(const std::string& bytes, const SettingsLines& lines, std::string& out);

// The five pinning parameter lines (Re(A_m), Sigma^2, Re(Gamma), Re(m),
// Re(g^2)) as ReplaceSettingsLines writes them.
SettingsLines PinningLines(const FitValues& values);

// The bytes with the five parameter lines replaced; see ReplaceSettingsLines.
bool ReplaceParameterLines(const std::string& bytes, const FitValues& values, std::string& out);

// Reads the file, replaces the lines and writes it back atomically.
bool WriteSettingsLines(const std::string& path, const SettingsLines& lines);
bool WriteParameterLines(const std::string& path, const FitValues& values);

}  // namespace zx
