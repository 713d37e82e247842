// The steps after a conversion that the import window and the command line
// share: where a condition's temperature and field come from, the
// condition registered with a file and the checks of the output path.
// The callers word the messages.
#pragma once

#include <optional>
#include <string>

#include "import/registration.h"
#include "import/run.h"

namespace zx {

// Where a condition's temperature or field came from.
enum class ValueSource { None, Given, Column, Header };

struct SourcedValue {
  std::optional<double> value;
  ValueSource from = ValueSource::None;
};

// The temperature given by the user, else the column asked for, else the
// header's, else a column found by its name.
SourcedValue ImportTemperature(std::optional<double> given, const ImportOutcome& o,
                               bool columnAsked);
// The field given by the user, else the header's.
SourcedValue ImportField(std::optional<double> given, const ImportOutcome& o);

// The condition registered with a file of this kind: Ic-B tables have the
// field as a column (0 here); an E-J file's unknown field is NaN, which
// the registration refuses.
ImportedCondition ConditionOfImport(ImportKind kind, double temp, std::optional<double> field);

// What stands against writing an imported file to `out`.
enum class TargetProblem {
  None,
  NoFile,        // empty, or a folder
  MeasuredFile,  // the measured file itself: writing would lose it
  PathRefused,   // characters a path may not hold (refusal says which)
};

struct TargetCheck {
  TargetProblem problem = TargetProblem::None;
  std::string refusal;  // PathRefused: the core's message
};

TargetCheck CheckImportTarget(const std::string& source, const std::string& out);

}  // namespace zx
