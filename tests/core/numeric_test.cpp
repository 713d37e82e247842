#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/median.h"
#include "numeric/quadrature.h"
#include "numeric/regression.h"
#include "numeric/roots.h"

namespace zx {
namespace {

// Rises through 8 at x = 2.
double Cube(double x) { return x * x * x; }

TEST(FindRoot, GeometricHalvingStopsWithinThePercentTolerance) {
  int calls = 0;
  auto f = [&](double x) {
    ++calls;
    return Cube(x);
  };
  RootSearch s;
  s.rule = RootRule::GeometricHalvingToValue;
  s.target = 8.0;
  s.tolerance = 0.1;  // percent
  const double x = FindRoot(f, 0.01, 100.0, Cube(0.01), Cube(100.0), s);
  EXPECT_LT(std::fabs(Cube(x) - 8.0), 8.0 * 0.001);
  EXPECT_LT(calls, 40);
  // The first midpoint is the geometric mean of the ends.
  calls = 0;
  s.tolerance = 1e6;
  EXPECT_EQ(FindRoot(f, 0.01, 100.0, Cube(0.01), Cube(100.0), s), std::pow(10, 0.0));
  EXPECT_EQ(calls, 1);
}

TEST(FindRoot, GeometricHalvingKeepsItsSentinelAndLastMidpoint) {
  RootSearch s;
  s.rule = RootRule::GeometricHalvingToValue;
  s.target = 1e9;  // above f(hi): never bracketed
  s.tolerance = 1.0;
  EXPECT_EQ(FindRoot(Cube, 0.01, 100.0, Cube(0.01), Cube(100.0), s), 1.0);
  // A NaN value leaves the target unbracketed as well.
  s.target = 8.0;
  EXPECT_EQ(FindRoot([](double) { return NAN; }, 0.01, 100.0, Cube(0.01), Cube(100.0), s), 1.0);
  // A tolerance of 0 is never met: the last of maxSteps midpoints comes back.
  s.target = 5.0;
  s.tolerance = 0.0;
  s.maxSteps = 3;
  // Midpoints 4 and 2 lie above the target, sqrt(2) below.
  EXPECT_NEAR(FindRoot(Cube, 1.0, 16.0, 1.0, Cube(16.0), s), std::sqrt(2.0), 1e-12);
}

TEST(FindRoot, IllinoisReachesTheArgumentTolerance) {
  int calls = 0;
  auto f = [&](double x) {
    ++calls;
    return Cube(x);
  };
  RootSearch s;
  s.rule = RootRule::IllinoisToArgument;
  s.target = 2.0;
  s.tolerance = 1e-12;
  const double x = FindRoot(f, 0.0, 2.0, 0.0, 8.0, s);
  EXPECT_NEAR(x, std::cbrt(2.0), 1e-12);
  EXPECT_LT(calls, 30);  // superlinear, not a bisection's 40 steps
  // An end that is already the root is returned as it is.
  EXPECT_EQ(FindRoot(Cube, 2.0, 3.0, 8.0, 27.0, {RootRule::IllinoisToArgument, 8.0, 1e-9, 200}),
            2.0);
}

TEST(FindRoot, IllinoisGivesNanWhereTheFunctionHasNoValue) {
  RootSearch s;
  s.target = 0.0;
  s.tolerance = 1e-9;
  auto holed = [](double x) { return x > 0.5 && x < 1.5 ? NAN : x - 1.0; };
  EXPECT_TRUE(std::isnan(FindRoot(holed, 0.0, 2.0, -1.0, 1.0, s)));
  // Infinite ends fall back to halving and still converge.
  auto steep = [](double x) { return x < 0.2 ? -INFINITY : x - 1.0; };
  EXPECT_NEAR(FindRoot(steep, 0.0, 2.0, -INFINITY, 1.0, s), 1.0, 1e-9);
}

TEST(WidenBracket, MovesTheFailingEndUntilTheSignChanges) {
  std::vector<double> at;
  auto f = [&](double x) {
    at.push_back(x);
    return x - 7.5;
  };
  const RootBracket up = WidenBracket(f, 0.0, 1.0, 1.0, 1.0, -10.0, 25.0);
  ASSERT_TRUE(up.found);
  EXPECT_EQ(up.lo, 7.0);
  EXPECT_EQ(up.hi, 8.0);
  EXPECT_EQ(at.front(), 0.0);  // the lower end first
  at.clear();
  // Growing steps from above: the lower end moves down 1, 2, 4, ...
  const RootBracket down = WidenBracket(f, 20.0, 21.0, 1.0, 2.0, -10.0, 25.0);
  ASSERT_TRUE(down.found);
  EXPECT_EQ(down.lo, 5.0);
  EXPECT_EQ(down.hi, 13.0);
  EXPECT_LT(down.fLo, 0.0);
  EXPECT_GT(down.fHi, 0.0);
  // Never past the limits.
  const RootBracket none = WidenBracket(f, 0.0, 1.0, 1.0, 1.0, -10.0, 5.0);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.hi, 5.0);
}

TEST(FitLine, ExactLinesAndLevelOnes) {
  const double x[] = {1.0, 2.0, 3.0, 4.0};
  const double y[] = {3.5, 5.5, 7.5, 9.5};
  const LineFit l = FitLine(x, y, 4);
  EXPECT_FALSE(l.level);
  EXPECT_DOUBLE_EQ(l.slope, 2.0);
  EXPECT_DOUBLE_EQ(l.offset, 1.5);
  // Noise around a line: the least-squares slope of the centred sums.
  const double noisy[] = {3.6, 5.4, 7.6, 9.4};
  EXPECT_NEAR(FitLine(x, noisy, 4).slope, 1.96, 1e-12);
  // One abscissa: no slope, the mean of y.
  const double same[] = {2.0, 2.0, 2.0};
  const LineFit flat = FitLine(same, y, 3);
  EXPECT_TRUE(flat.level);
  EXPECT_EQ(flat.slope, 0.0);
  EXPECT_DOUBLE_EQ(flat.offset, 5.5);
  const LineFit empty = FitLine(x, y, 0);
  EXPECT_TRUE(empty.level);
  EXPECT_EQ(empty.offset, 0.0);
}

TEST(Median, OddAndEvenSamplesInBothVariants) {
  struct Case {
    std::vector<double> v;
    double upper, averaged;
  };
  const Case cases[] = {
      {{7.0}, 7.0, 7.0},
      {{3.0, -1.0, 2.0}, 2.0, 2.0},
      {{4.0, 1.0, 3.0, 2.0}, 3.0, 2.5},
      {{5.0, 5.0, 1.0, 9.0, 5.0, 0.0}, 5.0, 5.0},
      {{1.0, 10.0}, 10.0, 5.5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Median(c.v, EvenMedian::Upper), c.upper) << c.v.size();
    EXPECT_EQ(Median(c.v, EvenMedian::Averaged), c.averaged) << c.v.size();
  }
  EXPECT_TRUE(std::isnan(Median({}, EvenMedian::Averaged)));
}

TEST(CorrelationCoefficient, DegenerateInputsGiveZero) {
  const double a[] = {1.0, 2.0, 3.0};
  const double constant[] = {0.1, 0.1, 0.1};
  EXPECT_EQ(CorrelationCoefficient(a, a, 0), 0.0);
  EXPECT_EQ(CorrelationCoefficient(a, a, 1), 0.0);
  EXPECT_EQ(CorrelationCoefficient(constant, a, 3), 0.0);
  EXPECT_EQ(CorrelationCoefficient(a, constant, 3), 0.0);
  // Rounding in the sums must not turn a constant array into a spread.
  std::vector<double> c(7, 0.7), ramp{1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(CorrelationCoefficient(c.data(), ramp.data(), 7), 0.0);
}

TEST(CorrelationCoefficient, RoundingNeverLeavesTheRange) {
  // A straight line whose sums round to a coefficient just beyond -1.
  const double x[] = {3.3949208089409417, 8.7107814540936026, 6.926218366896812};
  const double y[] = {-9.2637900907111614, -20.25903904556019, -16.567874673662104};
  EXPECT_EQ(CorrelationCoefficient(x, y, 3), -1.0);
  const double up[] = {9.2637900907111614, 20.25903904556019, 16.567874673662104};
  const double r = CorrelationCoefficient(x, up, 3);
  EXPECT_LE(r, 1.0);
  EXPECT_NEAR(r, 1.0, 1e-12);
}

TEST(CorrelationCoefficient, PearsonOfSmallExamples) {
  const double x[] = {1.0, 2.0, 3.0};
  const double y[] = {1.0, 2.0, 4.0};
  const double down[] = {6.0, 4.0, 2.0};
  EXPECT_NEAR(CorrelationCoefficient(x, y, 3), 3.0 / std::sqrt(28.0 / 3.0), 1e-12);
  EXPECT_NEAR(CorrelationCoefficient(x, x, 3), 1.0, 1e-12);
  EXPECT_NEAR(CorrelationCoefficient(x, down, 3), -1.0, 1e-12);
  const double withNan[] = {1.0, std::nan(""), 3.0};
  EXPECT_TRUE(std::isnan(CorrelationCoefficient(x, withNan, 3)));
}

TEST(ThreeEighths, ExactForCubicsAndNumbersItsCalls) {
  auto cubic = [](std::size_t, double x) { return 4 * x * x * x - x + 2; };
  // The integral of 4x^3 - x + 2 over [0, 3] is 81 - 4.5 + 6.
  EXPECT_NEAR(ThreeEighths(cubic, 0.0, 3.0, 3), 82.5, 1e-12);
  EXPECT_NEAR(ThreeEighths(cubic, 0.0, 3.0, 9), 82.5, 1e-12);
  std::vector<std::size_t> numbers;
  std::vector<double> xs;
  ThreeEighths(
      [&](std::size_t i, double x) {
        numbers.push_back(i);
        xs.push_back(x);
        return 0.0;
      },
      0.0, 6.0, 6);
  EXPECT_EQ(numbers, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(xs, (std::vector<double>{1, 2, 4, 5, 3, 0, 6}));
}

TEST(ThreeEighths, CallsTheIntegrandInRuleOrderOncePerAbscissa) {
  std::vector<double> abscissae;
  auto recording = [&](std::size_t, double x) {
    abscissae.push_back(x);
    return x * x;
  };
  const double exact = ThreeEighths(recording, 0.0, 3.0, 3);
  EXPECT_EQ(abscissae, (std::vector<double>{1.0, 2.0, 0.0, 3.0}));
  EXPECT_DOUBLE_EQ(exact, 9.0);  // exact for polynomials up to degree 3

  abscissae.clear();
  ThreeEighths(recording, 0.0, 4.0, 4);
  EXPECT_EQ(abscissae, (std::vector<double>{1.0, 2.0, 0.0, 4.0}));

  abscissae.clear();
  ThreeEighths(recording, 0.0, 6.0, 6);
  EXPECT_EQ(abscissae, (std::vector<double>{1.0, 2.0, 4.0, 5.0, 3.0, 0.0, 6.0}));

  // One model evaluation = normalisation + field = 2 x (N + 1) calls.
  for (int n : {3, 30, 900}) {
    abscissae.clear();
    ThreeEighths(recording, -1.0, 1.0, n);
    EXPECT_EQ(static_cast<int>(abscissae.size()), n + 1) << n;
  }
}

TEST(ThreeEighths, ConvergesOnSmoothIntegrands) {
  auto g = [](std::size_t, double x) { return std::exp(-x * x); };
  const double exact = std::sqrt(std::acos(-1.0)) * std::erf(2.0);
  EXPECT_NEAR(ThreeEighths(g, -2.0, 2.0, 300), exact, 1e-9);
  EXPECT_GT(std::fabs(ThreeEighths(g, -2.0, 2.0, 3) - exact), 1e-3);
}

}  // namespace
}  // namespace zx
