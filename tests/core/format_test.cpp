#include "model/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "model/unsigned_zero.h"

namespace zx {
namespace {

TEST(FormatSci, CutsMantissaTrimsZerosAndWritesPlainExponent) {
  EXPECT_EQ(FormatSci(1.5e-6, 2), "1.5e-6");
  EXPECT_EQ(FormatSci(1e9, 2), "1e9");
  EXPECT_EQ(FormatSci(1.2389, 2), "1.23");
  EXPECT_EQ(FormatSci(1.23456e5, 2), "1.23e5");
  EXPECT_EQ(FormatSci(0.0, 2), "0");
  EXPECT_EQ(FormatSci(9.9999999, 2), "1e1");  // rounded to six decimals first
  EXPECT_EQ(FormatSci(-2500.0, 2), "-2.5e3");
  EXPECT_EQ(FormatSci(1e-10, 2), "1e-10");
  EXPECT_EQ(FormatSci(0.1, 2), "1e-1");
  EXPECT_EQ(FormatSci(1.234e8, 2), "1.23e8");
  EXPECT_EQ(FormatSci(5.678e9, 2), "5.67e9");  // cut, not rounded
  EXPECT_EQ(FormatSci(2e8, 5), "2e8");
  EXPECT_EQ(FormatSci(6.2831852, 6), "6.283185");
  EXPECT_EQ(FormatSci(7.0, 0), "7");
}

TEST(FormatFixed, CutsDecimalsAndTrims) {
  EXPECT_EQ(FormatFixed(77.0, 1), "77");
  EXPECT_EQ(FormatFixed(4.25, 1), "4.2");
  EXPECT_EQ(FormatFixed(0.987654, 3), "0.987");
  EXPECT_EQ(FormatFixed(0.98765, 3), "0.987");
  EXPECT_EQ(FormatFixed(-0.5, 1), "-0.5");
  EXPECT_EQ(FormatFixed(100.0, 1), "100");
  EXPECT_EQ(FormatFixed(0.0, 3), "0");
  EXPECT_EQ(FormatFixed(5.0, 6), "5");
}

TEST(UnsignedWhenZero, ATinyNegativeValueIsWrittenAsZero) {
  const std::pair<double, const char*> cases[] = {
      {-1e-5, "0.000"}, {-0.0, "0.000"}, {-0.0004, "0.000"}, {-0.0006, "-0.001"}, {4.2, "4.200"}};
  for (const auto& [v, text] : cases) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", UnsignedWhenZero(v, 3));
    EXPECT_STREQ(buf, text) << v;
  }
}

TEST(FormatFixed, FailsWithEmptyTextWhenTooLong) {
  bool ok = true;
  EXPECT_EQ(FormatFixed(1e40, 1, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_EQ(FormatFixed(1e20, 6, &ok), "100000000000000000000");
  EXPECT_TRUE(ok);
}

TEST(FormatLe, WritesThreeExponentDigits) {
  EXPECT_EQ(FormatLe(1e9), "1.000000e+009");
  EXPECT_EQ(FormatLe(0.0), "0.000000e+000");
  EXPECT_EQ(FormatLe(6.2831852), "6.283185e+000");
  EXPECT_EQ(FormatLe(1.5e-6), "1.500000e-006");
  EXPECT_EQ(FormatLe(-2.5e-300), "-2.500000e-300");
  EXPECT_EQ(FormatLe(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatLe(std::nan("")), "nan");
}

TEST(ParseLeading, ReadsLikeAtofAndAtoi) {
  EXPECT_EQ(ParseLeadingDouble("  1.5e3xyz"), 1500.0);
  EXPECT_EQ(ParseLeadingDouble("-.5"), -0.5);
  EXPECT_EQ(ParseLeadingDouble("5."), 5.0);
  EXPECT_EQ(ParseLeadingDouble("2e"), 2.0);
  EXPECT_EQ(ParseLeadingDouble("2e+"), 2.0);
  EXPECT_EQ(ParseLeadingDouble("1.000000e+009"), 1e9);
  EXPECT_EQ(ParseLeadingDouble("abc"), 0.0);
  EXPECT_EQ(ParseLeadingDouble("inf"), 0.0);
  EXPECT_EQ(ParseLeadingDouble("nan"), 0.0);
  EXPECT_EQ(ParseLeadingDouble("0x10"), 0.0);
  EXPECT_TRUE(std::isinf(ParseLeadingDouble("1e999")));
  EXPECT_EQ(ParseLeadingDouble(std::string(40, '1') + "e-30"), 1.1111111111111111e9);
  EXPECT_EQ(ParseLeadingInt(" 42abc"), 42);
  EXPECT_EQ(ParseLeadingInt("-7"), -7);
  EXPECT_EQ(ParseLeadingInt("1.9"), 1);
  EXPECT_EQ(ParseLeadingInt("x"), 0);
  EXPECT_EQ(ParseLeadingInt("99999999999"), std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace zx
