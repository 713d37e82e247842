#include "physics/creep_flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/model.h"
#include "literal_model.h"
#include "numeric/quadrature.h"

namespace zx {
namespace {

using literal::LiteralBranches;
using literal::LiteralInputs;
using literal::LiteralModel;

ModelParams ParamsFrom(const LiteralInputs& in) {
  ModelParams p;
  p.Re_A_m = in.Am;
  p.Sigma_2 = in.sigma2;
  p.Re_Gamma = in.gamma;
  p.Re_m = in.m;
  p.Re_g_2 = in.g2;
  p.T_c = in.Tc;
  p.B_c2_0 = in.Bc20;
  p.Rho_n_0 = in.rhon0;
  p.Re_Zeta = in.zeta;
  p.Thickness = in.d;
  p.Tcn = in.Tcn;
  p.Bcn = in.Bcn;
  p.IntStepNum = in.N;
  return p;
}

double ProgramE(const LiteralInputs& in, double J, double B, double T) {
  return CreepFlowE(ToCreepFlowInputs(ParamsFrom(in)), J, T, B);
}

// Same bits, or both not a number.
void ExpectIdentical(double program, double literal, const char* what) {
  if (std::isnan(literal)) {
    EXPECT_TRUE(std::isnan(program)) << what;
  } else {
    EXPECT_EQ(program, literal) << what;
  }
}

TEST(CreepFlowE, MatchesLiteralFormulasBitForBitInEveryRegime) {
  struct Case {
    const char* what;
    LiteralInputs in;
    double J, B, T;
  };
  LiteralInputs base;
  base.N = 90;
  std::vector<Case> cases;
  cases.push_back({"defaults, J near Jcm", base, 1e9, 2.0, 20.0});
  cases.push_back({"J far below Jcm (lower limit extended)", base, 1e3, 2.0, 20.0});
  cases.push_back({"J far above Jcm (upper limit extended)", base, 1e14, 2.0, 20.0});
  LiteralInputs thick = base;
  thick.d = 1.0;  // every bundle shorter than the sample: bulk potential
  cases.push_back({"L <= d everywhere", thick, 1e8, 3.0, 15.0});
  LiteralInputs thin = base;
  thin.d = 1e-12;  // every bundle longer: thin-sample potential
  cases.push_back({"L > d everywhere", thin, 1e8, 3.0, 15.0});
  LiteralInputs linearOrders = base;
  linearOrders.Tcn = 0;
  linearOrders.Bcn = 0;
  cases.push_back({"Tcn 0, Bcn 0", linearOrders, 5e8, 1.0, 30.0});
  LiteralInputs mixed = base;
  mixed.Tcn = 0;
  cases.push_back({"Tcn 0, Bcn 1", mixed, 5e8, 4.0, 10.0});
  mixed.Tcn = 1;
  mixed.Bcn = 0;
  cases.push_back({"Tcn 1, Bcn 0", mixed, 5e8, 4.0, 10.0});
  LiteralInputs n3 = base;
  n3.N = 3;
  cases.push_back({"N = 3", n3, 1e9, 2.0, 20.0});
  LiteralInputs n4 = base;
  n4.N = 4;
  cases.push_back({"N = 4 (abscissa 3 never used)", n4, 1e9, 2.0, 20.0});
  LiteralInputs wide = base;
  wide.sigma2 = 0.7;
  wide.gamma = 0.3;
  wide.m = 1.5;
  wide.g2 = 4.0;
  cases.push_back({"wide distribution", wide, 3e7, 0.5, 5.0});
  cases.push_back({"T >= Tc", base, 1e9, 2.0, 40.0});
  cases.push_back({"B above Bc2(T)", base, 1e9, 8.9, 20.0});

  LiteralBranches total;
  for (const Case& c : cases) {
    LiteralModel ref(c.in);
    const double literal = ref.E(c.J, c.B, c.T);
    ExpectIdentical(ProgramE(c.in, c.J, c.B, c.T), literal, c.what);
    // The pure entry point, fed one input set after another, keeps the bits.
    const ModelParams inputs = ParamsFrom(c.in);
    ExpectIdentical(ModelE(inputs, c.J, c.T, c.B), literal, c.what);
    total.creep += ref.branches.creep;
    total.flow += ref.branches.flow;
    total.thin += ref.branches.thin;
    total.bulk += ref.branches.bulk;
  }
  // The cases reach both branches of the potential and of the creep law.
  EXPECT_GT(total.creep, 0);
  EXPECT_GT(total.flow, 0);
  EXPECT_GT(total.thin, 0);
  EXPECT_GT(total.bulk, 0);

  LiteralModel thinRef(thin);
  thinRef.E(1e8, 3.0, 15.0);
  EXPECT_EQ(thinRef.branches.bulk, 0);
  LiteralModel thickRef(thick);
  thickRef.E(1e8, 3.0, 15.0);
  EXPECT_EQ(thickRef.branches.thin, 0);
}

TEST(CreepFlowE, DefaultIntervalCountMatchesLiteralAndGivesAFiniteField) {
  LiteralInputs in;  // N = 900
  LiteralModel ref(in);
  const double literal = ref.E(1e9, 2.0, 20.0);
  EXPECT_EQ(ProgramE(in, 1e9, 2.0, 20.0), literal);
  EXPECT_TRUE(std::isfinite(literal));
  EXPECT_GT(literal, 0);
}

TEST(CreepFlowE, DegenerateInputsGiveSpecialValuesWithoutStopping) {
  LiteralInputs in;
  in.N = 30;
  LiteralInputs flat = in;
  flat.sigma2 = 0;
  EXPECT_FALSE(std::isfinite(ProgramE(flat, 1e9, 2.0, 20.0)));
  EXPECT_FALSE(std::isfinite(ProgramE(in, 1e9, 0.0, 20.0)));
  // kT = 0: whatever the formulas give (NaN included), and no trap.
  const double frozen = ProgramE(in, 1e9, 2.0, 0.0);
  const double frozenLiteral = LiteralModel(in).E(1e9, 2.0, 0.0);
  EXPECT_TRUE(frozen == frozenLiteral || (std::isnan(frozen) && std::isnan(frozenLiteral)))
      << frozen << " " << frozenLiteral;
  LiteralInputs none = in;
  none.N = 0;
  EXPECT_TRUE(std::isnan(ProgramE(none, 1e9, 2.0, 20.0)));
}

TEST(ScaledJc0, GivesTheScalingLawAndZeroOutsideTheSuperconductingRegion) {
  CreepFlowInputs in = ToCreepFlowInputs(ModelParams{});
  in.tcExponent = 2;
  in.bcExponent = 1;
  in.m = 2.0;
  const double T = 19.5;  // T/Tc = 0.5
  const double jc0 = ScaledJc0(in, 1e9, T, 1.0);
  const double t = 1 - 0.25;
  EXPECT_DOUBLE_EQ(jc0, 1e9 * t * t * (1 - 1.0 / (9.0 * t)));
  EXPECT_EQ(Jc0Magnitude(jc0), jc0);

  const double atBc2 = ScaledJc0(in, 1e9, T, 9.0 * t);  // exactly Bc2(T)
  EXPECT_EQ(atBc2, 0.0);
  EXPECT_EQ(Jc0Magnitude(atBc2), 0.0);
  EXPECT_EQ(Jc0Magnitude(ScaledJc0(in, 1e9, 39.0, 1.0)), 0.0);
}

TEST(ScaledJc0, MagnitudeIsTheRootOfTheSquare) {
  EXPECT_EQ(Jc0Magnitude(-3e9), 3e9);
  // Where the square leaves the range of doubles the root does too.
  EXPECT_EQ(Jc0Magnitude(1e-170), 0.0);
  EXPECT_TRUE(std::isinf(Jc0Magnitude(1e170)));
}

TEST(PinningWeight, IntegratesToOneAfterNormalisation) {
  const CreepFlowInputs in = ToCreepFlowInputs(ModelParams{});
  CreepFlowTrace trace;
  CreepFlowE(in, 1e9, 20.0, 2.0, &trace);
  const double xm = std::log10(in.Am), s = std::sqrt(in.sigma2);
  auto omega = [&](std::size_t, double x) { return PinningWeight(in, trace.distNorm, x); };
  EXPECT_NEAR(ThreeEighths(omega, xm - 10 * s, xm + 10 * s, 900), 1.0, 1e-12);
}

TEST(ToCreepFlowInputs, OrdersBecomeExponents) {
  ModelParams p;
  p.Tcn = 0;
  p.Bcn = 1;
  CreepFlowInputs in = ToCreepFlowInputs(p);
  EXPECT_EQ(in.tcExponent, 1);
  EXPECT_EQ(in.bcExponent, 2);
  p.Tcn = 1;
  p.Bcn = 0;
  in = ToCreepFlowInputs(p);
  EXPECT_EQ(in.tcExponent, 2);
  EXPECT_EQ(in.bcExponent, 1);
  // Only order 0 is linear, as the scaling law always read the orders.
  p.Tcn = 5;
  EXPECT_EQ(ToCreepFlowInputs(p).tcExponent, 2);
  EXPECT_EQ(UpperCriticalField(ToCreepFlowInputs(p), 19.5), 9.0 * 0.75);
}

}  // namespace
}  // namespace zx
