#include "calc/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "literal_model.h"

namespace zx {
namespace {

using literal::LiteralBranches;
using literal::LiteralInputs;
using literal::LiteralModel;

ModelWork ParamsFrom(const LiteralInputs& in) {
  ModelWork p;
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
  ModelWork p = ParamsFrom(in);
  // Stale working values must not matter.
  p.DistNorm = 123.0;
  p.Jc0 = p.Jc0Abs = 7.0;
  p.EvalJ = J;
  p.EvalB = B;
  p.EvalT = T;
  return EvaluateE(p);
}

// Same bits, or both not a number.
void ExpectIdentical(double program, double literal, const char* what) {
  if (std::isnan(literal)) {
    EXPECT_TRUE(std::isnan(program)) << what;
  } else {
    EXPECT_EQ(program, literal) << what;
  }
}

TEST(EvaluateE, MatchesLiteralFormulasBitForBitInEveryRegime) {
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

TEST(EvaluateE, DefaultIntervalCountMatchesLiteralAndGivesAFiniteField) {
  LiteralInputs in;  // N = 900
  LiteralModel ref(in);
  const double literal = ref.E(1e9, 2.0, 20.0);
  EXPECT_EQ(ProgramE(in, 1e9, 2.0, 20.0), literal);
  EXPECT_TRUE(std::isfinite(literal));
  EXPECT_GT(literal, 0);
}

TEST(EvaluateE, DegenerateInputsGiveSpecialValuesWithoutStopping) {
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

TEST(ScaleJc0, StoresMagnitudeAndZeroOutsideTheSuperconductingRegion) {
  ModelWork p;
  p.EvalT = 19.5;  // T/Tc = 0.5
  p.EvalB = 1.0;
  p.Tcn = 1;
  p.Bcn = 0;
  p.Re_m = 2.0;
  ScaleJc0(p, 1e9);
  const double t = 1 - 0.25;
  EXPECT_DOUBLE_EQ(p.Jc0, 1e9 * t * t * (1 - 1.0 / (9.0 * t)));
  EXPECT_EQ(p.Jc0Im, 0.0);
  EXPECT_EQ(p.Jc0Abs, p.Jc0);

  p.EvalB = 9.0 * t;  // exactly Bc2(T)
  ScaleJc0(p, 1e9);
  EXPECT_EQ(p.Jc0, 0.0);
  EXPECT_EQ(p.Jc0Abs, 0.0);
  p.EvalB = 1.0;
  p.EvalT = 39.0;
  ScaleJc0(p, 1e9);
  EXPECT_EQ(p.Jc0Abs, 0.0);
}

std::vector<double> g_abscissae;
double RecordingIntegrand(ModelWork&, double x) {
  g_abscissae.push_back(x);
  return x * x;
}

TEST(IntegrateThreeEighths, CallsTheIntegrandInRuleOrderOncePerAbscissa) {
  ModelWork p;
  g_abscissae.clear();
  const double exact = IntegrateThreeEighths(p, RecordingIntegrand, 0.0, 3.0, 3);
  EXPECT_EQ(g_abscissae, (std::vector<double>{1.0, 2.0, 0.0, 3.0}));
  EXPECT_DOUBLE_EQ(exact, 9.0);  // exact for polynomials up to degree 3

  g_abscissae.clear();
  IntegrateThreeEighths(p, RecordingIntegrand, 0.0, 4.0, 4);
  EXPECT_EQ(g_abscissae, (std::vector<double>{1.0, 2.0, 0.0, 4.0}));

  g_abscissae.clear();
  IntegrateThreeEighths(p, RecordingIntegrand, 0.0, 6.0, 6);
  EXPECT_EQ(g_abscissae, (std::vector<double>{1.0, 2.0, 4.0, 5.0, 3.0, 0.0, 6.0}));

  // One evaluation = normalisation + field = 2 x (N + 1) calls.
  for (int n : {3, 30, 900}) {
    g_abscissae.clear();
    IntegrateThreeEighths(p, RecordingIntegrand, -1.0, 1.0, n);
    EXPECT_EQ(static_cast<int>(g_abscissae.size()), n + 1) << n;
  }
}

TEST(NormIntegrand, IntegratesToOneAfterNormalisation) {
  ModelWork p;
  p.EvalJ = 1e9;
  p.EvalB = 2.0;
  p.EvalT = 20.0;
  EvaluateE(p);
  const double xm = std::log10(p.Re_A_m), s = std::sqrt(p.Sigma_2);
  EXPECT_NEAR(IntegrateThreeEighths(p, NormIntegrand, xm - 10 * s, xm + 10 * s, 900), 1.0, 1e-12);
}

}  // namespace
}  // namespace zx
