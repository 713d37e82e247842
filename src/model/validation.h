// The checks that the dialogs and the command line share, with the messages
// they show. Each returns the message of the first failure, or "" when the
// input may be applied.
#pragma once

#include <string>

#include "model/param_table.h"
#include "model/project.h"
#include "model/tr_noop.h"

namespace zx {

// Messages built from a pattern and a field name ("%1"); the window layer
// translates the pattern and the field apart.
inline constexpr char kRefusalPattern[] = ZX_TR_NOOP("Core", "不正な値の入力 : %1");
inline constexpr char kMinimumOfPattern[] = ZX_TR_NOOP("Core", "%1の最小値");
inline constexpr char kMaximumOfPattern[] = ZX_TR_NOOP("Core", "%1の最大値");

// "不正な値の入力 : " followed by the field.
std::string RefusalText(const std::string& field);

// What the condition dialogs read.
struct CalcCondInput {
  int relatedDatFileNo = -1;
  double temp = 0.0;
  double magField = 0.0;  // not read in Jc-B mode
  std::string folder;     // result folder and file name as typed
  std::string name;
};

// Limits of a condition's temperature and field (exclusive).
inline constexpr double kMaxTemp = 400.0;
inline constexpr double kMaxMagField = 100.0;

// The data file (one must be chosen while any exist), the temperature, the
// field (E-J mode), the result folder and name, in that order.
std::string CheckCalcCond(const Project& p, const CalcCondInput& in);

// Step levels the grid tables define.
inline constexpr int kMaxJStepLevel = 10;
inline constexpr int kMaxBStepLevel = 5;

// E-J mode: 0 < jIni < jFin, a step level 1..10.
std::string CheckJRange(double jIni, double jFin, int jStepLevel);

struct JcConditions {
  double jIni = 0, jFin = 0, bIni = 0, bFin = 0, ec = 0;
  int bStepLevel = 3;
};
// Jc-B mode: 0 < jIni < jFin (the search runs on log J), 0 <= bIni < bFin,
// ec >= 0, a step level 1..5.
std::string CheckJcConditions(const JcConditions& c);

// The slider ranges of the pinning parameters, in FitParam order.
struct ParamRanges {
  double lo[kPinningParamCount] = {};
  double hi[kPinningParamCount] = {};
};
ParamRanges ParamRangesOf(const CalcSettings& s);
void ApplyParamRanges(CalcSettings& s, const ParamRanges& r);
// The name the dialog and its messages show for row i.
const char* ParamRangeName(int i);
// Each bound within the parameter's limits and finite; lo < hi.
std::string CheckParamRanges(const ParamRanges& r);
// A value of fitted parameter i (FitParam) within its limits.
std::string CheckParamValue(int i, double v);

}  // namespace zx
