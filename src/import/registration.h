// Registration of an imported data file, and of a calculation condition for
// it, through the document: the import dialog and the command line share it.
#pragma once

#include <optional>
#include <string>

namespace zx {

struct Document;
struct Project;

struct ImportedCondition {
  double temp = 0.0;
  double magField = 0.0;  // 0 in Jc-B mode
};

// Why a condition of an import cannot be registered ("" when it can): a
// field of 0 T has no curve (the model divides by B), and so on. The
// messages say why, in the dialogs' words.
std::string ImportedConditionRefusal(const Project& p, const ImportedCondition& c);
// Whether the temperature lies at or above the project's T_c (the model
// gives no curve there; the user may still mean to change T_c).
bool AboveCriticalTemperature(const Project& p, double temp);

// The message refusing the registration, or "" once registered. The data
// file is registered only when the condition can be too.
std::string RegisterImportedData(Document& d, const std::string& dataPath,
                                 const std::optional<ImportedCondition>& cond);

// Loads the project at `path` into d, or, when no file is there, a new
// project with the default settings that takes `path` as its file.
// False when the file exists but cannot be read, or the defaults cannot
// be written.
bool OpenOrCreateProject(Document& d, const std::string& path, bool& created);

}  // namespace zx
