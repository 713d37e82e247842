// Setting values of a settings file by their keys without the windows:
// each value is checked as the panel and the dialogs check it, and only the
// lines of the keys set change in the file.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace zx {

struct KeyAssignment {
  std::string key;    // as the settings file spells it: "T_c", "MaxRe(Am)"
  std::string value;  // UTF-8 text
};

// "KEY=VALUE" split at the first '='; false without one or without a key.
bool ParseKeyAssignment(const std::string& text, KeyAssignment& out);

// Applies the assignments to p, in order, then checks the groups they
// touched as a whole (the allowed ranges, the J or J/B range). The message
// of the first refusal, or "" when p holds the new values.
std::string ApplyKeyAssignments(Project& p, const std::vector<KeyAssignment>& assignments);

// The settings file's bytes with the values of `keys` (taken from p)
// replaced in place as ReplaceSettingsLines does. False when a value
// cannot be written in CP932.
bool ReplaceKeyValues(const std::string& bytes, const Project& p,
                      const std::vector<std::string>& keys, std::string& out);

}  // namespace zx
