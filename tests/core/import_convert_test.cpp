#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "import/icb_to_jcb.h"
#include "import/vi_to_ej.h"

namespace zx {
namespace {

constexpr double kTap = 0.01, kWidth = 4e-3, kThick = 1e-6;
constexpr double kOffset = -5e-8, kSlope = 2e-10;  // V, V/A

// The transition: no voltage up to 60 A, then a steep rise (V).
double Transition(double amps) { return amps <= 60 ? 0.0 : 1e-6 * std::pow((amps - 60) / 20, 4); }

struct Sweep {
  std::vector<double> i, v;  // in the units of the settings
};

// 1..100 A with a background; noise of +-d on the points below 50 A in a
// pattern that is orthogonal to a straight line, so the fit stays exact.
Sweep MakeSweep(double currentScale, double voltageScale, double d = 0, double sign = 1) {
  Sweep s;
  static const int kPattern[] = {1, -1, -1, 1};
  for (int k = 1; k <= 100; ++k) {
    const double amps = k;
    double volts = kOffset + kSlope * amps + sign * Transition(amps);
    if (k <= 48) volts += d * kPattern[(k - 1) % 4];
    s.i.push_back(amps / currentScale);
    s.v.push_back(volts / voltageScale);
  }
  return s;
}

ViImportSettings Settings(CurrentUnit cu, VoltageUnit vu) {
  ViImportSettings st;
  st.tapLength = kTap;
  st.width = kWidth;
  st.thickness = kThick;
  st.currentUnit = cu;
  st.voltageUnit = vu;
  return st;
}

void ExpectRelative(double got, double want, double tol = 1e-9) {
  EXPECT_LE(std::fabs(got - want), tol * std::fabs(want)) << got << " vs " << want;
}

TEST(ImportVi, BackgroundIsRemovedAndPointsComeBackInEveryUnit) {
  struct Case {
    CurrentUnit cu;
    VoltageUnit vu;
    double ci, cv;
  };
  for (const Case& c : {Case{CurrentUnit::A, VoltageUnit::V, 1, 1},
                        Case{CurrentUnit::mA, VoltageUnit::uV, 1e-3, 1e-6},
                        Case{CurrentUnit::A, VoltageUnit::mV, 1, 1e-3},
                        Case{CurrentUnit::A, VoltageUnit::nV, 1, 1e-9}}) {
    SCOPED_TRACE(UnitName(c.cu) + " " + UnitName(c.vu));
    const Sweep s = MakeSweep(c.ci, c.cv);
    ViImportSettings st = Settings(c.cu, c.vu);
    st.minField = 1e-9;
    const ViImport r = ConvertViToEj(s.i, s.v, st);
    ASSERT_EQ(r.error, ImportError::None);
    EXPECT_NEAR(r.offset, kOffset, 1e-18);
    EXPECT_NEAR(r.slope, kSlope, 1e-20);
    EXPECT_EQ(r.backgroundPoints, 49);  // below 50 A
    EXPECT_FALSE(r.flipped);
    EXPECT_FALSE(r.backgroundRises);
    // Points above 60 A carry the transition; E from 1e-9 V/m on is kept.
    int kept = 0;
    for (std::size_t k = 0; k < r.j.size(); ++k) {
      const double amps = static_cast<double>(k + 1);
      ExpectRelative(r.j[k], amps / (kWidth * kThick));
      if (Transition(amps) / kTap >= 1e-9) {
        ASSERT_TRUE(r.kept[k]) << amps;
        ExpectRelative(r.e[k], Transition(amps) / kTap);
        ++kept;
      } else {
        EXPECT_FALSE(r.kept[k]) << amps;
      }
    }
    EXPECT_EQ(r.keptCount, kept);
    EXPECT_EQ(r.droppedCount, 100 - kept);
  }
}

TEST(ImportVi, ReverseSweepNegativeTransitionAndNoiseFloor) {
  const double d = 3e-8;
  Sweep s = MakeSweep(1, 1e-6, d, -1);  // taps the other way round
  // A reverse sweep and a zero-current point are left out.
  for (int k = 1; k <= 10; ++k) {
    s.i.push_back(-10.0 * k);
    s.v.push_back(-1.0);
  }
  s.i.push_back(0.0);
  s.v.push_back(0.0);
  const ViImport r = ConvertViToEj(s.i, s.v, Settings(CurrentUnit::A, VoltageUnit::uV));
  ASSERT_EQ(r.error, ImportError::None);
  EXPECT_TRUE(r.flipped);
  EXPECT_EQ(r.j.size(), 100u);
  // The default floor: 3 standard deviations of the corrected background
  // (48 points at +-d and one without noise).
  ExpectRelative(r.minField, 3 * d * std::sqrt(48.0 / 49.0) / kTap, 1e-6);
  EXPECT_NEAR(r.offset, kOffset, 1e-15);
  int kept = 0;
  for (std::size_t k = 0; k < r.j.size(); ++k) {
    const double want = Transition(static_cast<double>(k + 1)) / kTap;
    if (r.kept[k]) {
      ++kept;
      EXPECT_GE(want, r.minField * (1 - 1e-6));
      ExpectRelative(r.e[k], want, 1e-6);
    } else if (k >= 48) {
      EXPECT_LT(want, r.minField * (1 + 1e-6));
    }
  }
  EXPECT_EQ(r.keptCount, kept);
  EXPECT_EQ(r.droppedCount, 111 - kept);
  EXPECT_GT(kept, 10);
}

TEST(ImportVi, ATransitionInsideTheFittedRegionIsNoticed) {
  std::vector<double> i, v;
  for (int k = 1; k <= 100; ++k) {
    i.push_back(k);
    v.push_back(kOffset + kSlope * k + (k > 30 ? 1e-9 * std::pow(k - 30, 3) : 0.0));
  }
  ViImportSettings st = Settings(CurrentUnit::A, VoltageUnit::V);
  EXPECT_TRUE(ConvertViToEj(i, v, st).backgroundRises);
  st.backgroundFraction = 0.3;  // below the onset: a clean fit
  const ViImport r = ConvertViToEj(i, v, st);
  EXPECT_FALSE(r.backgroundRises);
  EXPECT_NEAR(r.offset, kOffset, 1e-18);
}

TEST(ImportVi, BadInputsNameTheirField) {
  const Sweep s = MakeSweep(1, 1);
  auto error = [&](auto change) {
    ViImportSettings st = Settings(CurrentUnit::A, VoltageUnit::V);
    change(st);
    return ConvertViToEj(s.i, s.v, st).error;
  };
  EXPECT_EQ(error([](ViImportSettings& st) { st.tapLength = 0; }), ImportError::TapLength);
  EXPECT_EQ(error([](ViImportSettings& st) { st.width = -1; }), ImportError::Width);
  EXPECT_EQ(error([](ViImportSettings& st) { st.thickness = NAN; }), ImportError::Thickness);
  EXPECT_EQ(error([](ViImportSettings& st) { st.backgroundFraction = 1.5; }),
            ImportError::BackgroundFraction);
  EXPECT_EQ(error([](ViImportSettings& st) { st.minField = -1; }), ImportError::MinField);
  EXPECT_EQ(error([](ViImportSettings& st) { st.minField = 1.0; }), ImportError::NothingKept);
  const ViImportSettings ok = Settings(CurrentUnit::A, VoltageUnit::V);
  EXPECT_EQ(ConvertViToEj({}, {}, ok).error, ImportError::NoRows);
  EXPECT_EQ(ConvertViToEj({-1, -2}, {1, 2}, ok).error, ImportError::NothingKept);
  // No background region: nothing subtracted, every positive E kept.
  ViImportSettings none = ok;
  none.backgroundFraction = 0;
  const ViImport r = ConvertViToEj({1, 2, 3}, {1e-6, 2e-6, 4e-6}, none);
  EXPECT_EQ(r.offset, 0.0);
  EXPECT_EQ(r.minField, 0.0);
  EXPECT_EQ(r.keptCount, 3);
}

TEST(ImportIcb, CurrentsBecomeCurrentDensities) {
  IcbImportSettings st;
  st.width = kWidth;
  st.thickness = kThick;
  st.currentUnit = CurrentUnit::mA;
  const IcbImport r = ConvertIcbToJcb({0, 1, 2, 3}, {4000, 2000, 0, -5}, st);
  ASSERT_EQ(r.error, ImportError::None);
  ExpectRelative(r.jc[0], 4.0 / (kWidth * kThick));
  ExpectRelative(r.jc[1], 2.0 / (kWidth * kThick));
  EXPECT_EQ(r.kept, (std::vector<char>{1, 1, 0, 0}));
  EXPECT_EQ(r.keptCount, 2);
  EXPECT_EQ(r.droppedCount, 2);
  st.width = 0;
  EXPECT_EQ(ConvertIcbToJcb({1}, {1}, st).error, ImportError::Width);
}

}  // namespace
}  // namespace zx

namespace zx {
namespace {

TEST(ImportUnits, ColumnNamesCarryTheirUnitAsAWord) {
  EXPECT_EQ(CurrentUnitInName("I(mA)"), CurrentUnit::mA);
  EXPECT_EQ(CurrentUnitInName("iHTS_A"), CurrentUnit::A);
  EXPECT_EQ(VoltageUnitInName("V [uV]"), VoltageUnit::uV);
  EXPECT_EQ(VoltageUnitInName("vHTS_V"), VoltageUnit::V);
  EXPECT_EQ(VoltageUnitInName("\xC2\xB5V"), VoltageUnit::uV);  // a units line's "µV"
  EXPECT_EQ(VoltageUnitInName("mV"), VoltageUnit::mV);
  // Letters inside a word are no unit: "Amp", "Volt", "mAx" say nothing.
  EXPECT_EQ(CurrentUnitInName("Amp"), std::nullopt);
  EXPECT_EQ(VoltageUnitInName("Volt"), std::nullopt);
  EXPECT_EQ(CurrentUnitInName("mAx"), std::nullopt);
  EXPECT_EQ(CurrentUnitInName(""), std::nullopt);
}

}  // namespace
}  // namespace zx
