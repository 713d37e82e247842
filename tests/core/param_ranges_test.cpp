#include <gtest/gtest.h>

#include <limits>

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

}  // namespace
}  // namespace zx
