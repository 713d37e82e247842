// Registration of an imported data file, and of a calculation condition for
// it, as the registration dialogs register them.
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

// The condition's result file: in the project's folder (the program folder
// while the project is unsaved), named after the data file.
std::string ImportedResultPath(const Project& p, const std::string& dataPath);

// The message refusing the registration, or "" once registered.
std::string RegisterImportedData(Document& d, const std::string& dataPath,
                                 const std::optional<ImportedCondition>& cond);

}  // namespace zx
