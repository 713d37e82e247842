// The 45 keys of a settings file's value block, in file order, with the
// project field each one stores.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "model/project.h"

namespace zx {

enum class KeyType { Double, Int, Text, Flag, Mode, Scale };

struct SettingsKey {
  const char* name;
  KeyType type;
  void* (*field)(Project&);
  std::size_t maxLength = std::string::npos;  // text keys
  bool binaryChoice = false;                  // int keys that hold 0 or 1 only

  double* Double(Project& p) const { return static_cast<double*>(field(p)); }
  int* Int(Project& p) const { return static_cast<int*>(field(p)); }
  std::string* Text(Project& p) const { return static_cast<std::string*>(field(p)); }
  bool* Flag(Project& p) const { return static_cast<bool*>(field(p)); }
  CalcMode* Mode(Project& p) const { return static_cast<CalcMode*>(field(p)); }
  AxisScale* Scale(Project& p) const { return static_cast<AxisScale*>(field(p)); }
  const double* Double(const Project& p) const { return Double(const_cast<Project&>(p)); }
  const int* Int(const Project& p) const { return Int(const_cast<Project&>(p)); }
  const std::string* Text(const Project& p) const { return Text(const_cast<Project&>(p)); }
  const bool* Flag(const Project& p) const { return Flag(const_cast<Project&>(p)); }
  const CalcMode* Mode(const Project& p) const { return Mode(const_cast<Project&>(p)); }
  const AxisScale* Scale(const Project& p) const { return Scale(const_cast<Project&>(p)); }
};

std::span<const SettingsKey> SettingsKeys();

// The key of the first of these number fields of p, in file order, whose
// value is not finite; "" when every one is.
std::string FirstNonFiniteKey(const Project& p, std::span<const double* const> fields);

}  // namespace zx
