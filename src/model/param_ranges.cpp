#include "model/param_ranges.h"

#include <limits>

namespace zx {

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

const std::array<ParamRangeRule, 5>& ParamRangeRules() {
  static const std::array<ParamRangeRule, 5> rules = {{
      {"Am", 0.0, kInf, true, &CalcSettings::MiniRe_Am, &CalcSettings::MaxRe_Am},
      {"σ^2", 0.0, 1.0, false, &CalcSettings::MiniSigma_2, &CalcSettings::MaxSigma_2},
      {"γ", 0.0, 1.0, false, &CalcSettings::MiniRe_Gamma, &CalcSettings::MaxRe_Gamma},
      {"m", 1.0, kInf, false, &CalcSettings::MiniRe_m, &CalcSettings::MaxRe_m},
      {"g^2", 1.0, kInf, false, &CalcSettings::MiniRe_g_2, &CalcSettings::MaxRe_g_2},
  }};
  return rules;
}

bool RangeBoundAllowed(const ParamRangeRule& rule, double v) {
  const bool aboveLowest = rule.lowestExcluded ? v > rule.lowest : v >= rule.lowest;
  // An infinite bound (a huge typed number) would give the slider no scale.
  return aboveLowest && v <= rule.highest && v < kInf;
}

std::optional<RangeRefusal> CheckParamRanges(const std::array<double, 5>& lo,
                                             const std::array<double, 5>& hi) {
  for (int i = 0; i < 5; ++i) {
    const ParamRangeRule& rule = ParamRangeRules()[static_cast<std::size_t>(i)];
    const std::size_t k = static_cast<std::size_t>(i);
    if (!RangeBoundAllowed(rule, lo[k])) return RangeRefusal{i, RangeBound::Min};
    // Equal bounds would leave the slider no scale to move on.
    if (!RangeBoundAllowed(rule, hi[k]) || !(lo[k] < hi[k]))
      return RangeRefusal{i, RangeBound::Max};
  }
  return std::nullopt;
}

std::string RangeRefusalField(const RangeRefusal& r) {
  return std::string(ParamRangeRules()[static_cast<std::size_t>(r.param)].name) +
         (r.bound == RangeBound::Min ? "の最小値" : "の最大値");
}

void ReadParamRanges(const CalcSettings& s, std::array<double, 5>& lo, std::array<double, 5>& hi) {
  for (std::size_t i = 0; i < 5; ++i) {
    lo[i] = s.*ParamRangeRules()[i].minField;
    hi[i] = s.*ParamRangeRules()[i].maxField;
  }
}

void StoreParamRanges(CalcSettings& s, const std::array<double, 5>& lo,
                      const std::array<double, 5>& hi) {
  for (std::size_t i = 0; i < 5; ++i) {
    s.*ParamRangeRules()[i].minField = lo[i];
    s.*ParamRangeRules()[i].maxField = hi[i];
  }
}

}  // namespace zx
