#include "import/import_steps.h"

#include <cmath>
#include <filesystem>

#include "model/document.h"
#include "model/result_path.h"

namespace zx {

SourcedValue ImportTemperature(std::optional<double> given, const ImportOutcome& o,
                               bool columnAsked) {
  if (given) return {given, ValueSource::Given};
  if (o.temperature && columnAsked) return {o.temperature->mean, ValueSource::Column};
  if (o.headerTemperature) return {o.headerTemperature, ValueSource::Header};
  if (o.temperature) return {o.temperature->mean, ValueSource::Column};
  return {};
}

SourcedValue ImportField(std::optional<double> given, const ImportOutcome& o) {
  if (given) return {given, ValueSource::Given};
  if (o.headerField) return {o.headerField, ValueSource::Header};
  return {};
}

ImportedCondition ConditionOfImport(ImportKind kind, double temp, std::optional<double> field) {
  ImportedCondition c;
  c.temp = temp;
  if (kind == ImportKind::ViToEj) c.magField = field.value_or(std::nan(""));
  return c;
}

TargetCheck CheckImportTarget(const std::string& source, const std::string& out) {
  if (out.empty()) return {TargetProblem::NoFile, ""};
  if (SameFile(out, source)) return {TargetProblem::MeasuredFile, ""};
  if (std::string refused = CheckPathEntry(out); !refused.empty())
    return {TargetProblem::PathRefused, refused};
  std::error_code ec;
  if (std::filesystem::is_directory(out, ec)) return {TargetProblem::NoFile, ""};
  return {};
}

}  // namespace zx
