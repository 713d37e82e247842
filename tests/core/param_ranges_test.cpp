#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/model.h"
#include "model/param_table.h"
#include "model/settings_keys.h"
#include "model/settings_set.h"
#include "model/validation.h"

namespace zx {
namespace {

TEST(ParamRanges, FirstRefusedBoundInParameterOrder) {
  const ParamRanges defaults = ParamRangesOf(CalcSettings{});
  EXPECT_EQ(CheckParamRanges(defaults), "");

  auto with = [&](int i, double lo, double hi) {
    ParamRanges r = defaults;
    r.lo[i] = lo;
    r.hi[i] = hi;
    return r;
  };
  EXPECT_EQ(CheckParamRanges(with(2, 0.5, 0.5)), "不正な値の入力 : γの最大値");  // equal bounds
  EXPECT_EQ(CheckParamRanges(with(4, 1.0, std::numeric_limits<double>::infinity())),
            "不正な値の入力 : g^2の最大値");
  // Earlier parameters are reported first.
  ParamRanges both = with(4, 0.0, 10.0);
  both.hi[1] = 2.0;
  EXPECT_EQ(CheckParamRanges(both), "不正な値の入力 : σ^2の最大値");

  CalcSettings s;
  ApplyParamRanges(s, with(3, 1.0, 7.5));
  EXPECT_EQ(s.MaxRe_m, 7.5);
  const ParamRanges back = ParamRangesOf(s);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(back.lo[i], with(3, 1.0, 7.5).lo[i]);
  EXPECT_EQ(back.hi[3], 7.5);
}

// Every row of the parameter table reaches its field by its name, its keys
// (value and stored range) and the model's inputs, and --set holds its
// value to the row's limits.
TEST(ParamTable, EachRowReachesItsFieldsAndLimits) {
  for (const ParamRow& row : ParamTable()) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FitParamIndex(row.name), static_cast<int>(row.id));
    const ParamLimits& l = row.limits;
    const double inside =
        std::isinf(l.highest) ? std::max(l.lowest, 0.0) + 2.5 : (l.lowest + l.highest) / 2;
    Project p;
    ASSERT_EQ(ApplyKeyAssignments(p, {{row.valueKey, std::to_string(inside)}}), "");
    EXPECT_DOUBLE_EQ(p.Params.*row.value, inside);
    EXPECT_DOUBLE_EQ(ToCreepFlowInputs(p.Params).*row.modelInput, inside);
    const double below = l.lowestExcluded ? l.lowest : l.lowest - 1;
    EXPECT_EQ(ApplyKeyAssignments(p, {{row.valueKey, std::to_string(below)}}),
              RefusalText(row.symbol));

    // Not finite: the value's key is named first, then the range's.
    std::vector<double*> own = {&(p.Params.*row.value)};
    if (HasStoredRange(row))
      own.insert(own.end(), {&(p.Settings.*row.minimum), &(p.Settings.*row.maximum)});
    for (double* f : own) *f = NAN;
    const std::vector<const double*> fields(own.begin(), own.end());
    EXPECT_EQ(FirstNonFiniteKey(p, fields), row.valueKey);
    *own[0] = 1;
    EXPECT_EQ(FirstNonFiniteKey(p, fields), HasStoredRange(row) ? row.minimumKey : "");
  }
}

}  // namespace
}  // namespace zx
