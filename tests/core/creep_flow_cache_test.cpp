// The cached kernel against the reference evaluation: same bits for the
// result and the working values, in every regime, whatever was cached
// before, and on several threads at once.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "calc/model.h"
#include "physics/constants.h"
#include "physics/creep_flow.h"

namespace zx {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

// The inputs and one evaluation point.
struct Point {
  CreepFlowInputs in = ToCreepFlowInputs(ModelParams{});
  double J = 0, B = 0, T = 0;
};

// Evaluates p with both kernels (the cached one keeps whatever it holds)
// and compares the results and what each leaves behind.
::testing::AssertionResult AgreesWithReference(const Point& p) {
  CreepFlowTrace fast, ref;
  const double e = CreepFlowE(p.in, p.J, p.T, p.B, &fast);
  const double r = CreepFlowEReference(p.in, p.J, p.T, p.B, &ref);
  const std::pair<const char*, std::pair<double, double>> checks[] = {
      {"E", {e, r}},
      {"distNorm", {fast.distNorm, ref.distNorm}},
      {"jc0", {fast.jc0, ref.jc0}},
      {"jc0Magnitude", {fast.jc0Magnitude, ref.jc0Magnitude}}};
  for (const auto& [what, v] : checks) {
    if (!SameBits(v.first, v.second))
      return ::testing::AssertionFailure()
             << what << ": cached " << v.first << " reference " << v.second << " at J=" << p.J
             << " B=" << p.B << " T=" << p.T << " N=" << p.in.intervals;
  }
  return ::testing::AssertionSuccess();
}

Point At(Point p, double J, double B, double T) {
  p.J = J;
  p.B = B;
  p.T = T;
  return p;
}

// log J from far below to far above the distribution's centre: extended
// lower limits, the core interval (both j branches) and extended upper ones.
std::vector<double> Sweep(int count) {
  std::vector<double> js;
  for (int k = 0; k < count; ++k) js.push_back(std::pow(10.0, 3.0 + 11.0 * k / (count - 1)));
  return js;
}

TEST(CachedModel, MatchesTheReferenceBitForBitAcrossEveryRegime) {
  struct Regime {
    const char* what;
    Point p;
    double B, T;
  };
  Point base;
  base.in.intervals = 60;
  std::vector<Regime> regimes;
  regimes.push_back({"defaults", base, 2.0, 20.0});
  Point thin = base;
  thin.in.d = 1e-12;
  regimes.push_back({"thin-sample potential", thin, 3.0, 15.0});
  Point thick = base;
  thick.in.d = 1.0;
  regimes.push_back({"bulk potential", thick, 3.0, 15.0});
  for (int nT : {1, 2})
    for (int nB : {1, 2}) {
      Point orders = base;
      orders.in.tcExponent = nT;
      orders.in.bcExponent = nB;
      regimes.push_back({"exponents", orders, 1.5, 25.0});
    }
  for (int n : {3, 4, 5, 6, 7, 900}) {
    Point steps = base;
    steps.in.intervals = n;
    regimes.push_back({"interval count", steps, 2.0, 20.0});
  }
  Point wide = base;
  wide.in.sigma2 = 0.9;
  wide.in.gamma = 0.3;
  wide.in.g2 = 7.0;
  regimes.push_back({"wide distribution", wide, 0.4, 8.0});
  const double tc = base.in.Tc;
  regimes.push_back({"T just below Tc", base, 1e-3, std::nextafter(tc, 0.0)});
  regimes.push_back({"T at Tc", base, 1.0, tc});
  regimes.push_back({"T above Tc", base, 1.0, tc * 1.01});
  const double t = 1 - (20.0 / tc) * (20.0 / tc);
  const double bc2 = base.in.Bc20 * t;
  regimes.push_back({"B just below Bc2(T)", base, bc2 * (1 - 1e-9), 20.0});
  regimes.push_back({"B at Bc2(T)", base, bc2, 20.0});
  regimes.push_back({"B zero", base, 0.0, 20.0});
  // Strong pinning at low temperature: deep creep, where many integrands
  // vanish and the back-hop term is negligible.
  Point strong = base;
  strong.in.Am = 1e10;
  regimes.push_back({"strong pinning, 4 K", strong, 1.0, 4.0});
  regimes.push_back({"strong pinning, 8 K", strong, 5.0, 8.0});
  // The bundle exactly as long as the sample at one abscissa.
  Point edge = base;
  {
    const CreepFlowInputs& q = base.in;
    const double xm = std::log10(q.Am), w = 4 * std::sqrt(q.sigma2);
    const double h = (2 * w) / q.intervals;
    const double jc0 = Jc0Magnitude(ScaledJc0(q, std::pow(10, 30.0 * h + (xm - w)), 20.0, 2.0));
    const double af = std::sqrt(2 * physics::kFluxQuantum / (std::sqrt(3.0) * 2.0));
    edge.in.d = std::sqrt(af * 2.0) / std::sqrt(physics::kMu0 * q.zeta * jc0);
  }
  regimes.push_back({"L equal to d", edge, 2.0, 20.0});
  regimes.push_back({"T zero", base, 2.0, 0.0});

  int compared = 0;
  for (const Regime& r : regimes) {
    SCOPED_TRACE(r.what);
    // Rising, then falling, so that cached tables are met from both sides.
    std::vector<double> js = Sweep(r.p.in.intervals == 900 ? 24 : 40);
    for (double J : js) {
      EXPECT_TRUE(AgreesWithReference(At(r.p, J, r.B, r.T)));
      ++compared;
    }
    for (auto it = js.rbegin(); it != js.rend(); ++it) {
      EXPECT_TRUE(AgreesWithReference(At(r.p, *it * 1.37, r.B, r.T)));
      ++compared;
    }
  }
  EXPECT_GE(compared, 1000);
}

TEST(CachedModel, SpecialInputsGiveTheReferenceBitPatterns) {
  Point p;
  p.in.intervals = 30;
  const std::vector<std::pair<const char*, Point>> cases = [&] {
    std::vector<std::pair<const char*, Point>> c;
    c.push_back({"J zero", At(p, 0.0, 2.0, 20.0)});
    c.push_back({"J negative", At(p, -1e9, 2.0, 20.0)});
    c.push_back({"J infinite", At(p, kInf, 2.0, 20.0)});
    c.push_back({"J NaN", At(p, kNaN, 2.0, 20.0)});
    c.push_back({"B NaN", At(p, 1e9, kNaN, 20.0)});
    c.push_back({"B -0", At(p, 1e9, -0.0, 20.0)});
    c.push_back({"T negative", At(p, 1e9, 2.0, -5.0)});
    Point q = At(p, 1e9, 2.0, 20.0);
    q.in.sigma2 = 0.0;
    c.push_back({"sigma^2 zero", q});
    q.in.sigma2 = kNaN;
    c.push_back({"sigma^2 NaN", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.in.Am = -1.0;
    c.push_back({"A_m negative", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.in.intervals = 0;
    c.push_back({"N zero", q});
    q.in.intervals = -7;
    c.push_back({"N negative", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.in.d = -0.0;
    c.push_back({"d -0", q});
    q.in.zeta = kInf;
    c.push_back({"zeta infinite", q});
    return c;
  }();
  for (const auto& [what, params] : cases) {
    SCOPED_TRACE(what);
    EXPECT_TRUE(AgreesWithReference(params));
    EXPECT_TRUE(AgreesWithReference(params));  // again, from the cache
  }
}

// Each input the model reads, with a changed value.
struct InputChange {
  const char* name;
  void (*change)(Point&);
  bool normalisation;  // the normalisation integral depends on it
};

const InputChange kChanges[] = {
    {"Am", [](Point& p) { p.in.Am = 3e9; }, true},
    {"sigma2", [](Point& p) { p.in.sigma2 = 0.2; }, true},
    {"intervals", [](Point& p) { p.in.intervals = 33; }, true},
    {"gamma", [](Point& p) { p.in.gamma = 0.5; }, false},
    {"m", [](Point& p) { p.in.m = 2.0; }, false},
    {"g2", [](Point& p) { p.in.g2 = 3.0; }, false},
    {"B", [](Point& p) { p.B = 2.5; }, false},
    {"T", [](Point& p) { p.T = 22.0; }, false},
    {"Tc", [](Point& p) { p.in.Tc = 35.0; }, false},
    {"Bc20", [](Point& p) { p.in.Bc20 = 12.0; }, false},
    {"rhon0", [](Point& p) { p.in.rhon0 = 3e-6; }, false},
    {"d", [](Point& p) { p.in.d = 1e-9; }, false},
    {"zeta", [](Point& p) { p.in.zeta = 3.0; }, false},
    {"tcExponent", [](Point& p) { p.in.tcExponent = 1; }, false},
    {"bcExponent", [](Point& p) { p.in.bcExponent = 1; }, false},
};

TEST(CachedModel, EveryInputChangeRebuildsWhatDependsOnIt) {
  Point base = At(Point{}, 2e8, 2.0, 20.0);
  base.in.intervals = 30;
  for (const InputChange& c : kChanges) {
    SCOPED_TRACE(c.name);
    const double before = CreepFlowE(base.in, base.J, base.T, base.B);
    const CreepFlowCacheStats s0 = ThreadCreepFlowCacheStats();
    Point changed = base;
    c.change(changed);
    EXPECT_TRUE(AgreesWithReference(changed));
    const CreepFlowCacheStats s1 = ThreadCreepFlowCacheStats();
    EXPECT_EQ(s1.setupBuilds, s0.setupBuilds + 1);
    EXPECT_EQ(s1.normBuilds, s0.normBuilds + (c.normalisation ? 1 : 0));
    // the change matters to the result
    EXPECT_NE(CreepFlowE(changed.in, changed.J, changed.T, changed.B), before);
  }
}

TEST(CachedModel, KeysAreExactBitPatterns) {
  Point p = At(Point{}, 2e8, 2.0, 20.0);
  p.in.intervals = 30;
  p.in.d = 0.0;
  EXPECT_TRUE(AgreesWithReference(p));
  CreepFlowCacheStats s0 = ThreadCreepFlowCacheStats();
  p.in.d = -0.0;  // equal as a number, another input all the same
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadCreepFlowCacheStats().setupBuilds, s0.setupBuilds + 1);

  p.in.zeta = kNaN;  // a NaN input is found again, not rebuilt every time
  EXPECT_TRUE(AgreesWithReference(p));
  s0 = ThreadCreepFlowCacheStats();
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadCreepFlowCacheStats().setupBuilds, s0.setupBuilds);
  EXPECT_EQ(ThreadCreepFlowCacheStats().tableBuilds, s0.tableBuilds);
}

TEST(CachedModel, TablesFollowTheIntegrationLimits) {
  Point p = At(Point{}, 0, 2.0, 20.0);
  const double jcm = Jc0Magnitude(ScaledJc0(p.in, p.in.Am, p.T, p.B));
  ClearThreadCreepFlowCache();
  const CreepFlowCacheStats cleared = ThreadCreepFlowCacheStats();
  // Inside the core interval the limits stay put: one table serves all.
  for (double f : {0.3, 0.6, 1.0, 1.5, 3.0}) {
    p.J = jcm * f;
    EXPECT_TRUE(AgreesWithReference(p));
  }
  EXPECT_EQ(ThreadCreepFlowCacheStats().tableBuilds, cleared.tableBuilds + 1);
  CreepFlowCacheStats s0 = ThreadCreepFlowCacheStats();
  p.J = jcm * 0.5;
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadCreepFlowCacheStats().tableBuilds, s0.tableBuilds);
  EXPECT_EQ(ThreadCreepFlowCacheStats().normBuilds, s0.normBuilds);
  // Far outside, every J has limits of its own.
  for (double f : {1e-4, 1e-5, 1e4, 1e5}) {
    s0 = ThreadCreepFlowCacheStats();
    p.J = jcm * f;
    EXPECT_TRUE(AgreesWithReference(p));
    EXPECT_EQ(ThreadCreepFlowCacheStats().tableBuilds, s0.tableBuilds + 1);
  }
}

TEST(CachedModel, ThreadsEvaluatingAtOnceKeepTheirOwnCaches) {
  struct Work {
    Point p;
    std::vector<double> expected, got;
  };
  std::vector<Work> work(4);
  const std::vector<double> js = Sweep(30);
  for (std::size_t w = 0; w < work.size(); ++w) {
    work[w].p = At(Point{}, 0, 1.0 + static_cast<double>(w), 10.0 + 5.0 * static_cast<double>(w));
    work[w].p.in.intervals = 45;
    work[w].p.in.tcExponent = 1 + static_cast<int>(w % 2);
    for (double J : js) {
      const Point& q = work[w].p;
      work[w].expected.push_back(CreepFlowEReference(q.in, J, q.T, q.B));
    }
  }
  std::vector<std::thread> threads;
  for (Work& w : work)
    threads.emplace_back([&w, &js] {
      for (int round = 0; round < 3; ++round)
        for (double J : js) {
          w.got.push_back(CreepFlowE(w.p.in, J, w.p.T, w.p.B));
        }
    });
  for (std::thread& t : threads) t.join();
  for (const Work& w : work) {
    ASSERT_EQ(w.got.size(), 3 * js.size());
    for (std::size_t i = 0; i < w.got.size(); ++i)
      EXPECT_TRUE(SameBits(w.got[i], w.expected[i % js.size()])) << i;
  }
}

}  // namespace
}  // namespace zx
