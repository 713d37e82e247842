// The rules for the settable ranges of the five pinning parameters: which
// bounds are allowed, and the field a refused input is reported as.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/project.h"

namespace zx {

struct ParamRangeRule {
  const char* name;        // as the dialogs and their messages show it
  double lowest, highest;  // allowed values of either bound
  bool lowestExcluded;
  double CalcSettings::*minField;
  double CalcSettings::*maxField;
};

// Am, σ^2, γ, m, g^2.
const std::array<ParamRangeRule, 5>& ParamRangeRules();

// Whether v may be a bound of the parameter; never an infinite one.
bool RangeBoundAllowed(const ParamRangeRule& rule, double v);

enum class RangeBound { Min, Max };
struct RangeRefusal {
  int param = 0;
  RangeBound bound = RangeBound::Min;
};

// The first bound (in parameter order, minimum before maximum) that cannot
// be taken; a maximum must also lie above its minimum.
std::optional<RangeRefusal> CheckParamRanges(const std::array<double, 5>& lo,
                                             const std::array<double, 5>& hi);

// "Amの最小値", "σ^2の最大値", ...: the field of the input-error message.
std::string RangeRefusalField(const RangeRefusal& r);

// The project's ranges as five pairs, and storing them.
void ReadParamRanges(const CalcSettings& s, std::array<double, 5>& lo, std::array<double, 5>& hi);
void StoreParamRanges(CalcSettings& s, const std::array<double, 5>& lo,
                      const std::array<double, 5>& hi);

}  // namespace zx
