#include "design/design_basis.h"

#include <vector>

#include "fit/fit_usable.h"
#include "model/text_file.h"

namespace zx {

namespace {

DataRange ProjectRange(const Project& project) {
  std::vector<std::pair<int, int>> leftOut;
  return RangeOf(UsablePoints(TakeFitInput(project), leftOut));
}

}  // namespace

bool DesignBasis::HasBands() const {
  for (int k = 0; k < kFitParamCount; ++k) {
    const double v = covariance[static_cast<std::size_t>(k)][static_cast<std::size_t>(k)];
    if (std::isfinite(v) && v > 0) return true;
  }
  return false;
}

DesignBasis BasisOf(const Project& project, const FitRecord* record) {
  DesignBasis b;
  b.mode = project.Settings.Mode;
  b.params = project.Params;
  b.settings = project.Settings;
  if (record && RecordMatches(*record, project.Params)) {
    b.record = RecordState::Current;
    b.covariance = record->covariance;
    b.range = record->range;
  } else {
    b.record = record ? RecordState::Stale : RecordState::Missing;
  }
  if (!b.range.Known()) b.range = ProjectRange(project);
  return b;
}

DesignBasis LoadDesignBasis(const Project& project, const std::string& projectPath) {
  FitRecord rec;
  std::string why;
  const std::string path = FitRecordPath(projectPath);
  if (ReadFitRecord(path, rec, why)) return BasisOf(project, &rec);
  DesignBasis b = BasisOf(project, nullptr);
  if (FileExists(path)) b.record = RecordState::Unreadable;
  return b;
}

std::string RecordStateText(RecordState state, const std::string& recordPath) {
  switch (state) {
    case RecordState::Current:
      return "";
    case RecordState::Missing:
      return "no fit record " + recordPath + ": values without bands";
    case RecordState::Stale:
      return "the fit record " + recordPath +
             " is stale (its parameters differ from the project's): the project's values, "
             "without bands";
    case RecordState::Unreadable:
      return "the fit record " + recordPath + " cannot be read: values without bands";
  }
  return "";
}

}  // namespace zx
