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
#include "calc/model_constants.h"

namespace zx {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
         (std::isnan(a) && std::isnan(b));
}

// Evaluates p with both kernels (the cached one keeps whatever it holds)
// and compares the results and every working value.
::testing::AssertionResult AgreesWithReference(const ModelWork& p) {
  ModelWork fast = p, ref = p;
  const double e = EvaluateE(fast);
  const double r = EvaluateELiteral(ref);
  const std::pair<const char*, std::pair<double, double>> checks[] = {
      {"E", {e, r}},
      {"DistNorm", {fast.DistNorm, ref.DistNorm}},
      {"Jc0", {fast.Jc0, ref.Jc0}},
      {"Jc0Im", {fast.Jc0Im, ref.Jc0Im}},
      {"Jc0Abs", {fast.Jc0Abs, ref.Jc0Abs}}};
  for (const auto& [what, v] : checks) {
    if (!SameBits(v.first, v.second))
      return ::testing::AssertionFailure()
             << what << ": cached " << v.first << " reference " << v.second << " at J=" << p.EvalJ
             << " B=" << p.EvalB << " T=" << p.EvalT << " N=" << p.IntStepNum;
  }
  return ::testing::AssertionSuccess();
}

ModelWork At(ModelWork p, double J, double B, double T) {
  p.EvalJ = J;
  p.EvalB = B;
  p.EvalT = T;
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
    ModelWork p;
    double B, T;
  };
  ModelWork base;
  base.IntStepNum = 60;
  std::vector<Regime> regimes;
  regimes.push_back({"defaults", base, 2.0, 20.0});
  ModelWork thin = base;
  thin.Thickness = 1e-12;
  regimes.push_back({"thin-sample potential", thin, 3.0, 15.0});
  ModelWork thick = base;
  thick.Thickness = 1.0;
  regimes.push_back({"bulk potential", thick, 3.0, 15.0});
  for (int tcn : {0, 1})
    for (int bcn : {0, 1}) {
      ModelWork orders = base;
      orders.Tcn = tcn;
      orders.Bcn = bcn;
      regimes.push_back({"Tcn/Bcn", orders, 1.5, 25.0});
    }
  for (int n : {3, 4, 5, 6, 7, 900}) {
    ModelWork steps = base;
    steps.IntStepNum = n;
    regimes.push_back({"interval count", steps, 2.0, 20.0});
  }
  ModelWork wide = base;
  wide.Sigma_2 = 0.9;
  wide.Re_Gamma = 0.3;
  wide.Re_g_2 = 7.0;
  regimes.push_back({"wide distribution", wide, 0.4, 8.0});
  const double tc = base.T_c;
  regimes.push_back({"T just below Tc", base, 1e-3, std::nextafter(tc, 0.0)});
  regimes.push_back({"T at Tc", base, 1.0, tc});
  regimes.push_back({"T above Tc", base, 1.0, tc * 1.01});
  const double t = 1 - (20.0 / tc) * (20.0 / tc);
  const double bc2 = base.B_c2_0 * t;
  regimes.push_back({"B just below Bc2(T)", base, bc2 * (1 - 1e-9), 20.0});
  regimes.push_back({"B at Bc2(T)", base, bc2, 20.0});
  regimes.push_back({"B zero", base, 0.0, 20.0});
  // Strong pinning at low temperature: deep creep, where many integrands
  // vanish and the back-hop term is negligible.
  ModelWork strong = base;
  strong.Re_A_m = 1e10;
  regimes.push_back({"strong pinning, 4 K", strong, 1.0, 4.0});
  regimes.push_back({"strong pinning, 8 K", strong, 5.0, 8.0});
  // The bundle exactly as long as the sample at one abscissa.
  ModelWork edge = base;
  {
    ModelWork q = At(base, 0, 2.0, 20.0);
    const double xm = std::log10(q.Re_A_m), w = 4 * std::sqrt(q.Sigma_2);
    const double h = (2 * w) / q.IntStepNum;
    ScaleJc0(q, std::pow(10, 30.0 * h + (xm - w)));
    const double af = std::sqrt(2 * model_detail::kFluxQuantum / (std::sqrt(3.0) * 2.0));
    edge.Thickness = std::sqrt(af * 2.0) / std::sqrt(model_detail::kMu0 * q.Re_Zeta * q.Jc0Abs);
  }
  regimes.push_back({"L equal to d", edge, 2.0, 20.0});
  regimes.push_back({"T zero", base, 2.0, 0.0});

  int compared = 0;
  for (const Regime& r : regimes) {
    SCOPED_TRACE(r.what);
    // Rising, then falling, so that cached tables are met from both sides.
    std::vector<double> js = Sweep(r.p.IntStepNum == 900 ? 24 : 40);
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
  ModelWork p;
  p.IntStepNum = 30;
  const std::vector<std::pair<const char*, ModelWork>> cases = [&] {
    std::vector<std::pair<const char*, ModelWork>> c;
    c.push_back({"J zero", At(p, 0.0, 2.0, 20.0)});
    c.push_back({"J negative", At(p, -1e9, 2.0, 20.0)});
    c.push_back({"J infinite", At(p, kInf, 2.0, 20.0)});
    c.push_back({"J NaN", At(p, kNaN, 2.0, 20.0)});
    c.push_back({"B NaN", At(p, 1e9, kNaN, 20.0)});
    c.push_back({"B -0", At(p, 1e9, -0.0, 20.0)});
    c.push_back({"T negative", At(p, 1e9, 2.0, -5.0)});
    ModelWork q = At(p, 1e9, 2.0, 20.0);
    q.Sigma_2 = 0.0;
    c.push_back({"sigma^2 zero", q});
    q.Sigma_2 = kNaN;
    c.push_back({"sigma^2 NaN", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.Re_A_m = -1.0;
    c.push_back({"A_m negative", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.IntStepNum = 0;
    c.push_back({"N zero", q});
    q.IntStepNum = -7;
    c.push_back({"N negative", q});
    q = At(p, 1e9, 2.0, 20.0);
    q.Thickness = -0.0;
    c.push_back({"d -0", q});
    q.Re_Zeta = kInf;
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
  void (*change)(ModelWork&);
  bool normalisation;  // the normalisation integral depends on it
};

const InputChange kChanges[] = {
    {"Re_A_m", [](ModelWork& p) { p.Re_A_m = 3e9; }, true},
    {"Sigma_2", [](ModelWork& p) { p.Sigma_2 = 0.2; }, true},
    {"IntStepNum", [](ModelWork& p) { p.IntStepNum = 33; }, true},
    {"Re_Gamma", [](ModelWork& p) { p.Re_Gamma = 0.5; }, false},
    {"Re_m", [](ModelWork& p) { p.Re_m = 2.0; }, false},
    {"Re_g_2", [](ModelWork& p) { p.Re_g_2 = 3.0; }, false},
    {"EvalB", [](ModelWork& p) { p.EvalB = 2.5; }, false},
    {"EvalT", [](ModelWork& p) { p.EvalT = 22.0; }, false},
    {"T_c", [](ModelWork& p) { p.T_c = 35.0; }, false},
    {"B_c2_0", [](ModelWork& p) { p.B_c2_0 = 12.0; }, false},
    {"Rho_n_0", [](ModelWork& p) { p.Rho_n_0 = 3e-6; }, false},
    {"Thickness", [](ModelWork& p) { p.Thickness = 1e-9; }, false},
    {"Re_Zeta", [](ModelWork& p) { p.Re_Zeta = 3.0; }, false},
    {"Tcn", [](ModelWork& p) { p.Tcn = 0; }, false},
    {"Bcn", [](ModelWork& p) { p.Bcn = 0; }, false},
};

TEST(CachedModel, EveryInputChangeRebuildsWhatDependsOnIt) {
  ModelWork base = At(ModelWork{}, 2e8, 2.0, 20.0);
  base.IntStepNum = 30;
  for (const InputChange& c : kChanges) {
    SCOPED_TRACE(c.name);
    ModelWork warm = base;
    const double before = EvaluateE(warm);
    const ModelCacheStats s0 = ThreadModelCacheStats();
    ModelWork changed = base;
    c.change(changed);
    EXPECT_TRUE(AgreesWithReference(changed));
    const ModelCacheStats s1 = ThreadModelCacheStats();
    EXPECT_EQ(s1.setupBuilds, s0.setupBuilds + 1);
    EXPECT_EQ(s1.normBuilds, s0.normBuilds + (c.normalisation ? 1 : 0));
    ModelWork again = changed;
    EXPECT_NE(EvaluateE(again), before);  // the change matters to the result
  }
}

TEST(CachedModel, KeysAreExactBitPatterns) {
  ModelWork p = At(ModelWork{}, 2e8, 2.0, 20.0);
  p.IntStepNum = 30;
  p.Thickness = 0.0;
  EXPECT_TRUE(AgreesWithReference(p));
  ModelCacheStats s0 = ThreadModelCacheStats();
  p.Thickness = -0.0;  // equal as a number, another input all the same
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadModelCacheStats().setupBuilds, s0.setupBuilds + 1);

  p.Re_Zeta = kNaN;  // a NaN input is found again, not rebuilt every time
  EXPECT_TRUE(AgreesWithReference(p));
  s0 = ThreadModelCacheStats();
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadModelCacheStats().setupBuilds, s0.setupBuilds);
  EXPECT_EQ(ThreadModelCacheStats().tableBuilds, s0.tableBuilds);
}

TEST(CachedModel, TablesFollowTheIntegrationLimits) {
  ModelWork p = At(ModelWork{}, 0, 2.0, 20.0);
  ScaleJc0(p, p.Re_A_m);
  const double jcm = p.Jc0Abs;
  ClearThreadModelCache();
  const ModelCacheStats cleared = ThreadModelCacheStats();
  // Inside the core interval the limits stay put: one table serves all.
  for (double f : {0.3, 0.6, 1.0, 1.5, 3.0}) {
    p.EvalJ = jcm * f;
    EXPECT_TRUE(AgreesWithReference(p));
  }
  EXPECT_EQ(ThreadModelCacheStats().tableBuilds, cleared.tableBuilds + 1);
  ModelCacheStats s0 = ThreadModelCacheStats();
  p.EvalJ = jcm * 0.5;
  EXPECT_TRUE(AgreesWithReference(p));
  EXPECT_EQ(ThreadModelCacheStats().tableBuilds, s0.tableBuilds);
  EXPECT_EQ(ThreadModelCacheStats().normBuilds, s0.normBuilds);
  // Far outside, every J has limits of its own.
  for (double f : {1e-4, 1e-5, 1e4, 1e5}) {
    s0 = ThreadModelCacheStats();
    p.EvalJ = jcm * f;
    EXPECT_TRUE(AgreesWithReference(p));
    EXPECT_EQ(ThreadModelCacheStats().tableBuilds, s0.tableBuilds + 1);
  }
}

TEST(CachedModel, ThreadsEvaluatingAtOnceKeepTheirOwnCaches) {
  struct Work {
    ModelWork p;
    std::vector<double> expected, got;
  };
  std::vector<Work> work(4);
  const std::vector<double> js = Sweep(30);
  for (std::size_t w = 0; w < work.size(); ++w) {
    work[w].p =
        At(ModelWork{}, 0, 1.0 + static_cast<double>(w), 10.0 + 5.0 * static_cast<double>(w));
    work[w].p.IntStepNum = 45;
    work[w].p.Tcn = static_cast<int>(w % 2);
    for (double J : js) {
      ModelWork q = work[w].p;
      q.EvalJ = J;
      work[w].expected.push_back(EvaluateELiteral(q));
    }
  }
  std::vector<std::thread> threads;
  for (Work& w : work)
    threads.emplace_back([&w, &js] {
      for (int round = 0; round < 3; ++round)
        for (double J : js) {
          w.p.EvalJ = J;
          w.got.push_back(EvaluateE(w.p));
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
