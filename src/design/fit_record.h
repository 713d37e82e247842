// The fit record: what a fit found, kept beside the project as
// NAME.fit.json so that design data (maps, operating points) can carry the
// fit's uncertainty and its validity range.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "fit/fit_data.h"
#include "fit/fit_quality.h"
#include "fit/fit_types.h"

namespace zx {

// The span of the points a fit used; NaN where there is none (E in Jc-B mode).
struct DataRange {
  double tMin = NAN, tMax = NAN;
  double bMin = NAN, bMax = NAN;
  double jMin = NAN, jMax = NAN;  // J in E-J mode, Jc in Jc-B mode
  double eMin = NAN, eMax = NAN;  // E-J mode only

  bool Known() const { return !std::isnan(tMin); }
};

struct RecordCondition {
  int no = -1;
  double temp = NAN, field = NAN;  // field NaN in Jc-B mode
  int points = 0;
  double rms = NAN;
};

struct FitRecord {
  std::string version;
  CalcMode mode = CalcMode::EJ;
  FitValues values{};  // as the project holds them after the fit was stored
  FitFlags free{};
  FitValues stdError{};
  FitMatrix covariance = NanFitMatrix();  // of the values; NaN outside the determined ones
  int tcn = 1, bcn = 1;                   // as the settings file holds them
  // The sample constants the model reads.
  double rhon0 = NAN, zeta = NAN, thickness = NAN, width = NAN, eC = NAN;
  int intervals = 0;
  LossKind loss = LossKind::Linear;
  double lossScale = NAN;
  Weighting weighting = Weighting::PerCondition;
  double cost = NAN;  // the minimised figure of merit
  double rms = NAN;   // over the points used, decades
  int points = 0;
  std::string status;
  std::vector<RecordCondition> conditions;
  DataRange range;
};

// The range of the points of `used` (those the fitted model has a value at).
DataRange RangeOf(const FitInput& used);

// The record of a fit: `stored` are the parameters as the project holds
// them once the fit's values were written into it.
FitRecord MakeFitRecord(const FitInput& used, const FitOutcome& fit, const FitOptions& options,
                        const FitQuality& quality, const ModelParams& stored);

// PROJECT.zx2 -> PROJECT.fit.json (any other name gets ".fit.json" added).
std::string FitRecordPath(const std::string& projectPath);

std::string FitRecordJson(const FitRecord& record);
// False (with why) when the text is not a record this program can read.
bool ParseFitRecord(const std::string& text, FitRecord& record, std::string& why);

bool WriteFitRecord(const std::string& path, const FitRecord& record);
// False when the file is missing or unreadable; `why` says which.
bool ReadFitRecord(const std::string& path, FitRecord& record, std::string& why);

// Whether the record's parameters (values and orders, at the precision of
// the settings file) are those of `params`.
bool RecordMatches(const FitRecord& record, const ModelParams& params);

}  // namespace zx
