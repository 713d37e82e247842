// What design data are computed from: the project's model, the fit
// record's covariance when the record belongs to these parameters, and
// the range of the data the model was fitted to.
#pragma once

#include <string>

#include "design/fit_record.h"
#include "model/project.h"

namespace zx {

enum class RecordState { Current, Missing, Stale, Unreadable };

struct DesignBasis {
  CalcMode mode = CalcMode::EJ;
  ModelParams params;
  CalcSettings settings;
  // Of the fitted values; NaN everywhere without a current record (no bands).
  FitMatrix covariance = NanFitMatrix();
  DataRange range;
  RecordState record = RecordState::Missing;

  bool HasBands() const;
};

// The basis of a loaded project whose settings file is `projectPath`. The
// data range is the record's; without a current record, that of the
// project's points where the model has a value.
DesignBasis LoadDesignBasis(const Project& project, const std::string& projectPath);

// The basis from a record already at hand (the fit window's result).
DesignBasis BasisOf(const Project& project, const FitRecord* record);

// One line for the user when the basis has no bands; empty otherwise.
std::string RecordStateText(RecordState state, const std::string& recordPath);

}  // namespace zx
