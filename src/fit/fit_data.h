// The measured points a fit works on: one set per calculation condition,
// read from the data file related to it.
#pragma once

#include <string>
#include <vector>

#include "fit/fit_types.h"
#include "model/project.h"

namespace zx {

// Why a condition has no points.
enum class DataStatus { Used, NoDataFile, Unreadable, NoPoints };

struct ConditionData {
  int no = -1;
  double temp = 0.0;
  double field = 0.0;  // E-J mode only
  DataStatus status = DataStatus::NoDataFile;
  // Abscissa (J, or B in Jc-B mode) and ordinate (E, or Jc), both > 0.
  std::vector<double> x, y;
  // Lines of numbers in the data file that gave no point.
  int leftOutNotPositive = 0, leftOutNotFinite = 0;
};

// Everything a fit or a quality report needs, detached from the project so
// that it can run on another thread.
struct FitInput {
  CalcMode mode = CalcMode::EJ;
  ModelParams params;  // the sample and the current pinning parameters
  CalcSettings settings;
  std::vector<ConditionData> conditions;  // condition-number order

  int UsedPoints() const;
};

// The settings key of the first value the model or the fit reads that is
// not a finite number (a parameter, a sample constant, a range); empty
// when there is none.
std::string NonFiniteFitSetting(const FitInput& input);

// Reads the data file of every condition. Conditions without a related
// file, with a file that cannot be read or without a usable point keep
// no points and say why.
FitInput TakeFitInput(const Project& p);

// Puts a DroppedLines warning first in the outcome's warnings when any
// condition's data file had lines of numbers that gave no point.
void AddDroppedLinesWarning(const FitInput& input, FitOutcome& outcome);

}  // namespace zx
