// The sign and the default cut of the V-I import on sweeps shaped like the
// real ones that went wrong: a dipping background under a small positive
// transition, a drift plateau below the transition, isolated spikes, a flat
// foot, two-way and reversed sweeps, overflowing values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "import/run.h"
#include "import/vi_to_ej.h"
#include "model/series_file.h"
#include "numeric/regression.h"

namespace zx {
namespace {

constexpr double kTap = 0.01, kWidth = 4e-3, kThick = 1e-6;
constexpr double kArea = kWidth * kThick;
constexpr double kIc = 80.0;  // A, where E reaches 1e-4 V/m

// A power-law transition of exponent 25 in V.
double Transition(double amps) { return 1e-4 * kTap * std::pow(amps / kIc, 25); }

struct Sweep {
  std::vector<double> i, v;
  void Add(double amps, double volts) {
    i.push_back(amps);
    v.push_back(volts);
  }
};

// 0..imax A in n steps: thermal offset, lead slope, transition, Gaussian
// noise of `noise` V, and whatever `extra` adds at a current.
template <class Extra>
Sweep MakeSweep(double imax, int n, double noise, Extra extra, unsigned seed = 7) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> gauss(0.0, noise);
  Sweep s;
  for (int k = 0; k <= n; ++k) {
    const double amps = imax * k / n;
    s.Add(amps, 3e-6 + 2e-9 * amps + Transition(amps) + extra(k, amps) + gauss(rng));
  }
  return s;
}
Sweep Plain(double imax = 90, int n = 900, double noise = 1e-8) {
  return MakeSweep(imax, n, noise, [](int, double) { return 0.0; });
}

ViImportSettings Settings() {
  ViImportSettings st;
  st.tapLength = kTap;
  st.width = kWidth;
  st.thickness = kThick;
  return st;
}

// Currents of the written points, lowest first.
std::vector<double> KeptCurrents(const ViImport& r) {
  std::vector<double> out;
  for (std::size_t k = 0; k < r.j.size(); ++k)
    if (r.kept[k]) out.push_back(r.j[k] * kArea);
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ImportSign, TheTransitionDecidesNotTheSumOverTheUpperRange) {
  // The background dips by up to 1.5 uV over 45..80 A; the transition only
  // reaches about +5.6 uV at the top. The corrected voltages above the
  // background region sum to a negative number.
  auto dip = [](int, double a) {
    return a > 45 && a < 80 ? -1.5e-6 * std::pow(std::sin(M_PI * (a - 45) / 35), 2) : 0.0;
  };
  const Sweep s = MakeSweep(86, 1104, 1e-8, dip);
  double sum = 0;
  for (std::size_t k = 0; k < s.i.size(); ++k)
    if (s.i[k] >= 43) sum += s.v[k] - 3e-6 - 2e-9 * s.i[k];
  ASSERT_LT(sum, 0.0);
  const ViImport r = ConvertViToEj(s.i, s.v, Settings());
  ASSERT_EQ(r.error, ImportError::None);
  EXPECT_FALSE(r.flipped);
  EXPECT_FALSE(r.signDoubtful);
  EXPECT_TRUE(r.signDisagrees);  // said on stderr and in the dialog
  // The transition is written, the dip is not.
  const std::vector<double> kept = KeptCurrents(r);
  ASSERT_GT(kept.size(), 50u);
  EXPECT_DOUBLE_EQ(kept.back(), 86.0);
  EXPECT_GT(kept.front(), 74.0);

  // Taps wired the other way round: the same curve, turned.
  Sweep reversed = Plain();
  for (double& v : reversed.v) v = -v;
  const ViImport t = ConvertViToEj(reversed.i, reversed.v, Settings());
  EXPECT_TRUE(t.flipped);
  EXPECT_FALSE(t.signDoubtful);
  EXPECT_FALSE(t.signDisagrees);
  EXPECT_GT(t.keptCount, 100);

  // A sweep that stops before the transition leaves the sign a guess.
  const ViImport flat = ConvertViToEj(Plain(50, 500).i, Plain(50, 500).v, Settings());
  EXPECT_TRUE(flat.signDoubtful);
}

TEST(ImportCut, KeepsTheTransitionAndDropsPlateauSpikesAndFoot) {
  // A drift plateau of 1.3e-5 V/m from 0.68 to 0.9 Ic, under the
  // transition, well above the 3-sigma floor.
  auto plateau = [](int, double a) { return a > 0.68 * kIc && a < 0.9 * kIc ? 1.3e-7 : 0.0; };
  const ViImport p = ConvertViToEj(Plain().i, MakeSweep(90, 900, 1e-8, plateau).v, Settings());
  ASSERT_EQ(p.error, ImportError::None);
  ASSERT_LT(p.minField, 1e-5);
  std::vector<double> kept = KeptCurrents(p);
  EXPECT_GT(kept.front(), 0.9 * kIc);
  EXPECT_GT(kept.size(), 100u);
  EXPECT_GT(p.aboveFloorLeftOut, 150);  // the plateau
  EXPECT_DOUBLE_EQ(p.cutCurrent, kept.front());
  // With the floor given, every point above it is written: the override.
  ViImportSettings given = Settings();
  given.minField = p.minField;
  const ViImport o = ConvertViToEj(Plain().i, MakeSweep(90, 900, 1e-8, plateau).v, given);
  EXPECT_LT(KeptCurrents(o).front(), 0.7 * kIc);

  // Isolated spikes: two in the background region, one below the
  // transition; none is joined to the transition by points above the floor.
  auto spikes = [](int k, double) { return k == 50 || k == 126 || k == 600 ? 3e-7 : 0.0; };
  const ViImport sp = ConvertViToEj(Plain().i, MakeSweep(90, 900, 1e-8, spikes).v, Settings());
  kept = KeptCurrents(sp);
  EXPECT_GT(kept.front(), 70.0);
  for (double a : {5.0, 12.6, 60.0}) EXPECT_EQ(std::count(kept.begin(), kept.end(), a), 0) << a;

  // A flat foot: a constant 2e-5 V/m residue that the transition rises out of.
  auto foot = [](int, double a) { return a > 45 ? 2e-7 : 0.0; };
  const ViImport f = ConvertViToEj(Plain().i, MakeSweep(90, 900, 1e-8, foot).v, Settings());
  kept = KeptCurrents(f);
  ASSERT_FALSE(kept.empty());
  // Where the transition alone is 2e-5 V/m: 0.938 Ic.
  EXPECT_GT(kept.front(), 0.93 * kIc);
  EXPECT_GT(f.aboveFloorLeftOut, 200);
}

// n from the written points: the slope of ln E over ln J.
double KeptExponent(const ViImport& r) {
  std::vector<double> x, y;
  for (std::size_t k = 0; k < r.j.size(); ++k)
    if (r.kept[k]) x.push_back(std::log(r.j[k])), y.push_back(std::log(r.e[k]));
  return FitLine(x.data(), y.data(), x.size()).slope;
}

TEST(ImportCut, LeavesOutTheSlowRiseBelowThePowerLaw) {
  // An n = 22 transition over a linear rise from 0.63 Ic (the logger
  // sweeps), swept to 1.05 or 1.12 Ic in 0.3 A steps; none: no rise.
  struct Case {
    double riseAtIc;  // V/m
    double top;       // of Ic
    int minLeftOut;   // points of the rise left out, at least
  };
  for (const Case c : {Case{1e-5, 1.12, 20}, Case{1e-5, 1.05, 25}, Case{3e-6, 1.12, 5},
                       Case{0.0, 1.05, 0}, Case{0.0, 1.12, 0}}) {
    SCOPED_TRACE(testing::Message() << c.riseAtIc << " V/m, top " << c.top);
    auto rise = [&](int, double a) {
      const double x = a / kIc;
      return 1e-4 * kTap * (std::pow(x, 22) - std::pow(x, 25)) +
             (x > 0.63 ? c.riseAtIc * kTap * (x - 0.63) / 0.37 : 0.0);
    };
    const int steps = static_cast<int>(c.top * kIc / 0.3);
    const ViImport r = ConvertViToEj(MakeSweep(c.top * kIc, steps, 1e-8, rise).i,
                                     MakeSweep(c.top * kIc, steps, 1e-8, rise).v, Settings());
    ASSERT_EQ(r.error, ImportError::None);
    EXPECT_NEAR(KeptExponent(r), 22.0, 2.2);
    EXPECT_GE(r.preRiseLeftOut, c.minLeftOut);
    if (c.riseAtIc == 0) {
      EXPECT_EQ(r.preRiseLeftOut, 0);
    }
    // The override writes the rise again.
    ViImportSettings given = Settings();
    given.minField = r.minField;
    const ViImport o = ConvertViToEj(MakeSweep(c.top * kIc, steps, 1e-8, rise).i,
                                     MakeSweep(c.top * kIc, steps, 1e-8, rise).v, given);
    EXPECT_GE(o.keptCount, r.keptCount + c.minLeftOut);
  }
}

TEST(ImportCut, TwoWaySweepsAndClosePointsKeepBothBranches) {
  // Up and down again: the two branches interleave in current.
  Sweep up = Plain(90, 450), s = up;
  for (int k = static_cast<int>(up.i.size()) - 1; k >= 0; --k) s.Add(up.i[k], up.v[k]);
  const ViImport r = ConvertViToEj(s.i, s.v, Settings());
  ASSERT_EQ(r.error, ImportError::None);
  const std::vector<double> kept = KeptCurrents(r);
  EXPECT_EQ(kept.size() % 2, 0u);
  EXPECT_GT(kept.front(), 70.0);
  // Every kept point lies above the floor and rises with J.
  for (std::size_t k = 0; k < r.j.size(); ++k)
    if (r.kept[k]) {
      EXPECT_GE(r.e[k], r.minField);
    }
}

TEST(ImportCut, NonFiniteValuesAreLeftOutAndCapsHold) {
  // Ic 1e308 A overflows J: that row is left out, the rest written.
  Sweep s = Plain();
  s.Add(1e308, 1e-3);
  const ViImport r = ConvertViToEj(s.i, s.v, Settings());
  ASSERT_EQ(r.error, ImportError::None);
  EXPECT_EQ(r.nonFinite, 1);
  for (std::size_t k = 0; k < r.j.size(); ++k)
    EXPECT_TRUE(std::isfinite(r.j[k]) && std::isfinite(r.e[k]));
  IcbImportSettings icb;
  icb.width = kWidth;
  icb.thickness = kThick;
  const IcbImport b = ConvertIcbToJcb({0.5, 1.0}, {1e308, 1e308}, icb);
  EXPECT_EQ(b.error, ImportError::NothingKept);
  const IcbImport b2 = ConvertIcbToJcb({0.5, 1.0}, {1e308, 100}, icb);
  EXPECT_EQ(b2.keptCount, 1);

  // Fewer than five points in the background range is an error that says so.
  const Sweep few = Plain(90, 6);
  EXPECT_EQ(ConvertViToEj(few.i, few.v, Settings()).error, ImportError::FewBackgroundPoints);

  // More points than a data file may hold are never written.
  ImportRequest rq;
  rq.kind = ImportKind::IcbToJcb;
  rq.icb = icb;
  ColumnPair rows;
  rows.opened = true;
  rows.x.assign(kMaxSeriesPoints + 1, 1.0);
  rows.y.assign(kMaxSeriesPoints + 1, 10.0);
  TableLayout layout;
  layout.opened = true;
  layout.fieldCount = 2;
  ImportOutcome o = ConvertRows(rq, layout, rows, 0, 1);
  EXPECT_EQ(o.error, ImportError::TooManyPoints);
  EXPECT_TRUE(o.bytes.empty());
  rows.x.pop_back();
  rows.y.pop_back();
  EXPECT_EQ(ConvertRows(rq, layout, rows, 0, 1).error, ImportError::None);
}

}  // namespace
}  // namespace zx
