#include "model/param_ranges.h"

#include <gtest/gtest.h>

#include <limits>

namespace zx {
namespace {

TEST(ParamRanges, FirstRefusedBoundInParameterOrder) {
  std::array<double, 5> lo = {1e8, 0.0, 0.0, 1.0, 1.0}, hi = {1e11, 1.0, 1.0, 10.0, 10.0};
  EXPECT_FALSE(CheckParamRanges(lo, hi));

  auto refused = [&](std::array<double, 5> l, std::array<double, 5> h) {
    const auto r = CheckParamRanges(l, h);
    return r ? RangeRefusalField(*r) : std::string("ok");
  };
  auto with = [](std::array<double, 5> a, int i, double v) {
    a[static_cast<std::size_t>(i)] = v;
    return a;
  };
  EXPECT_EQ(refused(with(lo, 0, 0.0), hi), "Amの最小値");  // Am must stay above 0
  EXPECT_EQ(refused(lo, with(hi, 1, 1.5)), "σ^2の最大値");
  EXPECT_EQ(refused(with(lo, 2, 0.5), with(hi, 2, 0.5)), "γの最大値");  // equal bounds
  EXPECT_EQ(refused(with(lo, 3, 0.5), hi), "mの最小値");
  EXPECT_EQ(refused(lo, with(hi, 4, std::numeric_limits<double>::infinity())), "g^2の最大値");
  // Earlier parameters are reported first.
  EXPECT_EQ(refused(with(lo, 4, 0.0), with(hi, 1, 2.0)), "σ^2の最大値");

  CalcSettings s;
  StoreParamRanges(s, lo, with(hi, 3, 7.5));
  std::array<double, 5> l2, h2;
  ReadParamRanges(s, l2, h2);
  EXPECT_EQ(s.MaxRe_m, 7.5);
  EXPECT_EQ(l2, lo);
  EXPECT_EQ(h2[3], 7.5);
}

}  // namespace
}  // namespace zx
